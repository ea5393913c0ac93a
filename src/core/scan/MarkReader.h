#pragma once

#include "scan/MarkJudge.h"
#include "scan/PolarPoint.h"
#include "scan/PreparedPage.h"
#include "scan/ScanItems.h"
#include "scan/SheetBoxes.h"
#include "scan/SheetPlacement.h"
#include "scan/SheetReading.h"

#include <QDate>
#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace tov::scan {

// Receives the readers' diagnostic messages; empty = no messages.
using Trace = std::function<void(const QString&)>;

// Finds both boxes, places the sheet and reads all fields; today gives the century pivot and
// the age. The QImage form prepares the page first.
SheetReading ReadAnswerSheet(const PreparedPage& page, ScanItemTable& items, QDate today,
                             const Trace& trace = {});
SheetReading ReadAnswerSheet(const QImage& page, ScanItemTable& items, QDate today,
                             const Trace& trace = {});

// The reader of one prepared page: the box searches, the placement of the sheet, the mark test
// and the three field readers. Positions are sheet pixels (100 dots per inch of the sheet as
// designed) from an origin: the page's corner until MoveOriginToAnchor, then the anchor box's
// top-left corner, turned and scaled with the sheet once the reference box is found.
class MarkReader {
public:
    // The sheet's boxes: 20 pixels square, their corners 776 pixels apart on one level.
    static constexpr int BoxSide = 20;
    static constexpr int BoxDistance = 776;
    static constexpr int SheetWidth = 850;
    static constexpr int BubbleTest = 14; // a bubble's sample window is 15 x 15
    // Bubbles tested per field at most: a field is read as one digit or one list entry, so no
    // sheet has more than ten; a corrupt table cannot keep the reader busy.
    static constexpr int MaxBubbles = 16;
    // The print scales read: a sheet printed with "fit to page" (0.97, or 0.94 on some printers)
    // or stretched a little by a sheet feeder reads; a reduced copy does not.
    static constexpr double SmallestScale = 0.90;
    static constexpr double LargestScale = 1.05;

    explicit MarkReader(const PreparedPage& page, Trace trace = {});

    bool FindAnchorBox();
    const PolarPoint& anchor() const { return anchor_; }
    void MoveOriginToAnchor();
    bool FindReferenceBox();
    // The reference box corner seen from the anchor box corner, in page pixels.
    const PolarPoint& reference() const { return reference_; }
    float SheetAngle() const { return sheetAngle_; }
    // The sheet's scale on the prepared page, and on paper: the same when the page stated its
    // resolution truly; taken from the page's width when the stated one cannot be right.
    double SheetScale() const { return scale_; }
    double PrintScale() const { return printScale_; }

    // After both boxes: refuses a sheet printed at the wrong scale or not wholly on the page;
    // otherwise fits the placement to the printed fields of the table's rows.
    SheetOutcome PlaceSheet(const std::vector<ScanItemRow>& rows);
    // Learns from every bubble of the sheet how dark this client's marks are, so that light
    // pencil reads and an erasure or a printed label does not.
    void SurveyMarks(const std::vector<ScanItemRow>& rows);

    // The bubble whose sample window has its top-left corner at p (n = 14: 15 x 15): marked
    // when most of its inside is as dark as this page's marks. Darkness is the sum of its
    // inside's darkness, by which several marks of one field are compared.
    bool IsMarked(const PolarPoint& p, int n);
    int Darkness() const { return darkness_; }

    // The field readers, each on the table's current record. A table past its end contributes
    // nothing.
    void ExtractVertNum(ScanItemTable& items, QString& target);
    void ReadHorizChoice(ScanItemTable& items, QString& target);
    void ExtractHorizNum(ScanItemTable& items, QString& target, int offset);
    // Whether the last field read was doubtful: two marks of nearly the same darkness, or a
    // bubble near the line between marked and not.
    bool LastFieldDoubtful() const { return lastDoubtful_; }

    // Reads the fields of the whole table in its fixed order (after both boxes were found).
    ScannedSheet ReadFields(ScanItemTable& items, QDate today);
    const QStringList& doubtful() const { return doubtful_; }

    // Whether record `index` (from 0) of the table is read down a column (else along a row).
    static bool VerticalRecord(int index);

private:
    MarkJudge::Bubble measureBubble(QPointF windowCorner, int n) const;
    bool basePoint(ScanItemTable& items, QPointF& base);
    MarkJudge::FieldResult readBubbles(QPointF base, int count, QPointF step);
    std::vector<FieldLine> fieldLines(const std::vector<ScanItemRow>& rows) const;

    const PreparedPage& page_;
    Trace trace_;
    SheetBoxes boxes_;
    MarkJudge judge_;
    std::optional<FoundBox> anchorBox_;
    PolarPoint anchor_;
    PolarPoint reference_;
    float sheetAngle_ = 0;
    double scale_ = 1;
    double printScale_ = 1;
    SheetPlacement placement_;
    int darkness_ = 0;
    bool lastDoubtful_ = false;
    QStringList doubtful_;
};

} // namespace tov::scan
