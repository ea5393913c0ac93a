#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace tov::entry {

// How an item is answered on the paper sheet, told by the first five characters of its second
// answer text; each format has its own grid.
struct AnswerFormatInfo {
    int code;            // 0..5
    int choices;         // answer columns
    int gridTwips;       // grid width
    int itemColumnTwips; // width of the item number column
    int choiceColumnTwips;
    QString help; // the keys the grid takes
};

int AnswerFormat(QStringView answer2);
const AnswerFormatInfo& formatInfo(int code);
// The header row of a grid: "Num", then the choice numbers.
QStringList headerTexts(int code);

// The item a grid row's label names ("12."): 0 when it names none of the items 1 to 73, as a
// damaged question bank can make it.
int ItemOfLabel(QStringView label);

// The top row to show so that the current row is in view (rows counts the header row too):
// near the end the last 17 rows, otherwise the row before the current one.
int TopRowFor(int currentRow, int rows);

} // namespace tov::entry
