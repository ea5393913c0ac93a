#pragma once

#include "platform/WavePlayer.h"

#include <memory>

class QAudioOutput;
class QMediaPlayer;

namespace tov::platform {

// Wave prompts through Qt Multimedia. Without an audio output the device counts as unusable,
// and nothing multimedia is created at all: a media player with no device to play into only
// pretends to play.
class QtWavePlayer final : public WavePlayer {
public:
    QtWavePlayer();
    ~QtWavePlayer() override;

    void setDeviceType(const QString& type) override;
    int error() const override { return error_; }
    void open(const QString& path) override;
    void play() override;
    void close() override;

    // Where the prompt playing has got to, in milliseconds; 0 when none is.
    qint64 position() const;
    bool isPlaying() const;

private:
    int error_ = 0;
    bool usable_ = false;
    std::unique_ptr<QAudioOutput> output_;
    std::unique_ptr<QMediaPlayer> player_;
};

} // namespace tov::platform
