#pragma once

#include "app/QuestionBank.h"
#include "app/Settings.h"
#include "records/ClientTable.h"
#include "records/ItemCounts.h"

#include <QString>

#include <array>
#include <functional>

namespace tov::platform {
class FileSystem;
}

namespace tov::app {

// The program-wide values every screen shares: the client table, the mode flags and the paths
// set at start-up. One exists per run and is handed to each screen.
struct ProgramState {
    ProgramState(const QString& programFolder, platform::FileSystem& fs)
        : settings(programFolder), clients(fs) {}

    static inline const QString AppTitle = QStringLiteral("Tovaline II - Short Form");

    Settings settings;
    records::ClientTable clients;

    // True while an existing client is edited, false while a new client is entered.
    bool EditMode = false;

    QString DataPath;
    QString StartupDiskId;
    QString QuestionBankPath;
    QString SoundPath;
    bool NumLockOn = true;
    DbEngine engine;
    Workspace workspace;
    // Last item of each section: 0, 67 (true/false items), 73 (multiple choice).
    std::array<int, 3> SectionEnd{0, records::kTrueFalseItems, records::kItemCount};

    // Wrong access codes in a row, and when (on the platform's clock) the next try may be made.
    int WrongAccessCodes = 0;
    qint64 AccessCodeAllowedAt = 0;

    // Ends the run: every screen closes and nothing more is written.
    std::function<void()> EndProgram;
    bool ending = false;
    void endProgram() {
        ending = true;
        if (EndProgram) {
            EndProgram();
        }
    }

    const QString& programFolder() const { return settings.programFolder(); }
};

} // namespace tov::app
