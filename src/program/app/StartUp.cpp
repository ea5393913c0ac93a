#include "app/StartUp.h"

#include "app/Context.h"
#include "app/DataDrive.h"
#include "app/Leftovers.h"
#include "app/ProgramState.h"
#include "app/frmAbout.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "records/ItemCounts.h"
#include "supervisor/AccessCodePrompt.h"
#include "ui/Geometry.h"
#include "ui/frmMainMenu.h"

#include <QApplication>
#include <QEventLoop>
#include <QListWidget>

namespace tov::app {

using platform::MessageBoxes;

StartUp::StartUp(ProgramState& state, platform::Platform& platform, DataDrive& drive,
                 ui::frmMainMenu& menu, content::ContentPlaces content)
    : state_(state), platform_(platform), drive_(drive), menu_(menu), content_(std::move(content)) {
    if (content_.programFolder.isEmpty()) {
        content_.programFolder = state_.programFolder();
    }
}

bool StartUp::run() {
    // A second copy hands over to the first and touches nothing.
    if (platform_.instance->otherCopyRunning()) {
        platform_.instance->restoreOtherCopy(ProgramState::AppTitle);
        return false;
    }
    const Context context{state_, platform_, drive_};
    // A first start the evaluator gives up before the agency's access code is set leaves the
    // settings as they were.
    const bool codeToBeSet = supervisor::AccessCodeToBeSet(context);
    const QByteArray settingsBefore = codeToBeSet ? state_.settings().snapshot() : QByteArray();
    // Reports and scans an earlier run could not clean up, once it is sure no run is using them.
    RemoveConfidentialLeftovers(state_.settings());
    // The menu outlives this start-up object; the request may come at any time later.
    platform_.instance->onRestoreRequested([&menu = menu_] {
        menu.setWindowState((menu.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
        menu.show();
        menu.raise();
        menu.activateWindow();
    });

    if (!findContent() || !setUpEngine()) {
        return false;
    }
    state_.setSoundPath(state_.settings().resolve(state_.settings().GetINISndPath()));
    supervisor::ResumeAccessCodeWait(context);

    bool accepted = false;
    if (!attempt([&] { accepted = drive_.SelectDataDrive(true); }) || !accepted) {
        return false;
    }
    menu_.ListRefreshAllowed = true;

    menu_.hide();
    frmAbout splash(state_.settings().publisher(), state_.content());
    splash.setSplash(true);
    splash.show();
    while (!splash.FadeDone() && !state_.ending()) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }

    if (!attempt([&] { state_.setStartupDiskId(drive_.ReadDiskIdentity()); })) {
        return false;
    }
    splash.close();
    if (codeToBeSet && !supervisor::SetFirstAccessCode(context)) {
        try {
            if (!settingsBefore.isEmpty()) {
                state_.settings().restore(settingsBefore);
            }
        } catch (const AppError& e) {
            showError(e.number(), e.description());
        }
        state_.endProgram();
        return false;
    }
    menu_.show();
    ui::CenterForm(&menu_);
    menu_.Activate();
    state_.setNumLockOn(state_.settings().NumLock());
    menu_.setNumLockChecked(state_.NumLockOn());
    state_.setSectionEnd({0, records::kTrueFalseItems, records::kItemCount});
    // First focus on the client list; with no clients it passes on to "Add New Client".
    menu_.activateWindow();
    menu_.lbNameDisplay()->setFocus(Qt::OtherFocusReason);
    return !state_.ending();
}

bool StartUp::findContent() {
    // Nothing is given or scored with a set whose files are not what was installed.
    try {
        state_.setContent(content::FindContentSet(content_));
    } catch (const AppError& e) {
        showError(e.number(), e.description());
        state_.endProgram();
        return false;
    }
    return true;
}

bool StartUp::setUpEngine() {
    const content::ContentSet& set = state_.content();
    state_.setQuestionBankPath(set.filePath(QStringLiteral("TOV2SF.MDB")));
    state_.engine().setDefaults(QString::fromLatin1(DefaultUser),
                                QString::fromLatin1(DefaultPassword));
    state_.engine().setIniPath(state_.settings().path());
    try {
        state_.settings().setSystemDB(set.filePath(QStringLiteral("zevltd.mda")));
        state_.setWorkspace(Workspace::open(state_.engine(), QStringLiteral("admin"), QString()));
    } catch (const AppError& e) {
        showError(e.number(), e.description());
        state_.endProgram();
        return false;
    }
    return true;
}

void StartUp::showError(int number, const QString& description) {
    platform::showAppError(*platform_.boxes, AppError(number, description));
}

bool StartUp::attempt(const std::function<void()>& step) {
    for (;;) {
        try {
            step();
            return !state_.ending();
        } catch (const AppError& e) {
            QString text;
            switch (e.number()) {
            case err::BadFileName:
            case err::FileNotFound:
            case err::DeviceIo:
            case err::DriveNotReady:
            case err::DbFileNotFound:
            case err::DbInvalidPath:
            case err::DbCannotOpen:
                text = QStringLiteral("Data diskette not found!\r\rInsert data diskette in drive A "
                                      "to continue.");
                break;
            case err::PermissionDenied:
                text = DataDrive::writeProtectedText();
                break;
            default:
                // Never end without saying why.
                showError(e.number(), e.description());
                state_.endProgram();
                return false;
            }
            if (platform_.boxes->show(
                    text, MessageBoxes::Buttons::OkCancel, MessageBoxes::Icon::Error,
                    QStringLiteral("Data Disk Error")) != MessageBoxes::Answer::Ok) {
                state_.endProgram();
                return false;
            }
        }
    }
}

} // namespace tov::app
