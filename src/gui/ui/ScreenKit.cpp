#include "ui/ScreenKit.h"

#include "ui/Geometry.h"
#include "ui/MenuChoice.h"
#include "ui/MessagePanel.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tov::ui {

ScreenKit::ScreenKit(QWidget* screen, MessagePanel* msgPanel)
    : QObject(screen), screen_(screen), msgPanel_(msgPanel) {}

MenuChoice* ScreenKit::addMenuChoice(const QString& caption, const QString& help) {
    const int index = static_cast<int>(choices_.size());
    auto* choice = new MenuChoice(caption, index, screen_);
    choices_.append(choice);
    choiceHelp_.append(help);
    choice->button()->installEventFilter(this);
    connect(choice->button(), &QPushButton::clicked, this,
            [this, index] { emit menuChoiceClicked(index); });
    return choice;
}

QHBoxLayout* ScreenKit::addMenuChoiceButtons(QWidget* frame,
                                             const QList<std::pair<QString, QString>>& choices,
                                             int widthTwips) {
    auto* row = new QHBoxLayout;
    row->setSpacing(twips(240));
    for (const auto& [caption, help] : choices) {
        MenuChoice* c = addMenuChoice(caption, help);
        c->setParent(frame);
        c->setFixedWidth(twips(widthTwips));
        row->addWidget(c);
        c->setVisible(caption != QLatin1String("CHECK"));
    }
    return row;
}

QHBoxLayout* ScreenKit::addMenuChoiceRow(QWidget* frame,
                                         const QList<std::pair<QString, QString>>& choices,
                                         int widthTwips) {
    QHBoxLayout* row = addMenuChoiceButtons(frame, choices, widthTwips);
    row->setSpacing(twips(360));
    row->insertStretch(0, 1);
    row->addStretch(1);
    return row;
}

QPushButton* ScreenKit::cmdMenuChoice(int index) const {
    return choices_.at(index)->button();
}
MenuChoice* ScreenKit::sspMenuChoice(int index) const {
    return choices_.at(index);
}

QLabel* ScreenKit::addLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent != nullptr ? parent : screen_);
    label->setObjectName(QStringLiteral("lblInfo_%1").arg(labels_.size()));
    labels_.append(label);
    return label;
}

void ScreenKit::addField(QWidget* field, int labelIndex, const QString& help,
                         std::function<bool()> check) {
    fields_.append({field, labelIndex, help, std::move(check), nullptr});
    field->installEventFilter(this);
}

void ScreenKit::markDoubtful(QWidget* field) {
    for (FieldInfo& f : fields_) {
        if (f.widget == field) {
            f.help = DoubtHelp();
        }
    }
    QPalette p = field->palette();
    p.setColor(QPalette::Base, DoubtColour());
    p.setColor(QPalette::Button, DoubtColour());
    field->setPalette(p);
    field->setAutoFillBackground(true);
}

void ScreenKit::setNextAfter(QWidget* field, QWidget* next) {
    for (FieldInfo& f : fields_) {
        if (f.widget == field) {
            f.next = next;
        }
    }
}

void ScreenKit::focusNext(QWidget* from) {
    QWidget* next = from;
    do {
        next = next->nextInFocusChain();
    } while (next != from && !(next->isEnabled() && next->isVisible() &&
                               (next->focusPolicy() & Qt::TabFocus) != 0 &&
                               next->focusProxy() == nullptr && next->window() == from->window()));
    // An editable list's own line edit stands for the list.
    if (auto* combo = qobject_cast<QComboBox*>(next->parentWidget());
        combo != nullptr && combo->lineEdit() == next) {
        next = combo;
    }
    next->setFocus(Qt::TabFocusReason);
}

void ScreenKit::HighlightMenuChoice(int index) {
    ResetMenuChoices();
    if (index >= 0 && index < choices_.size() && choices_[index] != nullptr) {
        choices_[index]->setHighlighted(true);
    }
}

void ScreenKit::ResetMenuChoices() {
    for (MenuChoice* c : std::as_const(choices_)) {
        if (c != nullptr) {
            c->setHighlighted(false);
        }
    }
}

void ScreenKit::HighlightLabel(int index) {
    ResetLabels();
    if (index >= 0 && index < labels_.size() && labels_[index] != nullptr) {
        QFont f = labels_[index]->font();
        f.setBold(true);
        labels_[index]->setFont(f);
    }
}

void ScreenKit::ResetLabels() {
    for (QLabel* l : std::as_const(labels_)) {
        if (l == nullptr) {
            continue;
        }
        QFont f = l->font();
        f.setBold(false);
        l->setFont(f);
    }
}

void ScreenKit::setHelp(const QString& text) {
    if (msgPanel_ != nullptr) {
        msgPanel_->setText(text);
    }
}

void ScreenKit::pinHelp(const QString& text, QWidget* holder) {
    setHelp(text);
    pinnedFor_ = holder;
}

bool ScreenKit::helpPinnedFor(QObject* widget) {
    if (pinnedFor_ == nullptr) {
        return false;
    }
    if (pinnedFor_ == widget) {
        return true;
    }
    pinnedFor_ = nullptr;
    return false;
}

bool ScreenKit::eventFilter(QObject* watched, QEvent* event) {
    for (MenuChoice* c : std::as_const(choices_)) {
        if (c != nullptr && watched == c->button()) {
            return buttonEvent(c, event);
        }
    }
    for (FieldInfo& f : fields_) {
        if (watched == f.widget) {
            return fieldEvent(f, event);
        }
    }
    return QObject::eventFilter(watched, event);
}

bool ScreenKit::buttonEvent(MenuChoice* choice, QEvent* event) {
    switch (event->type()) {
    case QEvent::FocusIn:
        HighlightMenuChoice(choice->index());
        if (!helpPinnedFor(choice->button())) {
            setHelp(choiceHelp_.value(choice->index()));
        }
        emit menuChoiceFocused(choice->index());
        return false;
    case QEvent::FocusOut:
        ResetMenuChoices();
        return false;
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Space:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return false;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // One press, one action; the key itself goes no further.
            if (!key->isAutoRepeat()) {
                choice->button()->click();
            }
            return true;
        default:
            return true; // arrows and the rest do not move between buttons
        }
    }
    case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(event);
        return key->key() != Qt::Key_Space;
    }
    default:
        return false;
    }
}

bool ScreenKit::fieldEvent(FieldInfo& field, QEvent* event) {
    switch (event->type()) {
    case QEvent::FocusIn:
        if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
            SelectActiveText();
            HighlightLabel(field.labelIndex);
            if (!helpPinnedFor(field.widget)) {
                setHelp(field.help);
            }
        }
        return false;
    case QEvent::FocusOut: {
        // A message box or a list's drop-down taking the focus for a moment is no move to
        // another field.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
            ResetLabels();
            emit fieldFocusLost(field.widget);
        }
        return false;
    }
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const bool tab = key->key() == Qt::Key_Tab && checkOnTab_ &&
                         (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        if (!enter && !tab) {
            return false;
        }
        if (!field.check || field.check()) {
            if (field.next != nullptr) {
                field.next->setFocus(Qt::TabFocusReason);
            } else {
                focusNext(field.widget);
            }
        }
        return true;
    }
    default:
        return false;
    }
}

} // namespace tov::ui
