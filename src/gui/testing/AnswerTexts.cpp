#include "testing/AnswerTexts.h"

#include "ui/Geometry.h"
#include "ui/MenuChoice.h"
#include "ui/ScreenKit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace tov::testing {

namespace {
const QColor kAnswerTextBack(0xe4, 0xe4, 0xe4);
} // namespace

AnswerTexts::AnswerTexts(ui::ScreenKit* kit, QWidget* frame, QObject* keyFilter) : kit_(kit) {
    auto* al = new QVBoxLayout(frame);
    al->setSpacing(ui::twips(90));
    for (int i = 0; i < kMaxAnswers; ++i) {
        ui::MenuChoice* c = kit->addMenuChoice(QString(), QString());
        c->setParent(frame);
        QPushButton* button = c->button();
        auto* text = new QLabel(button);
        text->setObjectName(QStringLiteral("txtButtonText_%1").arg(i));
        text->setWordWrap(true);
        text->setTextFormat(Qt::PlainText);
        text->setFocusPolicy(Qt::NoFocus);
        text->setAttribute(Qt::WA_TransparentForMouseEvents);
        text->setAutoFillBackground(true);
        text->setIndent(ui::twips(120));
        QPalette tp = text->palette();
        tp.setColor(QPalette::Window, kAnswerTextBack);
        tp.setColor(QPalette::WindowText, Qt::black);
        text->setPalette(tp);
        auto* bl = new QHBoxLayout(button);
        bl->setContentsMargins(ui::twips(90), ui::twips(60), ui::twips(90), ui::twips(60));
        bl->addWidget(text);
        labels_.at(i) = text;
        button->installEventFilter(keyFilter);
        al->addWidget(c);
    }
    al->addStretch(1);
}

void AnswerTexts::show(const TestItem& item) const {
    for (int i = 0; i < kMaxAnswers; ++i) {
        const bool shown = item.hasAnswer(i);
        labels_.at(i)->setText(shown ? item.answers.at(i) : QString());
        kit_->cmdMenuChoice(i)->setVisible(shown);
    }
}

int AnswerTexts::indexOf(const QObject* watched) const {
    for (int i = 0; i < kMaxAnswers; ++i) {
        if (watched == kit_->cmdMenuChoice(i)) {
            return i;
        }
    }
    return -1;
}

void AnswerTexts::scale(int px, int textWidth) const {
    for (int i = 0; i < kMaxAnswers; ++i) {
        QPushButton* button = kit_->cmdMenuChoice(i);
        QFont bf = button->font();
        bf.setPixelSize(px);
        button->setFont(bf);
        const int needed = labels_.at(i)->heightForWidth(textWidth);
        button->setMinimumHeight(std::max(needed, px * 3 / 2) + ui::twips(180));
    }
}

} // namespace tov::testing
