#include "supervisor/frmVerify.h"

#include "app/DataDrive.h"
#include "app/ProgramState.h"
#include "app/SaveClient.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "ui/Geometry.h"
#include "ui/MenuChoice.h"
#include "ui/ScreenKit.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tov::supervisor {

using platform::MessageBoxes;
using records::Field;

namespace {

QString entryHelp() {
    return QStringLiteral("Enter response data from answer sheet. ") +
           QStringLiteral("Press Backspace for previous question.");
}

QGroupBox* questionFrame(const QString& title, QLabel* label, QLineEdit* box, QWidget* parent) {
    auto* frame = new QGroupBox(title, parent);
    auto* row = new QHBoxLayout(frame);
    label->setParent(frame);
    box->setParent(frame);
    box->setMaxLength(1);
    box->setFixedWidth(ui::twips(600));
    row->addWidget(label);
    row->addWidget(box);
    row->addStretch();
    return frame;
}

} // namespace

frmVerify::frmVerify(const app::Context& context, QWidget* parent)
    : ui::ModalScreen(QStringLiteral("Test Data Input Verification"), QStringLiteral("frAll"),
                      parent),
      ctx_(context), lblCur_(new QLabel), txtCur_(new QLineEdit), frPrev_(nullptr),
      lblPrev_(new QLabel), txtPrev_(new QLineEdit) {
    setObjectName(QStringLiteral("frmVerify"));
    lblCur_->setObjectName(QStringLiteral("lblCurQuestion"));
    txtCur_->setObjectName(QStringLiteral("txtCurQuestion"));
    lblPrev_->setObjectName(QStringLiteral("lblPrevQuestion"));
    txtPrev_->setObjectName(QStringLiteral("txtPrevQuestion"));
    txtPrev_->setReadOnly(true);
    txtPrev_->setFocusPolicy(Qt::NoFocus);

    auto* title = new QGroupBox(QStringLiteral("Data Verification"), mainFrame());
    auto* current = questionFrame(QStringLiteral("Current Question"), lblCur_, txtCur_, title);
    frPrev_ = questionFrame(QStringLiteral("Previous Question"), lblPrev_, txtPrev_, title);
    frPrev_->setObjectName(QStringLiteral("frPrevQuestion"));

    ui::ScreenKit* k = kit();
    k->addField(txtCur_, -1, entryHelp());
    ui::MenuChoice* cancel = k->addMenuChoice(
        QStringLiteral("Cancel"), QStringLiteral("Press Enter to Cancel Data Verification ") +
                                      QStringLiteral("and return to Main Menu"));
    cancel->setParent(mainFrame());
    cancel->setFixedWidth(ui::twips(2600));
    cancel->button()->setObjectName(QStringLiteral("cmdCancel"));

    auto* inner = new QVBoxLayout(title);
    inner->addWidget(current);
    inner->addWidget(frPrev_);
    auto* layout = new QVBoxLayout(mainFrame());
    layout->setContentsMargins(ui::twips(360), ui::twips(300), ui::twips(360), ui::twips(300));
    layout->setSpacing(ui::twips(240));
    layout->addWidget(title);
    layout->addWidget(cancel, 0, Qt::AlignHCenter);
    setTabOrder(txtCur_, k->cmdMenuChoice(ChoiceCancel));
    txtCur_->installEventFilter(this);
    connect(k, &ui::ScreenKit::menuChoiceClicked, this, [this](int) { closeScreen(); });

    // The stored answers, trimmed as they are written back.
    records::ClientRecord& r = ctx_.state.clients().current();
    stored_ = r.trimmed(Field::Responses);
    r.set(Field::Responses, stored_);
    entry_ = QString(records::kItemCount, QLatin1Char('0'));
    for (int n = 1; n <= records::kItemCount; ++n) {
        list_ << n;
    }
    finishLayout();
}

void frmVerify::Activate() {
    kit()->ResetMenuChoices();
    showPosition();
    txtCur_->setFocus(Qt::OtherFocusReason);
    kit()->setHelp(entryHelp());
}

void frmVerify::showPosition() {
    lblCur_->setText(QStringLiteral("Question # %1").arg(currentItem()));
    txtCur_->clear();
    frPrev_->setVisible(position_ > 1);
    if (position_ > 1) {
        const int previous = list_.at(position_ - 2);
        lblPrev_->setText(QStringLiteral("Question # %1").arg(previous));
        txtPrev_->setText(entry_.at(previous - 1));
    }
}

bool frmVerify::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtCur_ && event->type() == QEvent::KeyPress && !finished_) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            return ui::ModalScreen::eventFilter(watched, event);
        }
        if (key->key() == Qt::Key_Backspace) {
            back();
            return true;
        }
        const QString text = key->text();
        if (text.size() == 1 && text.at(0).isPrint()) {
            answer(text.at(0));
        } else if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            ctx_.platform.boxes->beep();
        } else {
            return ui::ModalScreen::eventFilter(watched, event);
        }
        return true;
    }
    return ui::ModalScreen::eventFilter(watched, event);
}

void frmVerify::back() {
    if (position_ <= 1) {
        return;
    }
    --position_;
    showPosition();
    txtCur_->setText(entry_.at(currentItem() - 1));
    txtCur_->selectAll();
}

void frmVerify::answer(QChar digit) {
    const int item = currentItem();
    const QChar highest = item <= ctx_.state.SectionEnd()[1] ? QLatin1Char('2') : QLatin1Char('4');
    if (digit < QLatin1Char('0') || digit > highest) {
        ctx_.platform.boxes->beep();
        return;
    }
    entry_[item - 1] = digit;
    ++position_;
    if (position_ > list_.size()) {
        endOfPass();
        return;
    }
    showPosition();
}

void frmVerify::endOfPass() {
    if (correcting_) {
        ctx_.state.clients().current().set(Field::Responses, entry_);
        store(QStringLiteral("Data Verification complete."), QString());
        return;
    }
    QList<int> differing;
    for (int n = 1; n <= records::kItemCount; ++n) {
        const QChar was = n <= stored_.size() ? stored_.at(n - 1) : QLatin1Char(' ');
        if (entry_.at(n - 1) != was) {
            differing << n;
        }
    }
    if (differing.isEmpty()) {
        store(QStringLiteral("Data Verification complete. No corrections needed."),
              QStringLiteral("Data Verification."));
        return;
    }
    ctx_.platform.boxes->show(
        QStringLiteral("Data Correction needed. Please correct the following questions."),
        MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Information,
        QStringLiteral("Data Corrections"));
    correcting_ = true;
    list_ = differing;
    position_ = 1;
    showPosition();
    txtCur_->setFocus(Qt::OtherFocusReason);
}

void frmVerify::store(const QString& message, const QString& title) {
    finished_ = true;
    ctx_.platform.boxes->show(message, MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Information,
                              title);
    auto& table = ctx_.state.clients();
    // What the file holds, which memory keeps when nothing can be written.
    records::ClientRecord before = table.current();
    before.set(Field::Responses, stored_);
    if (!ctx_.drive.CheckDataDisk()) {
        table.current() = before;
    } else if (app::saveCurrentClient(table, before, *ctx_.platform.boxes)) {
        setProceedToNext(true);
    }
    closeScreen();
}

} // namespace tov::supervisor
