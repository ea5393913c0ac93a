#include "scan/MarkReader.h"

#include "records/ItemCounts.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>

namespace tov::scan {

namespace {

constexpr double Pi = 3.14159265358979;
// Record numbers (from 0) where the parts of the fixed reading order begin.
constexpr int FirstChoiceRecord = 24;
constexpr int FirstStaffRecord = 36;
constexpr int FirstAnswerRecord = 40;
constexpr int RecordsRead = 113;
// A bubble is marked when at least this share of its inside is as dark as the page's marks.
constexpr double MarkedShare = 0.5;
// The inside of a bubble: a disc of this share of its window's side as radius (4.5 pixels of
// 15), well clear of the printed ring at 7 even on a sheet placed a pixel or two off.
constexpr double InsideShare = 0.3;
// No pencil is lighter than this (of 255, paper to the boxes' black): paper grain, dust and
// the drop-out print stay below it.
constexpr int FaintestPencil = 38;
// Two marks in one field whose darkness differs by less than this share are a near tie.
constexpr double NearTie = 0.85;

// Joins read values, putting `mark` after the values whose 1-based numbers are listed when a
// further value follows.
QString joined(const QStringList& values, QChar mark, int after1, int after2) {
    QString text;
    for (int k = 0; k < values.size(); ++k) {
        text += values[k];
        const int number = k + 1;
        if ((number == after1 || number == after2) && number < values.size()) {
            text += mark;
        }
    }
    return text;
}

bool finite(QPointF p) {
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

// A table position (r, theta in degrees) as a sheet point.
QPointF sheetPoint(double r, double theta) {
    const double a = theta * Pi / 180.0;
    return {r * std::cos(a), r * std::sin(a)};
}

} // namespace

QString RefusalText(const SheetReading& reading) {
    switch (reading.outcome) {
    case SheetOutcome::Read:
        return {};
    case SheetOutcome::NoAnchorBox:
        return QStringLiteral("Anchor Box not found");
    case SheetOutcome::NoReferenceBox:
        return QStringLiteral("Reference Box not found");
    case SheetOutcome::ScaleOutOfRange:
        return QStringLiteral("Answer sheet printed at %1% of actual size (90% to 105% can be "
                              "read)")
            .arg(std::lround(reading.scale * 100));
    case SheetOutcome::PageTooShort:
        return QStringLiteral("Page too short for the answer sheet (cut off at the bottom)");
    case SheetOutcome::SheetOffPage:
        return QStringLiteral("Answer sheet not wholly on the page");
    }
    return {};
}

std::vector<std::pair<QString, QString>> NamedValues(const ScannedSheet& s) {
    return {{QStringLiteral("ssn"), s.SSN},
            {QStringLiteral("dob"), s.DateOfBirth},
            {QStringLiteral("age"), s.Age},
            {QStringLiteral("bac"), s.BAC},
            {QStringLiteral("arrest_date"), s.DateOfPresentArrest},
            {QStringLiteral("gender"), s.Gender},
            {QStringLiteral("race"), s.Race},
            {QStringLiteral("education"), s.Education},
            {QStringLiteral("marital"), s.Marital},
            {QStringLiteral("prior_dui"), s.PriorDUI},
            {QStringLiteral("co_supervision"), s.COSupervision},
            {QStringLiteral("reckless"), s.Reckless},
            {QStringLiteral("ss_suspend"), s.SSSuspend},
            {QStringLiteral("m_violations"), s.MViolations},
            {QStringLiteral("accidents"), s.Accidents},
            {QStringLiteral("alcohol_arrests"), s.AlcoholArrests},
            {QStringLiteral("drug_arrests"), s.DrugArrests},
            {QStringLiteral("st_bac"), s.StBAC},
            {QStringLiteral("st_prior_dui"), s.StPriorDUI},
            {QStringLiteral("answers"), s.ScannedAnswers}};
}

QString WithCentury(const QString& date, QDate today) {
    const QString yy = date.right(2);
    QString century = QStringLiteral("19");
    if (yy.size() == 2 && yy[0].isDigit() && yy[1].isDigit() && yy[0].unicode() < 128 &&
        yy[1].unicode() < 128) {
        const int year = 2000 + yy.toInt();
        century = year > today.year() ? QStringLiteral("19") : QStringLiteral("20");
    }
    return date.left(6) + century + yy;
}

QString AgeFrom(const QString& date, QDate today) {
    const QDate d = QDate::fromString(date, QStringLiteral("MM/dd/yyyy"));
    if (!d.isValid()) {
        return QStringLiteral("N");
    }
    return QString::number(today.year() - d.year());
}

MarkReader::MarkReader(const PreparedPage& page, Trace trace)
    : page_(page), trace_(std::move(trace)), boxes_(page.marks) {
    setLevels(boxes_.levels());
}

void MarkReader::setLevels(PageLevels levels) {
    // Too little contrast to tell paper from ink: the darkest third counts as ink.
    const int paper = std::clamp(levels.paper, 32, 255);
    const int black = std::clamp(levels.black, 0, paper - 32);
    for (int v = 0; v < 256; ++v) {
        const int d = v >= paper ? 0 : v <= black ? 255 : 255 * (paper - v) / (paper - black);
        darknessOf_[static_cast<std::size_t>(v)] = static_cast<uchar>(d);
    }
}

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
    setLevels(levels);

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

MarkReader::Bubble MarkReader::measureBubble(QPointF windowCorner, int n) const {
    Bubble b;
    const QPointF centre = placement_.map(windowCorner + QPointF(n / 2.0, n / 2.0));
    const double radius = (n + 1) * InsideShare * scale_;
    const QImage& marks = page_.marks;
    // Off the page is paper: nothing there is a mark.
    if (!finite(centre) || marks.isNull() || centre.x() < -radius || centre.y() < -radius ||
        centre.x() > marks.width() + radius || centre.y() > marks.height() + radius) {
        return b;
    }
    const int t = markThreshold_;
    const int low = t * 7 / 10;
    const int high = std::min(255, t * 6 / 5);
    int pixels = 0;
    int atT = 0;
    int atLow = 0;
    int atHigh = 0;
    std::array<uchar, 512> inside{};
    const int x0 = static_cast<int>(std::floor(centre.x() - radius));
    const int x1 = static_cast<int>(std::ceil(centre.x() + radius));
    const int y0 = static_cast<int>(std::floor(centre.y() - radius));
    const int y1 = static_cast<int>(std::ceil(centre.y() + radius));
    const int width = marks.width();
    const int height = marks.height();
    for (int y = y0; y <= y1; ++y) {
        const bool row = y >= 0 && y < height;
        const uchar* line = row ? marks.constScanLine(y) : nullptr;
        const double dy = y - centre.y();
        for (int x = x0; x <= x1; ++x) {
            const double dx = x - centre.x();
            if (dx * dx + dy * dy > radius * radius) {
                continue;
            }
            const int d = row && x >= 0 && x < width ? darknessOf_[line[x]] : 0;
            if (pixels < static_cast<int>(inside.size())) {
                inside[static_cast<std::size_t>(pixels)] = static_cast<uchar>(d);
            }
            ++pixels;
            b.darkness += d;
            atT += d >= t ? 1 : 0;
            atLow += d >= low ? 1 : 0;
            atHigh += d >= high ? 1 : 0;
        }
    }
    if (pixels == 0) {
        return b;
    }
    const int kept = std::min(pixels, static_cast<int>(inside.size()));
    std::nth_element(inside.begin(), inside.begin() + kept / 2, inside.begin() + kept);
    b.level = inside[static_cast<std::size_t>(kept / 2)];
    const double share = double(atT) / pixels;
    b.marked = share >= MarkedShare;
    b.nearLine =
        (double(atLow) / pixels >= MarkedShare) != (double(atHigh) / pixels >= MarkedShare) ||
        (share >= 0.35 && share < 0.6);
    return b;
}

void MarkReader::SurveyMarks(const std::vector<ScanItemRow>& rows) {
    std::vector<int> levels;
    for (const FieldLine& line : fieldLines(rows)) {
        for (int i = 0; i < line.count; ++i) {
            const QPointF corner =
                line.first + line.step * i - QPointF(BubbleTest / 2.0, BubbleTest / 2.0);
            const int level = measureBubble(corner, BubbleTest).level;
            if (level >= FaintestPencil) {
                levels.push_back(level);
            }
        }
    }
    // Half way from paper to the client's typical mark: lighter marks (erasures, smudges) are
    // not marks, and a client who presses lightly is read as firmly as one who does not.
    markThreshold_ = 128;
    if (levels.size() >= 3) {
        std::nth_element(levels.begin(), levels.begin() + levels.size() / 2, levels.end());
        markThreshold_ = std::clamp(levels[levels.size() / 2] / 2, FaintestPencil, 128);
    }
}

bool MarkReader::IsMarked(const PolarPoint& p, int n) {
    const Bubble b = measureBubble(QPointF(p.x, p.y), n);
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

MarkReader::FieldResult MarkReader::readBubbles(QPointF base, int count, QPointF step) {
    FieldResult result;
    count = std::clamp(count, 0, MaxBubbles);
    int darkest = -1;
    int second = -1;
    for (int i = 0; i < count; ++i) {
        const Bubble b = measureBubble(base + step * i, BubbleTest);
        darkness_ = b.darkness;
        result.doubtful = result.doubtful || b.nearLine;
        if (!b.marked) {
            continue;
        }
        ++result.marked;
        if (b.darkness > darkest) {
            second = darkest;
            darkest = b.darkness;
            result.darkest = i;
        } else {
            second = std::max(second, b.darkness);
        }
    }
    if (result.marked >= 2 && second >= NearTie * darkest) {
        result.doubtful = true;
    }
    return result;
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
        const FieldResult f = readBubbles(base, row.DimY, QPointF(0, row.dy));
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
        const FieldResult f = readBubbles(base, row.DimX, QPointF(row.dx, 0));
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
        const FieldResult f = readBubbles(base, row.DimX, QPointF(row.dx, 0));
        lastDoubtful_ = f.doubtful;
        if (f.darkest < 0) {
            target += offset == 0 ? QStringLiteral("N") : QStringLiteral("0");
        } else {
            target += QString::number(f.darkest + offset);
        }
    } catch (const std::exception&) {
    }
}

ScannedSheet MarkReader::ReadFields(ScanItemTable& items, QDate today) {
    ScannedSheet s;
    doubtful_.clear();
    items.MoveFirst();
    bool first = true;
    // One record per read, moving on before every read after the first.
    const auto next = [&] {
        if (!first) {
            items.MoveNext();
        }
        first = false;
    };
    const auto doubt = [&](const QString& name) {
        if (lastDoubtful_ && !doubtful_.contains(name)) {
            doubtful_ << name;
        }
    };
    // n vertical digits, each kept as its own value (one read may give two characters).
    const auto vertValues = [&](int n, const QString& name) {
        QStringList values;
        for (int k = 0; k < n; ++k) {
            next();
            QString value;
            ExtractVertNum(items, value);
            doubt(name);
            if (!value.isEmpty()) {
                values << value;
            }
        }
        return values;
    };
    const auto vertInto = [&](QString& target, int n, const QString& name) {
        for (int k = 0; k < n; ++k) {
            next();
            ExtractVertNum(items, target);
            doubt(name);
        }
    };
    const auto choice = [&](QString& target, const QString& name) {
        next();
        ReadHorizChoice(items, target);
        doubt(name);
    };
    const auto count = [&](QString& target, const QString& name) {
        next();
        ExtractHorizNum(items, target, 0);
        doubt(name);
    };

    s.SSN = joined(vertValues(9, QStringLiteral("ssn")), QLatin1Char('-'), 3, 5);
    s.DateOfBirth =
        WithCentury(joined(vertValues(6, QStringLiteral("dob")), QLatin1Char('/'), 2, 4), today);
    s.Age = AgeFrom(s.DateOfBirth, today);

    QString a;
    vertInto(a, 1, QStringLiteral("bac"));
    s.BAC = QStringLiteral(".");
    vertInto(s.BAC, 2, QStringLiteral("bac"));
    if (a != QLatin1String("N")) {
        s.BAC = a.left(2);
    }
    s.DateOfPresentArrest = WithCentury(
        joined(vertValues(6, QStringLiteral("arrest_date")), QLatin1Char('/'), 2, 4), today);

    choice(s.Gender, QStringLiteral("gender"));
    choice(s.Race, QStringLiteral("race"));
    choice(s.Education, QStringLiteral("education"));
    choice(s.Marital, QStringLiteral("marital"));
    const std::pair<QString*, const char*> counts[] = {{&s.PriorDUI, "prior_dui"},
                                                       {&s.COSupervision, "co_supervision"},
                                                       {&s.Reckless, "reckless"},
                                                       {&s.SSSuspend, "ss_suspend"},
                                                       {&s.MViolations, "m_violations"},
                                                       {&s.Accidents, "accidents"},
                                                       {&s.AlcoholArrests, "alcohol_arrests"},
                                                       {&s.DrugArrests, "drug_arrests"}};
    for (const auto& [target, name] : counts) {
        count(*target, QString::fromLatin1(name));
    }

    QString b;
    vertInto(b, 1, QStringLiteral("st_bac"));
    s.StBAC = QStringLiteral(".");
    vertInto(s.StBAC, 2, QStringLiteral("st_bac"));
    if (b != QLatin1String("N")) {
        s.StBAC = b.left(2);
    }
    vertInto(s.StPriorDUI, 1, QStringLiteral("st_prior_dui"));

    for (int item = 1; item <= records::kItemCount; ++item) {
        next();
        ExtractHorizNum(items, s.ScannedAnswers, 1);
        doubt(QStringLiteral("item%1").arg(item));
    }
    return s;
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
