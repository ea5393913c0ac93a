#pragma once

#include "app/QuestionBank.h"
#include "app/Settings.h"
#include "content/ContentSet.h"
#include "records/ClientTable.h"
#include "records/ItemCounts.h"

#include <QString>

#include <array>
#include <functional>
#include <utility>

namespace tov::platform {
class FileSystem;
}

namespace tov::app {

// The program-wide values every screen shares: the settings, the client table, the edit mode and
// the paths set at start-up. One exists per run and is handed to each screen; what a screen
// decides it reports itself (its ProceedToNext), not through here.
class ProgramState {
public:
    ProgramState(const QString& programFolder, platform::FileSystem& fs)
        : settings_(programFolder),
          clients_(fs), content_{programFolder, content::ContentKind::ProgramFolder, {}} {}

    static inline const QString AppTitle = QStringLiteral("Tovaline II - Short Form");

    Settings& settings() { return settings_; }
    const Settings& settings() const { return settings_; }
    records::ClientTable& clients() { return clients_; }
    const records::ClientTable& clients() const { return clients_; }
    const QString& programFolder() const { return settings_.programFolder(); }

    // The data volume's folder, its identity when it was opened, and where the question bank and
    // the spoken prompts are.
    const QString& DataPath() const { return dataPath_; }
    void setDataPath(const QString& path) { dataPath_ = path; }
    const QString& StartupDiskId() const { return startupDiskId_; }
    void setStartupDiskId(const QString& id) { startupDiskId_ = id; }
    const QString& QuestionBankPath() const { return questionBankPath_; }
    void setQuestionBankPath(const QString& path) { questionBankPath_ = path; }
    const QString& SoundPath() const { return soundPath_; }
    void setSoundPath(const QString& path) { soundPath_ = path; }

    bool NumLockOn() const { return numLockOn_; }
    void setNumLockOn(bool on) { numLockOn_ = on; }

    DbEngine& engine() { return engine_; }
    Workspace& workspace() { return workspace_; }
    void setWorkspace(Workspace workspace) { workspace_ = std::move(workspace); }

    // Last item of each section: 0, 67 (true/false items), 73 (multiple choice).
    const std::array<int, 3>& SectionEnd() const { return sectionEnd_; }
    void setSectionEnd(const std::array<int, 3>& ends) { sectionEnd_ = ends; }

    // Wrong access codes in a row, and when (on the platform's clock) the next try may be made.
    int WrongAccessCodes() const { return wrongAccessCodes_; }
    void setWrongAccessCodes(int count) { wrongAccessCodes_ = count; }
    qint64 AccessCodeAllowedAt() const { return accessCodeAllowedAt_; }
    void setAccessCodeAllowedAt(qint64 ms) { accessCodeAllowedAt_ = ms; }

    // The content set in force: the question bank, the tables, the texts and the spoken prompts
    // come from it (the program folder's own files until start-up has found the set).
    const content::ContentSet& content() const { return content_; }
    void setContent(content::ContentSet set) { content_ = std::move(set); }

    // Ends the run: every screen closes and nothing more is written.
    void setEndProgram(std::function<void()> end) { endProgram_ = std::move(end); }
    const std::function<void()>& EndProgram() const { return endProgram_; }
    bool ending() const { return ending_; }
    void endProgram() {
        ending_ = true;
        if (endProgram_) {
            endProgram_();
        }
    }

private:
    Settings settings_;
    records::ClientTable clients_;
    QString dataPath_;
    QString startupDiskId_;
    QString questionBankPath_;
    QString soundPath_;
    bool numLockOn_ = true;
    DbEngine engine_;
    Workspace workspace_;
    std::array<int, 3> sectionEnd_{0, records::kTrueFalseItems, records::kItemCount};
    content::ContentSet content_;
    int wrongAccessCodes_ = 0;
    qint64 accessCodeAllowedAt_ = 0;
    std::function<void()> endProgram_;
    bool ending_ = false;
};

} // namespace tov::app
