#pragma once

#include "scan/PixelSource.h"
#include "scan/PolarPoint.h"
#include "scan/ScanItems.h"

#include <QDate>
#include <QImage>
#include <QString>

#include <functional>
#include <utility>
#include <vector>

namespace tov::scan {

// The read values, as text, exactly as the review screens take them.
struct ScannedSheet {
    QString SSN, DateOfBirth, Age, BAC, DateOfPresentArrest, Gender, Race, Education, Marital,
        PriorDUI, COSupervision, Reckless, SSSuspend, MViolations, Accidents, AlcoholArrests,
        DrugArrests, StBAC, StPriorDUI, ScannedAnswers;
    bool operator==(const ScannedSheet&) const = default;
};

enum class SheetOutcome { Read, NoAnchorBox, NoReferenceBox };

struct SheetReading {
    SheetOutcome outcome = SheetOutcome::NoAnchorBox;
    ScannedSheet values;
};

// The values under the names tov2sf-markread prints them with, in its order.
std::vector<std::pair<QString, QString>> NamedValues(const ScannedSheet& s);

// Receives the readers' diagnostic messages; empty = no messages.
using Trace = std::function<void(const QString&)>;

// Finds both boxes and reads all fields; today gives the century pivot and the age.
SheetReading ReadAnswerSheet(const QImage& prepared, ScanItemTable& items, QDate today,
                             const Trace& trace = {});
SheetReading ReadAnswerSheet(const PixelSource& prepared, ScanItemTable& items, QDate today,
                             const Trace& trace = {});

// "mm/dd/yy" (the six read values with their slashes) -> "mm/dd/ccyy": the century is 19 when
// 20yy would lie after today's year, else 20. A year that is not two digits keeps "19", and a
// text of another length is cut and joined the same way (first six characters, century, last
// two), so that it stays an invalid date.
QString WithCentury(const QString& date, QDate today);
// Today's year minus the year of an "mm/dd/yyyy" date; "N" when the text is not a valid date.
QString AgeFrom(const QString& date, QDate today);

// The reader of one prepared page: the box searches, the mark test and the three field readers.
// Positions are read relative to an origin, (0, 0) until MoveOriginToAnchor.
class MarkReader {
public:
    static constexpr int SheetWidth = 850;
    static constexpr int BoxTest = 8;     // IsMarked size for the anchor and reference boxes
    static constexpr int BubbleTest = 14; // IsMarked size for a bubble (15 x 15 window)
    // Bubbles tested per field at most: a field is read as one digit or one list entry, so no
    // sheet has more than ten; a corrupt table cannot keep the reader busy.
    static constexpr int MaxBubbles = 16;

    explicit MarkReader(const PixelSource& page, Trace trace = {});

    // Counts the non-white pixels of the window at p (n = 8: 8 x 8, else (n+1) x (n+1)) into
    // Darkness; true when the count exceeds n² · (0.3 when n = 8, else 0.05).
    bool IsMarked(const PolarPoint& p, int n);
    int Darkness() const { return darkness_; }

    bool FindAnchorBox();
    const PolarPoint& anchor() const { return anchor_; }
    void MoveOriginToAnchor();
    bool FindReferenceBox();
    const PolarPoint& reference() const { return reference_; }
    float SheetAngle() const { return sheetAngle_; }

    // The field readers, each on the table's current record. A table past its end contributes
    // nothing.
    void ExtractVertNum(ScanItemTable& items, QString& target);
    void ReadHorizChoice(ScanItemTable& items, QString& target);
    void ExtractHorizNum(ScanItemTable& items, QString& target, int offset);

    // Reads the fields of the whole table in its fixed order (after both boxes were found).
    ScannedSheet ReadFields(ScanItemTable& items, QDate today);

private:
    struct FieldResult {
        int marked = 0;
        int darkest = -1; // index of the darkest marked bubble, -1 when none
    };
    enum class Direction { Vertical, Horizontal };

    bool basePoint(ScanItemTable& items, PolarPoint& base);
    FieldResult readBubbles(const PolarPoint& base, int count, double step, Direction dir);
    bool findBox(int xFrom, int xTo, int yFrom, int yTo, PolarPoint& found);

    const PixelSource& page_;
    Trace trace_;
    int originX_ = 0;
    int originY_ = 0;
    int darkness_ = 0;
    PolarPoint anchor_;
    PolarPoint reference_;
    float sheetAngle_ = 0;
};

} // namespace tov::scan
