#include "testing/frmSelectLanguage.h"

#include "app/ProgramState.h"
#include "app/QuestionBank.h"
#include "testing/LanguageTables.h"
#include "ui/Geometry.h"
#include "ui/Headings.h"
#include "ui/MenuChoice.h"
#include "ui/ScreenKit.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tov::testing {

frmSelectLanguage::frmSelectLanguage(const app::Context& context, QWidget* parent)
    : ui::ModalScreen(QStringLiteral("Select Presentation Language"),
                      QStringLiteral("fraSelectMethod"), parent),
      ctx_(context) {
    setObjectName(QStringLiteral("frmSelectLanguage"));
    ui::ScreenKit* k = kit();
    QFrame* frame = mainFrame();

    QLabel* title = ui::frameCaption(QStringLiteral("Select Language to Present"), frame);

    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(ui::twips(600), ui::twips(360), ui::twips(600), ui::twips(480));
    layout->setSpacing(ui::twips(240));
    layout->addWidget(title);
    for (const QString& caption :
         {QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three"),
          QStringLiteral("Cancel Presentation")}) {
        const bool cancel = caption == QLatin1String("Cancel Presentation");
        ui::MenuChoice* c =
            k->addMenuChoice(caption, cancel ? QStringLiteral("Cancel presentation") : QString());
        c->setParent(frame);
        c->setFixedWidth(ui::twips(3600));
        layout->addWidget(c, 0, Qt::AlignHCenter);
        if (!cancel) {
            c->hide();
        }
    }
    connect(k, &ui::ScreenKit::menuChoiceFocused, this, [this](int index) {
        if (index < LanguageButtons) {
            kit()->setHelp(QStringLiteral("Present in ") + kit()->cmdMenuChoice(index)->text());
        }
    });
    connect(k, &ui::ScreenKit::menuChoiceClicked, this, &frmSelectLanguage::cmdMenuChoice_Click);
    finishLayout();
}

int frmSelectLanguage::LanguageCount() {
    const std::unique_ptr<app::Database> bank =
        ctx_.state.workspace().OpenDatabase(ctx_.state.QuestionBankPath());
    const QStringList languages = PresentationLanguages(bank->TableDefs());
    int count = 0;
    for (const QString& language : languages) {
        if (count >= LanguageButtons) {
            break;
        }
        kit()->cmdMenuChoice(count)->setText(language);
        kit()->sspMenuChoice(count)->show();
        ++count;
    }
    finishLayout();
    return count;
}

void frmSelectLanguage::Activate() {
    kit()->cmdMenuChoice(0)->setFocus(Qt::OtherFocusReason);
}

void frmSelectLanguage::cmdMenuChoice_Click(int index) {
    if (index < LanguageButtons) {
        language_ = kit()->cmdMenuChoice(index)->text();
        setProceedToNext(true);
    } else {
        language_.clear();
        setProceedToNext(false);
    }
    hide();
    closeScreen();
}

} // namespace tov::testing
