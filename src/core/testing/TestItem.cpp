#include "testing/TestItem.h"

#include "app/QuestionBank.h"

namespace tov::testing {

namespace {
QString text(const app::RecordSet& row, const QString& field) {
    return row.Fields(field).toString();
}
QString audio(const app::RecordSet& row, const QString& field) {
    return text(row, field).trimmed() + QStringLiteral(".wav");
}
} // namespace

TestItem TestItem::fromRow(const app::RecordSet& row) {
    TestItem item;
    item.id = row.Fields(QStringLiteral("ID")).toInt();
    item.question = text(row, QStringLiteral("TestQuestion"));
    item.questionAudio = audio(row, QStringLiteral("QuestionAudio"));
    for (int i = 0; i < kMaxAnswers; ++i) {
        const QString n = QString::number(i + 1);
        item.answers.at(i) = text(row, QStringLiteral("ANSWER") + n);
        if (i < 2 || !item.answers.at(i).isEmpty()) {
            item.choiceAudio.at(i) = audio(row, QStringLiteral("ChoiceAudio") + n);
        }
    }
    return item;
}

bool TestItem::hasAnswer(int index) const {
    if (index < 0 || index >= kMaxAnswers) {
        return false;
    }
    return index < 2 || !answers.at(index).isEmpty();
}

QString TestItem::numberedQuestion() const {
    return QString::number(id) + QStringLiteral(". ") + question;
}

QString ResponseString(const AnswerCodes& codes) {
    QString responses;
    for (int n = 1; n <= kItems; ++n) {
        responses += QString::number(codes.at(n)).right(1);
    }
    return responses;
}

} // namespace tov::testing
