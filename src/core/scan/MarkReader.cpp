#include "scan/MarkReader.h"

#include <algorithm>
#include <cmath>
#include <exception>

namespace tov::scan {

namespace {

constexpr double Pi = 3.14159265358979;
// Record numbers (from 0) where the parts of the fixed reading order begin.
constexpr int FirstChoiceRecord = 24;
constexpr int FirstStaffRecord = 36;
constexpr int FirstAnswerRecord = 40;
constexpr int RecordsRead = 113;
// The inside of a bubble: a disc of this share of its window's side as radius (4.5 pixels of
// 15), well clear of the printed ring at 7 even on a sheet placed a pixel or two off.
constexpr double InsideShare = 0.3;

bool finite(QPointF p) {
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

// A table position (r, theta in degrees) as a sheet point.
QPointF sheetPoint(double r, double theta) {
    const double a = theta * Pi / 180.0;
    return {r * std::cos(a), r * std::sin(a)};
}

} // namespace

MarkReader::MarkReader(const PreparedPage& page, Trace trace)
    : page_(page), trace_(std::move(trace)), boxes_(page.marks),
      judge_(page.marks, boxes_.levels()) {}

bool MarkReader::VerticalRecord(int index) {
    return index < FirstChoiceRecord || (index >= FirstStaffRecord && index < FirstAnswerRecord);
}

bool MarkReader::FindAnchorBox() {
    anchor_ = {};
    anchorBox_ = boxes_.findAnchor();
    if (!anchorBox_) {
        return false;
    }
    const double half = (anchorBox_->side - 1) / 2;
    anchor_.x = RoundToPixel(anchorBox_->centre.x() - half);
    anchor_.y = RoundToPixel(anchorBox_->centre.y() - half);
    return true;
}

void MarkReader::MoveOriginToAnchor() {
    placement_ = SheetPlacement(QPointF(anchor_.x, anchor_.y), 1, 0);
}

bool MarkReader::FindReferenceBox() {
    reference_ = {};
    sheetAngle_ = 0;
    if (!anchorBox_) {
        return false;
    }
    const double expected = anchorBox_->side * BoxDistance / BoxSide;
    const std::optional<FoundBox> box = boxes_.findReference(*anchorBox_, expected);
    if (!box) {
        return false;
    }
    const QPointF v = box->centre - anchorBox_->centre;
    const double scale = std::hypot(v.x(), v.y()) / BoxDistance;
    // Both boxes must be of the size their distance says: two squares that happen to lie on
    // one level are not the sheet's boxes.
    for (const double side : {anchorBox_->side, box->side}) {
        if (std::abs(side / (BoxSide * scale) - 1) > 0.3) {
            return false;
        }
    }
    const double angle = std::atan2(v.y(), v.x()) * 180 / Pi;
    scale_ = scale;
    sheetAngle_ = static_cast<float>(angle);
    const double half = (BoxSide - 1) / 2.0;
    const double c = std::cos(angle * Pi / 180);
    const double s = std::sin(angle * Pi / 180);
    const QPointF corner =
        anchorBox_->centre - scale * QPointF(c * half - s * half, s * half + c * half);
    anchor_.x = RoundToPixel(corner.x());
    anchor_.y = RoundToPixel(corner.y());
    reference_.x = RoundToPixel(v.x());
    reference_.y = RoundToPixel(v.y());
    reference_.r = static_cast<float>(std::hypot(v.x(), v.y()));
    reference_.theta = sheetAngle_;
    placement_ = SheetPlacement(corner, scale, angle);

    PageLevels levels = boxes_.levels();
    levels.black = (anchorBox_->blackLevel + box->blackLevel) / 2;
    judge_.setLevels(levels);

    // A page whose stated resolution cannot be right (the sheet would be far off its size)
    // is taken as a page as wide as the sheet.
    const auto readable = [](double k) { return k >= SmallestScale && k <= LargestScale; };
    printScale_ = scale;
    if (!readable(scale) && page_.resolutionStated && page_.width() > 0) {
        const double byWidth = scale * SheetWidth / page_.width();
        if (readable(byWidth)) {
            printScale_ = byWidth;
        }
    }
    return true;
}

std::vector<FieldLine> MarkReader::fieldLines(const std::vector<ScanItemRow>& rows) const {
    std::vector<FieldLine> lines;
    const int n = std::min<int>(RecordsRead, static_cast<int>(rows.size()));
    const QPointF toCentre(BubbleTest / 2.0, BubbleTest / 2.0);
    for (int k = 0; k < n; ++k) {
        const ScanItemRow& row = rows[static_cast<std::size_t>(k)];
        const bool vertical = VerticalRecord(k);
        FieldLine line;
        line.first = sheetPoint(row.r, row.theta) + toCentre;
        line.step = vertical ? QPointF(0, row.dy) : QPointF(row.dx, 0);
        line.count = std::clamp(vertical ? row.DimY : row.DimX, 0, MaxBubbles);
        if (line.count > 0 && finite(line.first) && finite(line.step)) {
            lines.push_back(line);
        }
    }
    return lines;
}

SheetOutcome MarkReader::PlaceSheet(const std::vector<ScanItemRow>& rows) {
    if (!(printScale_ >= SmallestScale && printScale_ <= LargestScale)) {
        return SheetOutcome::ScaleOutOfRange;
    }
    const std::vector<FieldLine> lines = fieldLines(rows);
    placement_.alignTo(page_.ink, lines);
    // Every bubble must lie on the page: a page cut short would read its lost rows as blank.
    const double margin = scale_ * (BubbleTest + 1) * InsideShare;
    bool short_ = false;
    bool off = false;
    for (const FieldLine& line : lines) {
        for (int i = 0; i < line.count; ++i) {
            const QPointF p = placement_.map(line.first + line.step * i);
            if (!finite(p)) {
                continue;
            }
            short_ = short_ || p.y() > page_.height() - 1 - margin;
            off = off || p.x() < margin || p.x() > page_.width() - 1 - margin || p.y() < margin;
        }
    }
    return short_ ? SheetOutcome::PageTooShort
           : off  ? SheetOutcome::SheetOffPage
                  : SheetOutcome::Read;
}

MarkJudge::Bubble MarkReader::measureBubble(QPointF windowCorner, int n) const {
    const QPointF centre = placement_.map(windowCorner + QPointF(n / 2.0, n / 2.0));
    return judge_.measure(centre, (n + 1) * InsideShare * scale_);
}

void MarkReader::SurveyMarks(const std::vector<ScanItemRow>& rows) {
    std::vector<MarkJudge::Bubble> sheet;
    for (const FieldLine& line : fieldLines(rows)) {
        for (int i = 0; i < line.count; ++i) {
            const QPointF corner =
                line.first + line.step * i - QPointF(BubbleTest / 2.0, BubbleTest / 2.0);
            sheet.push_back(measureBubble(corner, BubbleTest));
        }
    }
    judge_.learnMarks(sheet);
}

bool MarkReader::IsMarked(const PolarPoint& p, int n) {
    const MarkJudge::Bubble b = measureBubble(QPointF(p.x, p.y), n);
    darkness_ = b.darkness;
    return b.marked;
}

bool MarkReader::basePoint(ScanItemTable& items, QPointF& base) {
    if (items.atEOF()) {
        return false;
    }
    const ScanItemRow row = items.current();
    base = sheetPoint(row.r, row.theta);
    // Where the base point lies on the page, from the anchor box corner.
    const QPointF onPage = finite(base) ? placement_.map(base) - placement_.origin()
                                        : QPointF(std::nan(""), std::nan(""));
    items.storeBasePoint(RoundToPixel(onPage.x()), RoundToPixel(onPage.y()));
    return true;
}

MarkJudge::FieldResult MarkReader::readBubbles(QPointF base, int count, QPointF step) {
    count = std::clamp(count, 0, MaxBubbles);
    std::vector<MarkJudge::Bubble> bubbles;
    for (int i = 0; i < count; ++i) {
        bubbles.push_back(measureBubble(base + step * i, BubbleTest));
        darkness_ = bubbles.back().darkness;
    }
    return MarkJudge::judgeField(bubbles);
}

void MarkReader::ExtractVertNum(ScanItemTable& items, QString& target) {
    lastDoubtful_ = false;
    try {
        if (items.atEOF()) {
            return;
        }
        const ScanItemRow row = items.current();
        if (trace_) {
            trace_(QStringLiteral("ExtractVertNum Procedure.......") + target + QLatin1Char(' ') +
                   QString::number(row.r));
        }
        QPointF base;
        if (!basePoint(items, base)) {
            return;
        }
        const MarkJudge::FieldResult f = readBubbles(base, row.DimY, QPointF(0, row.dy));
        lastDoubtful_ = f.doubtful;
        target += f.darkest < 0 ? QStringLiteral("N") : QString::number(f.darkest);
    } catch (const std::exception&) {
        // A field that cannot be read contributes nothing; the operator sees the short value.
    }
}

void MarkReader::ReadHorizChoice(ScanItemTable& items, QString& target) {
    lastDoubtful_ = false;
    try {
        if (items.atEOF()) {
            return;
        }
        const ScanItemRow row = items.current();
        QPointF base;
        if (!basePoint(items, base)) {
            return;
        }
        const MarkJudge::FieldResult f = readBubbles(base, row.DimX, QPointF(row.dx, 0));
        lastDoubtful_ = f.doubtful;
        target = QString::number(f.darkest + 1); // "0" when nothing is marked
    } catch (const std::exception&) {
    }
}

void MarkReader::ExtractHorizNum(ScanItemTable& items, QString& target, int offset) {
    lastDoubtful_ = false;
    try {
        if (items.atEOF()) {
            return;
        }
        const ScanItemRow row = items.current();
        if (trace_) {
            trace_(QStringLiteral("ExtractHorizNum Procedure.......") + target + QLatin1Char(' ') +
                   QString::number(row.r));
        }
        QPointF base;
        if (!basePoint(items, base)) {
            return;
        }
        const MarkJudge::FieldResult f = readBubbles(base, row.DimX, QPointF(row.dx, 0));
        lastDoubtful_ = f.doubtful;
        if (f.darkest < 0) {
            target += offset == 0 ? QStringLiteral("N") : QStringLiteral("0");
        } else {
            target += QString::number(f.darkest + offset);
        }
    } catch (const std::exception&) {
    }
}

namespace {

// The table's rows, for placing the sheet before it is read; a corrupt table is cut short.
std::vector<ScanItemRow> allRows(ScanItemTable& items) {
    std::vector<ScanItemRow> rows;
    items.MoveFirst();
    while (!items.atEOF() && rows.size() < std::size_t(RecordsRead)) {
        rows.push_back(items.current());
        items.MoveNext();
    }
    return rows;
}

} // namespace

SheetReading ReadAnswerSheet(const PreparedPage& page, ScanItemTable& items, QDate today,
                             const Trace& trace) {
    SheetReading reading;
    MarkReader reader(page, trace);
    if (!reader.FindAnchorBox()) {
        reading.outcome = SheetOutcome::NoAnchorBox;
        return reading;
    }
    reader.MoveOriginToAnchor();
    if (!reader.FindReferenceBox()) {
        reading.outcome = SheetOutcome::NoReferenceBox;
        return reading;
    }
    reading.scale = reader.PrintScale();
    reading.angle = reader.SheetAngle();
    const std::vector<ScanItemRow> rows = allRows(items);
    reading.outcome = reader.PlaceSheet(rows);
    if (reading.outcome != SheetOutcome::Read) {
        return reading;
    }
    reader.SurveyMarks(rows);
    reading.values = reader.ReadFields(items, today);
    reading.doubtful = reader.doubtful();
    return reading;
}

SheetReading ReadAnswerSheet(const QImage& page, ScanItemTable& items, QDate today,
                             const Trace& trace) {
    return ReadAnswerSheet(PreparePage(page), items, today, trace);
}

} // namespace tov::scan
