#pragma once

#include "app/Context.h"
#include "platform/Printer.h"
#include "reports/ReportWriter.h"
#include "ui/ModalScreen.h"

#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QRadioButton;
class QTabWidget;

namespace tov::supervisor {

// Supervisor Operations: printing reports behind the access code, data verification, delete
// names and changing the access code, one tab each.
class frmSupervisorOptions : public ui::ModalScreen {
    Q_OBJECT
public:
    enum Choice { ChoiceExecute = 0, ChoiceMainMenu = 1 };
    enum Tab { TabReports = 0, TabVerify = 1, TabDeleteNames = 2, TabAccessCode = 3 };
    enum PrintOption { PrintCurrent = 0, PrintSelected = 1, PrintAll = 2 };

    frmSupervisorOptions(const app::Context& context, platform::Printer& printer,
                         QWidget* parent = nullptr);

    QTabWidget* sstSupervisorOperations() const { return tabs_; }
    QRadioButton* optPrintOption(int index) const { return options_.at(index); }
    QCheckBox* chkSumPage() const { return chkSumPage_; }
    QCheckBox* chkClientPage() const { return chkClientPage_; }
    QLabel* lblNameDisplay() const { return lblNameDisplay_; }

    // What the report writer adds after the full report, as ticked.
    reports::ExtraPages extraPages() const;
    // Scores every client into its numbered copy, then prints the copies in record order; record 1
    // is current afterwards.
    void PrintAllReports();

protected:
    void Activate() override;

private:
    void tabChanged(int tab);
    void cmdMenuChoice_Click(int index);
    void execute();
    void databaseEmpty(const QString& title);
    void showCurrentName();

    app::Context ctx_;
    platform::Printer& printer_;
    QTabWidget* tabs_;
    std::array<QRadioButton*, 3> options_{};
    QCheckBox* chkSumPage_;
    QCheckBox* chkClientPage_;
    QGroupBox* frCurrentClient_;
    QLabel* lblNameDisplay_;
    int printOption_ = PrintCurrent;
    bool emptyVolume_ = false;
    bool activated_ = false;
};

} // namespace tov::supervisor
