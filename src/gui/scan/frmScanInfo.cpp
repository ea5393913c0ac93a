#include "scan/frmScanInfo.h"

#include "app/ProgramState.h"
#include "platform/Platform.h"
#include "records/Cp1252.h"
#include "ui/Geometry.h"
#include "ui/ScreenKit.h"
#include "ui/StorableText.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tov::scan {

using platform::MessageBoxes;

frmScanInfo::frmScanInfo(const app::Context& context, QWidget* parent)
    : ui::ModalScreen(QStringLiteral("Scan Information"), QStringLiteral("frScanInfo"), parent),
      ctx_(context) {
    setObjectName(QStringLiteral("frmScanInfo"));
    ui::ScreenKit* k = kit();
    QFrame* frame = mainFrame();

    k->addLabel(QStringLiteral("Client Name:"), frame);
    k->addLabel(QStringLiteral("Driver's License Number:"), frame);
    txtName = new QLineEdit(frame);
    txtName->setObjectName(QStringLiteral("txtName"));
    txtName->setMaxLength(25);
    txtDLNumber = new QLineEdit(frame);
    txtDLNumber->setObjectName(QStringLiteral("txtDLNumber"));
    txtDLNumber->setMaxLength(14);
    // Both go into the client file, which stores "?" for a letter it lacks.
    for (QLineEdit* e : {txtName, txtDLNumber}) {
        ui::KeepStorable(
            e, [this, e](const QString& letter) { refuse(e, ui::UnstorableText(letter)); });
    }

    k->addField(txtName, 0,
                QStringLiteral("Type client's name (up to 25 characters) or N for not available, "
                               "then press Enter."),
                [this] {
                    return required(txtName, QStringLiteral("Enter client's name. Press Enter to "
                                                            "continue.")) &&
                           storable(txtName);
                });
    k->addField(txtDLNumber, 1,
                QStringLiteral("Type client's driver's license number or N for not available, "
                               "then press Enter."),
                [this] {
                    return required(txtDLNumber,
                                    QStringLiteral("Enter client's driver's license number. Press "
                                                   "Enter to continue.")) &&
                           storable(txtDLNumber);
                });
    // Tab checks the field as Enter does.
    k->setCheckOnTab(true);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(ui::twips(240));
    grid->setVerticalSpacing(ui::twips(240));
    grid->addWidget(k->lblInfo(0), 0, 0, Qt::AlignRight);
    grid->addWidget(txtName, 0, 1);
    grid->addWidget(k->lblInfo(1), 1, 0, Qt::AlignRight);
    grid->addWidget(txtDLNumber, 1, 1);
    txtName->setMinimumWidth(ui::twips(4200));
    txtDLNumber->setMinimumWidth(ui::twips(4200));

    QHBoxLayout* buttons = k->addMenuChoiceRow(
        frame,
        {{QStringLiteral("Information OK"),
          QStringLiteral("If information is correct press Enter or press Tab to change an "
                         "entry.")},
         {QStringLiteral("Cancel Input"),
          QStringLiteral("Cancel information input and return to Main Menu.")}},
        2800);
    k->setNextAfter(txtDLNumber, k->cmdMenuChoice(ChoiceOK));

    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(ui::twips(480), ui::twips(480), ui::twips(480), ui::twips(480));
    layout->setSpacing(ui::twips(480));
    layout->addLayout(grid);
    layout->addLayout(buttons);

    setTabOrder(txtName, txtDLNumber);
    setTabOrder(txtDLNumber, k->cmdMenuChoice(ChoiceOK));
    setTabOrder(k->cmdMenuChoice(ChoiceOK), k->cmdMenuChoice(ChoiceCancel));

    connect(k, &ui::ScreenKit::menuChoiceClicked, this, &frmScanInfo::cmdMenuChoice_Click);
    finishLayout();
    setWindowState(windowState() | Qt::WindowMaximized);
}

void frmScanInfo::Activate() {
    txtName->setFocus(Qt::OtherFocusReason);
}

bool frmScanInfo::storable(QLineEdit* field) {
    const QString letter = records::FirstUnstorable(field->text());
    return letter.isEmpty() || refuse(field, ui::UnstorableText(letter));
}

bool frmScanInfo::required(QLineEdit* field, const QString& message) {
    return !field->text().isEmpty() || refuse(field, message);
}

bool frmScanInfo::refuse(QLineEdit* field, const QString& message) {
    ctx_.platform.boxes->beep();
    ctx_.platform.boxes->show(message, MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Error,
                              QString());
    field->setFocus(Qt::OtherFocusReason);
    return false;
}

void frmScanInfo::cmdMenuChoice_Click(int index) {
    setProceedToNext(index == ChoiceOK);
    closeScreen();
}

} // namespace tov::scan
