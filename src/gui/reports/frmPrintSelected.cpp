#include "reports/frmPrintSelected.h"

#include "app/ProgramState.h"
#include "app/Publisher.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "reports/ReportBatch.h"
#include "reports/ReportPrinting.h"
#include "ui/Geometry.h"
#include "ui/ScreenKit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace tov::reports {

using platform::MessageBoxes;
using records::Field;

frmPrintSelected::frmPrintSelected(const app::Context& context, platform::Printer& printer,
                                   ExtraPages extra, QWidget* parent)
    : ui::ModalScreen(QStringLiteral("Print Selected Reports"), QStringLiteral("frAll"), parent),
      ctx_(context), printer_(printer), extra_(extra), list_(new QListWidget(mainFrame())) {
    setObjectName(QStringLiteral("frmPrintSelected"));
    list_->setObjectName(QStringLiteral("lbNameDisplay"));
    list_->setSelectionMode(QAbstractItemView::MultiSelection);
    QFont font(ReportFont);
    font.setStyleHint(QFont::TypeWriter);
    list_->setFont(font);
    list_->setMinimumSize(QFontMetrics(font).horizontalAdvance(QString(32, QLatin1Char('M'))),
                          ui::twips(3600));
    const auto& table = ctx_.state.clients();
    for (int n = 1; n <= table.ClientCount(); ++n) {
        list_->addItem(QStringLiteral("%1-%2").arg(n).arg(table.Clients(n).get(Field::Name)));
    }
    if (list_->count() > 0) {
        // The first line is current without being selected.
        list_->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    }

    ui::ScreenKit* k = kit();
    k->addField(list_, -1,
                QStringLiteral("Use the arrow keys to move, Space to select or clear a client. "
                               "Press Tab for the buttons."));
    QHBoxLayout* buttons = k->addMenuChoiceButtons(
        mainFrame(),
        {{QStringLiteral("Print Selected"),
          QStringLiteral("Press Enter to print the reports of the selected clients.")},
         {QStringLiteral("Select All"),
          QStringLiteral("Press Enter to select every client in the list.")},
         {QStringLiteral("Return to Main Menu"),
          QStringLiteral("Press Enter to return to the Main Menu.")}},
        2600);
    auto* layout = new QVBoxLayout(mainFrame());
    layout->setContentsMargins(ui::twips(360), ui::twips(300), ui::twips(360), ui::twips(300));
    layout->setSpacing(ui::twips(240));
    layout->addWidget(list_);
    layout->addLayout(buttons);
    setTabOrder(list_, k->cmdMenuChoice(ChoicePrint));
    setTabOrder(k->cmdMenuChoice(ChoicePrint), k->cmdMenuChoice(ChoiceSelectAll));
    setTabOrder(k->cmdMenuChoice(ChoiceSelectAll), k->cmdMenuChoice(ChoiceReturn));
    connect(k, &ui::ScreenKit::menuChoiceClicked, this, &frmPrintSelected::cmdMenuChoice_Click);
    connect(list_, &QListWidget::currentTextChanged, this, &frmPrintSelected::updatePrintChoice);
    updatePrintChoice();
    finishLayout();
}

void frmPrintSelected::Activate() {
    kit()->ResetMenuChoices();
    list_->setFocus(Qt::OtherFocusReason);
}

void frmPrintSelected::updatePrintChoice() {
    const QListWidgetItem* item = list_->currentItem();
    kit()->cmdMenuChoice(ChoicePrint)->setEnabled(item != nullptr && !item->text().isEmpty());
}

void frmPrintSelected::cmdMenuChoice_Click(int index) {
    switch (index) {
    case ChoicePrint:
        printSelected();
        closeScreen();
        break;
    case ChoiceSelectAll:
        list_->selectAll();
        break;
    default:
        closeScreen();
        break;
    }
}

void frmPrintSelected::printSelected() {
    auto& table = ctx_.state.clients();
    ReportBatch batch(ctx_.state.programFolder(), ctx_.state.content(),
                      app::PublisherTexts::of(ctx_.state.settings().publisher()), extra_);
    try {
        // The copies are numbered in the order the clients are printed.
        int copies = 0;
        for (int row = 0; row < list_->count(); ++row) {
            if (!list_->item(row)->isSelected()) {
                continue;
            }
            list_->setCurrentRow(row, QItemSelectionModel::NoUpdate);
            const int record = row + 1;
            table.setCurrentClient(record);
            batch.add(table.current(), record, ++copies);
        }
        const ui::Hourglass busy;
        batch.print(printer_);
    } catch (const AppError& e) {
        ctx_.platform.boxes->show(e.description(), MessageBoxes::Buttons::Ok,
                                  MessageBoxes::Icon::Error,
                                  QStringLiteral("Print Selected Reports"));
    }
}

} // namespace tov::reports
