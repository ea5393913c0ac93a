#pragma once

#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>

namespace tov::scoring {
class Blueprint;
}

namespace tov::testing {

// The wording of the items in a second language, keyed by item number: "12 | statement" and,
// for the multiple-choice items, "68.1 | answer".
class ItemWording {
public:
    // Reads and checks the file against the blueprint: every item needs its statement and every
    // multiple-choice item its four answers. Throws AppError naming the line or the item.
    static ItemWording load(const QString& path, const scoring::Blueprint& blueprint);

    QString statement(int item) const { return statements_.value(item); }
    QString answer(int item, int number) const { return answers_.value({item, number}); }

private:
    QMap<int, QString> statements_;
    QMap<QPair<int, int>, QString> answers_;
};

// One row of a language table of the question bank.
struct BankRow {
    int id = 0;
    QString question;
    QString questionAudio;
    QStringList answers;     // 2 for a True/False item, 4 for a multiple-choice one
    QStringList choiceAudio; // base names, one per answer
};

// The rows of the "English" and "Spanish" tables, in item order, built from the blueprint (and
// the Spanish wording). Both languages use the same wave file names, in their own folders.
QList<BankRow> EnglishRows(const scoring::Blueprint& blueprint);
QList<BankRow> SpanishRows(const scoring::Blueprint& blueprint, const ItemWording& spanish);

// A wave file to make: its base name and the words it speaks.
struct SpokenPrompt {
    QString name;
    QString text;
};
// Every prompt of a language: the three instruction texts and each question and answer once.
QList<SpokenPrompt> SpokenPrompts(const QList<BankRow>& rows, const QString& language);

} // namespace tov::testing
