#include "app/Program.h"

#include "app/Leftovers.h"
#include "app/StartUp.h"
#include "app/frmDriveSelect.h"
#include "entry/frmNewEntry.h"
#include "intake/EditSequence.h"
#include "scan/ScanProcedure.h"
#include "supervisor/SupervisorOptions.h"
#include "testing/AddNewClient.h"

#include <QApplication>

namespace tov::app {

Program::Program(const QString& programFolder, platform::Platform platform,
                 content::ContentPlaces content)
    : platform_(std::move(platform)), content_(std::move(content)),
      state_(std::make_unique<ProgramState>(programFolder, *platform_.fs)) {
    if (content_.programFolder.isEmpty()) {
        content_.programFolder = programFolder;
    }
    drive_ = std::make_unique<DataDrive>(
        *state_, DataDrive::Services{*platform_.fs, *platform_.volumes, *platform_.boxes,
                                     *platform_.lock, [this] { return chooseDrive(); },
                                     [this] { menu_->RefreshNameDisplay(); }});
    menu_ = std::make_unique<ui::frmMainMenu>(*state_, platform_, *drive_);
    ui::frmMainMenu::Sequences sequences;
    sequences.EditCurrentClient = [this] { intake::RunEditCurrentClient(context(), menu_.get()); };
    sequences.AddNewClient = [this] {
        testing::EntryMethods methods;
        // Paper and pencil: the answers keyed into the grid after the two intake screens.
        methods.AnswerGrid = [this] {
            entry::frmNewEntry grid(context(), intake::ClientMode::NewClient, menu_.get());
            grid.exec();
        };
        // Scan: the sheet read, then the same three screens filled with what was read.
        methods.ScanProcedure = [this] { scan::ScanProcedure(context(), menu_.get()).run(); };
        testing::RunAddNewClient(context(), menu_.get(), methods);
    };
    sequences.SupervisorOptions = [this] {
        supervisor::RunSupervisorOptions(context(), *platform_.printer, menu_.get());
    };
    menu_->setSequences(std::move(sequences));
    menu_->setStartUp(
        [this] { return StartUp(*state_, platform_, *drive_, *menu_, content_).run(); });
    state_->setEndProgram([this] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            w->hide();
        }
        QCoreApplication::exit(0);
    });
    // Asked to end by the host (a logout, a shutdown, a kill): as Exit does, with the screens'
    // work cancelled on the way out.
    if (platform_.endRequests) {
        platform_.endRequests->onEndRequested([this] {
            if (!state_->ending()) {
                state_->endProgram();
            }
        });
    }
}

Program::~Program() = default;

QString Program::chooseDrive() {
    // Before any folder is accepted, the one in the settings is the current drive.
    const QString current = state_->DataPath().isEmpty()
                                ? state_->settings().resolve(state_->settings().FilePath())
                                : state_->DataPath();
    frmDriveSelect dialog(platform_.drives->drives(), current, *platform_.boxes,
                          menu_->isVisible() ? menu_.get() : nullptr);
    dialog.exec();
    return dialog.NewDrive();
}

bool Program::start() {
    return menu_->Form_Load();
}

int Program::run() {
    if (!start() || state_->ending()) {
        return 0;
    }
    const int status = QApplication::exec();
    // Every screen has closed and cleaned up after itself; this catches what an ending in the
    // middle of a piece of work could not.
    RemoveConfidentialLeftovers(state_->settings());
    return status;
}

} // namespace tov::app
