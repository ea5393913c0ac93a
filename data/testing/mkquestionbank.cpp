// Fills the language tables of the question bank from the item blueprint and the Spanish
// wording, or lists the spoken prompts to make from them.
//
//   mkquestionbank BANK BLUEPRINT SPANISH          rows into the English and Spanish tables
//   mkquestionbank --prompts BLUEPRINT SPANISH OUT  "Language<TAB>name<TAB>words" lines

#include "platform/AppError.h"
#include "scoring/Blueprint.h"
#include "testing/ItemBank.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <cstdio>

using namespace tov;

namespace {

void insertRows(const QSqlDatabase& db, const QString& table, const QList<testing::BankRow>& rows) {
    QSqlQuery q(db);
    q.exec(QStringLiteral("DELETE FROM %1").arg(table));
    for (const testing::BankRow& row : rows) {
        q.prepare(QStringLiteral("INSERT INTO %1 (ID, TestQuestion, QuestionAudio, ANSWER1, "
                                 "ANSWER2, ANSWER3, ANSWER4, ANSWER5, ChoiceAudio1, ChoiceAudio2, "
                                 "ChoiceAudio3, ChoiceAudio4, ChoiceAudio5) VALUES (?, ?, ?, ?, ?, "
                                 "?, ?, ?, ?, ?, ?, ?, ?)")
                      .arg(table));
        q.addBindValue(row.id);
        q.addBindValue(row.question);
        q.addBindValue(row.questionAudio);
        // Absent answers are nulls, as the presentation expects of a field with nothing in it.
        for (int k = 0; k < 5; ++k) {
            q.addBindValue(k < row.answers.size() ? QVariant(row.answers.at(k)) : QVariant());
        }
        for (int k = 0; k < 5; ++k) {
            q.addBindValue(k < row.choiceAudio.size() ? QVariant(row.choiceAudio.at(k))
                                                      : QVariant());
        }
        if (!q.exec()) {
            throw AppError(err::DbUpdateFailed, q.lastError().text());
        }
    }
}

void fillBank(const QString& bank, const QList<testing::BankRow>& english,
              const QList<testing::BankRow>& spanish) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("b"));
        db.setDatabaseName(bank);
        if (!QFile::exists(bank) || !db.open()) {
            throw AppError(err::DbCannotOpen, QStringLiteral("cannot open %1").arg(bank));
        }
        db.transaction();
        insertRows(db, QStringLiteral("English"), english);
        insertRows(db, QStringLiteral("Spanish"), spanish);
        db.commit();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("b"));
}

void writePrompts(const QString& path, const QList<testing::BankRow>& english,
                  const QList<testing::BankRow>& spanish) {
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        throw AppError(err::PathFileAccess, QStringLiteral("cannot write %1").arg(path));
    }
    for (const auto& [language, rows] : {std::pair{QStringLiteral("English"), english},
                                         std::pair{QStringLiteral("Spanish"), spanish}}) {
        for (const testing::SpokenPrompt& p : testing::SpokenPrompts(rows, language)) {
            out.write((language + QLatin1Char('\t') + p.name + QLatin1Char('\t') + p.text +
                       QLatin1Char('\n'))
                          .toUtf8());
        }
    }
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    const bool prompts = !args.isEmpty() && args.first() == QLatin1String("--prompts");
    if (args.size() != (prompts ? 4 : 3)) {
        std::fputs("usage: mkquestionbank BANK BLUEPRINT SPANISH\n"
                   "       mkquestionbank --prompts BLUEPRINT SPANISH OUT\n",
                   stderr);
        return 2;
    }
    try {
        const auto blueprint = scoring::Blueprint::load(args.at(1));
        const auto spanish = testing::ItemWording::load(args.at(2), blueprint);
        const auto englishRows = testing::EnglishRows(blueprint);
        const auto spanishRows = testing::SpanishRows(blueprint, spanish);
        if (prompts) {
            writePrompts(args.at(3), englishRows, spanishRows);
        } else {
            fillBank(args.at(0), englishRows, spanishRows);
        }
    } catch (const AppError& e) {
        std::fprintf(stderr, "mkquestionbank: %s\n", qPrintable(e.description()));
        return 1;
    }
    return 0;
}
