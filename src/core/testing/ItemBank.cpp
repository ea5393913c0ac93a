#include "testing/ItemBank.h"

#include "platform/AppError.h"
#include "platform/RegularFile.h"
#include "records/ItemCounts.h"
#include "scoring/Blueprint.h"
#include "scoring/TableReader.h"
#include "testing/PresentationTexts.h"
#include "testing/TestItem.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <functional>

namespace tov::testing {

namespace {

constexpr int kSectionOneEnd = records::kTrueFalseItems;
constexpr int kChoices = 4;

[[noreturn]] void fail(const QString& file, int line, const QString& text) {
    throw AppError(scoring::tableerr::BadValue,
                   line > 0 ? QStringLiteral("%1, line %2: %3").arg(file).arg(line).arg(text)
                            : QStringLiteral("%1: %2").arg(file, text));
}

QString questionAudio(int item) {
    return QStringLiteral("Q%1").arg(item, 2, 10, QLatin1Char('0'));
}

QString choiceAudio(int item, int number) {
    return questionAudio(item) + QStringLiteral("A%1").arg(number);
}

// Rows with the given statement and answer texts; True/False answers are the same words on
// every item, and so are their wave files.
QList<BankRow> rowsOf(const scoring::Blueprint& blueprint,
                      const std::function<QString(int)>& statement,
                      const std::function<QString(int, int)>& answer, const QString& yes,
                      const QString& no) {
    QList<BankRow> rows;
    for (const scoring::BlueprintItem& item : blueprint.items()) {
        BankRow row;
        row.id = item.number;
        row.question = statement(item.number);
        row.questionAudio = questionAudio(item.number);
        if (item.number <= kSectionOneEnd) {
            row.answers = QStringList{yes, no};
            row.choiceAudio = QStringList{yes, no};
        } else {
            for (int k = 1; k <= kChoices; ++k) {
                row.answers << QStringLiteral("%1. %2").arg(k).arg(answer(item.number, k));
                row.choiceAudio << choiceAudio(item.number, k);
            }
        }
        rows << row;
    }
    return rows;
}

} // namespace

ItemWording ItemWording::load(const QString& path, const scoring::Blueprint& blueprint) {
    const QString name = QFileInfo(path).fileName();
    QByteArray content;
    try {
        content = platform::ReadRegularFile(path, platform::MaxTextFileBytes);
    } catch (const AppError& e) {
        throw AppError(err::FileNotFound,
                       QStringLiteral("%1 cannot be read: %2").arg(path, e.description()));
    }
    static const QRegularExpression head(QStringLiteral("^(\\d+)(?:\\.(\\d))?$"));
    const QStringList lines =
        QString::fromUtf8(content).remove(QLatin1Char('\r')).split(QLatin1Char('\n'));
    ItemWording wording;
    for (int n = 0; n < lines.size(); ++n) {
        const QString line = lines.at(n).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) {
            continue;
        }
        const qsizetype bar = line.indexOf(QLatin1Char('|'));
        const auto match = head.match(line.left(bar).trimmed());
        const QString text = line.mid(bar + 1).trimmed();
        if (bar < 0 || !match.hasMatch() || text.isEmpty()) {
            fail(name, n + 1, QStringLiteral("expected \"item | text\" or \"item.answer | text\""));
        }
        const int item = match.captured(1).toInt();
        if (item < 1 || item > kItems) {
            fail(name, n + 1, QStringLiteral("there is no item %1").arg(item));
        }
        if (match.captured(2).isEmpty()) {
            if (wording.statements_.contains(item)) {
                fail(name, n + 1, QStringLiteral("item %1 is given twice").arg(item));
            }
            wording.statements_.insert(item, text);
            continue;
        }
        const int number = match.captured(2).toInt();
        if (item <= kSectionOneEnd || number < 1 || number > kChoices ||
            wording.answers_.contains({item, number})) {
            fail(name, n + 1,
                 QStringLiteral("answers 1 to 4, once each, belong to items 68 to 73 only"));
        }
        wording.answers_.insert({item, number}, text);
    }
    for (const scoring::BlueprintItem& item : blueprint.items()) {
        if (!wording.statements_.contains(item.number)) {
            fail(name, 0, QStringLiteral("item %1 has no wording").arg(item.number));
        }
        for (int k = 1; k <= item.answers.size(); ++k) {
            if (!wording.answers_.contains({item.number, k})) {
                fail(name, 0, QStringLiteral("item %1 has no answer %2").arg(item.number).arg(k));
            }
        }
    }
    return wording;
}

QList<BankRow> EnglishRows(const scoring::Blueprint& blueprint) {
    return rowsOf(
        blueprint, [&](int item) { return blueprint.item(item).wording; },
        [&](int item, int k) { return blueprint.item(item).answers.value(k - 1); },
        QStringLiteral("True"), QStringLiteral("False"));
}

QList<BankRow> SpanishRows(const scoring::Blueprint& blueprint, const ItemWording& spanish) {
    return rowsOf(
        blueprint, [&](int item) { return spanish.statement(item); },
        [&](int item, int k) { return spanish.answer(item, k); }, QStringLiteral("Cierto"),
        QStringLiteral("Falso"));
}

QList<SpokenPrompt> SpokenPrompts(const QList<BankRow>& rows, const QString& language) {
    QList<SpokenPrompt> prompts;
    const PresentationTexts texts(language);
    for (int n = 0; n <= 2; ++n) {
        QString words = texts.instructions(n);
        words.replace(QLatin1String("\r\n"), QLatin1String(" "));
        prompts << SpokenPrompt{QStringLiteral("Inst%1").arg(n), words.simplified()};
    }
    QSet<QString> made;
    for (const BankRow& row : rows) {
        prompts << SpokenPrompt{row.questionAudio,
                                QStringLiteral("%1. %2").arg(row.id).arg(row.question)};
        for (qsizetype k = 0; k < row.answers.size(); ++k) {
            if (!made.contains(row.choiceAudio.at(k))) {
                made.insert(row.choiceAudio.at(k));
                prompts << SpokenPrompt{row.choiceAudio.at(k), row.answers.at(k)};
            }
        }
    }
    return prompts;
}

} // namespace tov::testing
