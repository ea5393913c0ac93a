#include "scan/SheetGeometry.h"

#include "records/Demographics.h"
#include "records/ItemCounts.h"

#include <cmath>

namespace tov::scan {

namespace {

// Spacing chosen so that a sheet turned by up to 2 degrees still reads exactly: the reader
// follows the turn only along a field, so the far bubble of a field drifts sideways by
// length x sin 2° (about 7 pixels for the longest rows and columns here), which stays well
// inside the 15-pixel window and clear of the next field (24 pixels or more away).
constexpr int DigitStep = 20;  // down a digit column
constexpr int ColumnStep = 24; // between digit columns
constexpr int GroupGap = 10;   // extra gap between digit groups (the dashes and slashes)
constexpr int ChoiceStep = 24;
constexpr int CountStep = 20;
constexpr int AnswerStep = 26;
constexpr int AnswerRowStep = 24;

constexpr int TopBubbles = 140; // first bubble row of the digit columns
constexpr int StaffBubbles = 648;
constexpr int AnswersTop = 892;
constexpr int AnswerRows = 19;

QStringList digits(int n) {
    QStringList list;
    for (int i = 0; i < n; ++i) {
        list << QString::number(i);
    }
    return list;
}

QStringList numbered(int n) {
    QStringList list;
    for (int i = 1; i <= n; ++i) {
        list << QString::number(i);
    }
    return list;
}

// The list entries after "N/A", numbered as on the bubbles, laid out in lines of at most
// `perLine` entries.
QStringList keyLines(const QStringList& list, int perLine) {
    QStringList lines;
    QString line;
    for (int i = 1; i < list.size(); ++i) {
        if (!line.isEmpty()) {
            line += QStringLiteral("    ");
        }
        line += QStringLiteral("%1 = %2").arg(i).arg(list[i]);
        if (i % perLine == 0 || i == list.size() - 1) {
            lines << line;
            line.clear();
        }
    }
    return lines;
}

class Builder {
public:
    explicit Builder(SheetGeometry& g) : g_(g) {}

    void digit(const QString& name, int x, int y, int count) {
        add({name, FieldKind::Digit, {x, y}, count, DigitStep, digits(count), {}, {}});
    }
    // A column group of digit columns; widths are the bubble counts, gaps come after the
    // listed column numbers. Returns the x after the group.
    int digitGroup(const QString& title, const QString& name, int x, int y,
                   const std::vector<int>& counts, const std::vector<int>& gapsAfter) {
        const int first = static_cast<int>(g_.fields.size());
        for (std::size_t c = 0; c < counts.size(); ++c) {
            digit(QStringLiteral("%1 %2").arg(name).arg(c + 1), x, y, counts[c]);
            x += ColumnStep;
            for (int after : gapsAfter) {
                if (after == static_cast<int>(c) + 1) {
                    x += GroupGap;
                }
            }
        }
        group(title, first, static_cast<int>(counts.size()), true);
        return x;
    }
    // The title sits over the first column, or at titleX when given.
    void group(const QString& title, int first, int count, bool writeIn, int titleX = -1) {
        const QPoint at = g_.fields[static_cast<std::size_t>(first)].first;
        const QPoint titleAt(titleX < 0 ? at.x() : titleX, writeIn ? at.y() - 30 : at.y() - 14);
        g_.groups.push_back({title, titleAt, first, count, writeIn, QRect()});
    }
    void add(SheetField f) { g_.fields.push_back(std::move(f)); }
    void text(const QString& t, QPoint at, int size = 9, bool bold = false) {
        g_.texts.push_back({t, at, size, bold});
    }

private:
    SheetGeometry& g_;
};

} // namespace

SheetGeometry AnswerSheetGeometry() {
    SheetGeometry g;
    g.anchorBox = QRect(25, 50, 20, 20);
    g.referenceBox = QRect(801, 50, 20, 20);
    Builder b(g);

    b.text(QStringLiteral("TOVALINE-II SHORT FORM  -  ANSWER SHEET"), {250, 66}, 16, true);
    b.text(QStringLiteral("Use a No. 2 pencil. Fill the circle of your answer completely and "
                          "darkly. Erase changes cleanly. Make no other marks."),
           {50, 88}, 10);

    // Digit columns across the top, in reading order: SSN, date of birth, BAC, date of arrest.
    int x = b.digitGroup(QStringLiteral("SOCIAL SECURITY NUMBER"), QStringLiteral("SSN"), 50,
                         TopBubbles, {10, 10, 10, 10, 10, 10, 10, 10, 10}, {3, 5});
    x = b.digitGroup(QStringLiteral("DATE OF BIRTH (MM DD YY)"), QStringLiteral("Birth date"),
                     x + 28, TopBubbles, {2, 10, 4, 10, 10, 10}, {2, 4});
    // Column A: one bubble, for a test that found no alcohol at all; it replaces the BAC.
    const int bacX = x + 14;
    const int bacFirst = static_cast<int>(g.fields.size());
    b.digit(QStringLiteral("BAC zero"), bacX, TopBubbles, 1);
    b.digit(QStringLiteral("BAC 1"), bacX + 34, TopBubbles, 10);
    b.digit(QStringLiteral("BAC 2"), bacX + 34 + ColumnStep, TopBubbles, 10);
    b.group(QStringLiteral("BAC AT ARREST"), bacFirst, 3, true);
    b.digitGroup(QStringLiteral("DATE OF THIS DUI ARREST (MM DD YY)"),
                 QStringLiteral("Arrest date"), bacX + 34 + 2 * ColumnStep + 28, TopBubbles,
                 {2, 10, 4, 10, 10, 10}, {2, 4});

    // Choice rows: bubble n stands for entry n of the list after "N/A".
    const int choiceX = 150;
    const auto choice = [&](const QString& name, const QString& caption, const QStringList& list,
                            int y, int perLine) {
        const int n = static_cast<int>(list.size()) - 1;
        b.add({name,
               FieldKind::Choice,
               {choiceX, y},
               n,
               ChoiceStep,
               numbered(n),
               caption,
               keyLines(list, perLine)});
    };
    const int demoFirst = static_cast<int>(g.fields.size());
    choice(QStringLiteral("Gender"), QStringLiteral("GENDER"), records::genderList(), 376, 2);
    choice(QStringLiteral("Race"), QStringLiteral("RACE"), records::raceList(), 419, 3);
    choice(QStringLiteral("Education"), QStringLiteral("EDUCATION"), records::educationList(), 495,
           2);
    choice(QStringLiteral("Marital"), QStringLiteral("MARITAL STATUS"), records::maritalList(), 560,
           3);
    b.group(QStringLiteral("ABOUT YOU  (fill one circle in each row; see the numbers below it)"),
            demoFirst, 4, false, 40);

    // Court history counts 0..9.
    const char* counts[] = {"Prior DUI convictions",
                            "Court supervisions for DUI",
                            "Reckless driving reduced from DUI",
                            "Statutory summary suspensions",
                            "Moving violations (tickets)",
                            "At-fault accidents",
                            "Alcohol-related arrests (not DUI)",
                            "Drug-related arrests (not DUI)"};
    const char* countNames[] = {"Prior DUI",  "CO supervision", "Reckless",        "SS suspend",
                                "Violations", "Accidents",      "Alcohol arrests", "Drug arrests"};
    const int countFirst = static_cast<int>(g.fields.size());
    for (int k = 0; k < 8; ++k) {
        QStringList labels = digits(10);
        b.add({QString::fromLatin1(countNames[k]),
               FieldKind::Count,
               {615, 376 + 24 * k},
               10,
               CountStep,
               labels,
               QStringLiteral("%1. %2").arg(k + 1).arg(counts[k]),
               {}});
    }
    b.group(QStringLiteral("IN THE LAST 10 YEARS, NUMBER OF ...   (9 = 9 or more)"), countFirst, 8,
            false, 430);

    // Staff part: column B replaces the staff BAC as column A does the client's.
    const int staffFirst = static_cast<int>(g.fields.size());
    b.digit(QStringLiteral("Staff BAC zero"), 470, StaffBubbles, 1);
    b.digit(QStringLiteral("Staff BAC 1"), 504, StaffBubbles, 10);
    b.digit(QStringLiteral("Staff BAC 2"), 528, StaffBubbles, 10);
    b.group(QStringLiteral("BAC AT ARREST"), staffFirst, 3, true);
    b.digit(QStringLiteral("Staff prior DUI"), 650, StaffBubbles, 10);
    b.group(QStringLiteral("PRIOR DUIs, LAST 10 YEARS"), staffFirst + 3, 1, true);
    b.text(QStringLiteral("COMPLETED BY STAFF MEMBER ONLY"), {440, 598}, 11, true);
    g.groups.push_back({QString(), {}, 0, 0, false, QRect(425, 580, 395, 280)});

    // Name lines and a marking example on the left of the staff part.
    b.text(QStringLiteral("NAME: ______________________________________"), {40, 640}, 11);
    b.text(QStringLiteral("DRIVER'S LICENSE: ___________________________"), {40, 680}, 11);
    b.text(QStringLiteral("TODAY'S DATE: ______________________________"), {40, 720}, 11);
    b.text(QStringLiteral("Write your numbers in the boxes, then fill the circle"), {40, 770}, 10);
    b.text(QStringLiteral("under each one. Leave a column empty if you do not"), {40, 785}, 10);
    b.text(QStringLiteral("know the number. Fill only one circle in a row."), {40, 800}, 10);

    // The answers: items 1-67 True/False, 68-73 four choices; four columns of up to 19 rows.
    b.text(QStringLiteral("TEST ANSWERS   Items 1 to 67: fill T (True) or F (False).   Items 68 to "
                          "73: fill the number of your answer."),
           {40, 878}, 11, true);
    for (int item = 1; item <= records::kItemCount; ++item) {
        const int column = (item - 1) / AnswerRows;
        const int row = (item - 1) % AnswerRows;
        const bool multiple = item > 67;
        const QStringList labels = multiple ? numbered(4) : QStringList{"T", "F"};
        b.add({QStringLiteral("Item %1").arg(item),
               FieldKind::Answer,
               {75 + 200 * column, AnswersTop + AnswerRowStep * row},
               multiple ? 4 : 2,
               AnswerStep,
               labels,
               QString::number(item),
               {}});
    }
    b.text(
        QStringLiteral("Do not fold or staple this sheet.   Print on legal paper (8.5 x 14 in) at "
                       "actual size, in colour."),
        {190, 1375}, 10);
    return g;
}

std::vector<ScanItemRow> SheetGeometry::ScanItemRows() const {
    std::vector<ScanItemRow> rows;
    rows.reserve(fields.size());
    for (const SheetField& f : fields) {
        const QPoint rel = f.first - anchorBox.topLeft();
        ScanItemRow row;
        row.r = std::hypot(double(rel.x()), double(rel.y()));
        row.theta = std::atan2(double(rel.y()), double(rel.x())) * 180.0 / 3.14159265358979;
        if (f.vertical()) {
            row.DimY = f.count;
            row.dy = f.step;
        } else {
            row.DimX = f.count;
            row.dx = f.step;
        }
        row.LocationName = f.LocationName;
        rows.push_back(row);
    }
    return rows;
}

} // namespace tov::scan
