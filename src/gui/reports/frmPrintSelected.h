#pragma once

#include "app/Context.h"
#include "platform/Printer.h"
#include "reports/ReportWriter.h"
#include "ui/ModalScreen.h"

class QListWidget;

namespace tov::reports {

// Picks clients from the list and prints their reports, in list order.
class frmPrintSelected : public ui::ModalScreen {
    Q_OBJECT
public:
    enum Choice { ChoicePrint = 0, ChoiceSelectAll = 1, ChoiceReturn = 2 };

    frmPrintSelected(const app::Context& context, platform::Printer& printer, ExtraPages extra,
                     QWidget* parent = nullptr);

    QListWidget* lbNameDisplay() const { return list_; }

protected:
    void Activate() override;

private:
    void cmdMenuChoice_Click(int index);
    void updatePrintChoice();
    void printSelected();

    app::Context ctx_;
    platform::Printer& printer_;
    ExtraPages extra_;
    QListWidget* list_;
};

} // namespace tov::reports
