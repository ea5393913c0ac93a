#pragma once

#include <QString>

namespace tov::platform {
class FileSystem;
class MessageBoxes;
class WavePlayer;
} // namespace tov::platform

namespace tov::testing {

// The spoken prompts of the presentation: finds a prompt's wave file in the sound folder of the
// test's language, plays it without holding up the screen, cuts off the one before, and stays
// silent when a file or the device is missing.
class PromptPlayer {
public:
    // The player may be absent: the prompts are then silent.
    PromptPlayer(platform::WavePlayer* player, platform::FileSystem& fs,
                 platform::MessageBoxes& boxes);

    // SoundPath/TOV2SF/Sound/<language>/: each language has its own folder, named like its table.
    static QString soundFolder(const QString& soundPath, const QString& language);
    void setFolder(const QString& folder) { folder_ = folder; }
    const QString& folder() const { return folder_; }

    // Sets the device up; an unusable one turns the prompts off for good, without a message.
    void InitSound();
    // Stops what is playing and starts the named prompt (a file name without folder).
    void PlayPrompt(const QString& name);
    void StopPrompt();

    bool SoundOn() const { return soundOn_; }

private:
    static bool givenUpSilently(int errorNumber);

    platform::WavePlayer* player_;
    platform::FileSystem& fs_;
    platform::MessageBoxes& boxes_;
    QString folder_;
    bool soundOn_ = true;
};

} // namespace tov::testing
