#pragma once

#include "app/Context.h"
#include "platform/Printer.h"
#include "reports/ReportWriter.h"
#include "ui/ModalScreen.h"

#include <functional>

class QPlainTextEdit;

namespace tov::reports {

// The current client's report on screen, scored afresh each time the viewer opens, with printing
// and saving as PDF.
class frmViewReport : public ui::ModalScreen {
    Q_OBJECT
public:
    enum Choice { ChoicePrint = 0, ChoicePdf = 1, ChoiceClose = 2 };

    frmViewReport(const app::Context& context, platform::Printer& printer, ExtraPages extra,
                  QWidget* parent = nullptr);
    // report.prn and REPORT.SCR go with the viewer: a later view or print scores again.
    ~frmViewReport() override;

    // Asks where the PDF goes; empty when the operator changed their mind.
    std::function<QString()> askPdfPath;

    QPlainTextEdit* Text1() const { return text1_; }
    bool reportShown() const { return shown_; }

protected:
    void Activate() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void cmdMenuChoice_Click(int index);
    void showError(const QString& what);

    app::Context ctx_;
    platform::Printer& printer_;
    ExtraPages extra_;
    QPlainTextEdit* text1_;
    bool activated_ = false;
    bool shown_ = false;
};

} // namespace tov::reports
