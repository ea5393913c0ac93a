#include "scan/MarkReader.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>

namespace tov::scan {

namespace {

constexpr double Pi = 3.14159265358979;

// Rounds half to even into a wide integer; values far beyond any page are held at a bound that
// still lies off every page.
qint64 roundWide(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    constexpr double bound = 1e9;
    if (value <= -bound) {
        return static_cast<qint64>(-bound);
    }
    if (value >= bound) {
        return static_cast<qint64>(bound);
    }
    return static_cast<qint64>(std::nearbyint(value)); // default rounding mode: halves to even
}

// A table value as a single-precision real; values beyond its range are held at its ends
// rather than overflowing.
float toFloat(double value) {
    constexpr double most = std::numeric_limits<float>::max();
    return std::isnan(value) ? std::numeric_limits<float>::quiet_NaN()
                             : static_cast<float>(std::clamp(value, -most, most));
}

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

} // namespace

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

MarkReader::MarkReader(const PixelSource& page, Trace trace)
    : page_(page), trace_(std::move(trace)) {}

bool MarkReader::IsMarked(const PolarPoint& p, int n) {
    const int side = (n == BoxTest ? 7 : n) + 1;
    const double f = n == BoxTest ? 0.3 : 0.05;
    darkness_ = page_.countNotWhite(originX_ + p.x, originY_ + p.y, side, side);
    return darkness_ > double(n) * n * f;
}

bool MarkReader::findBox(int xFrom, int xTo, int yFrom, int yTo, PolarPoint& found) {
    // Dark pixels before the first white one are the page edge or the scanner lid, not a box.
    bool whiteSeen = false;
    bool success = false;
    for (int y = yFrom; y <= yTo; ++y) {
        for (int x = xFrom; x <= xTo; ++x) {
            const bool white = page_.isWhite(originX_ + x, originY_ + y);
            if (!whiteSeen) {
                whiteSeen = white;
                continue;
            }
            if (white) {
                continue;
            }
            PolarPoint p;
            p.x = static_cast<qint16>(x);
            p.y = static_cast<qint16>(y);
            if (!IsMarked(p, BoxTest)) {
                continue;
            }
            if (!success) {
                found = p;
                success = true;
            } else if (p.x < found.x) {
                found.x = p.x;
            }
        }
    }
    return success;
}

bool MarkReader::FindAnchorBox() {
    anchor_ = {};
    return findBox(5, 45, 0, 125, anchor_);
}

void MarkReader::MoveOriginToAnchor() {
    originX_ = anchor_.x;
    originY_ = anchor_.y;
}

bool MarkReader::FindReferenceBox() {
    reference_ = {};
    sheetAngle_ = 0;
    const int xEnd = std::min(791, SheetWidth - anchor_.x);
    const int yStart = std::max(-100, -int(anchor_.y));
    if (!findBox(761, xEnd, yStart, 100, reference_)) {
        return false;
    }
    ToPolar(reference_);
    sheetAngle_ = reference_.theta;
    return true;
}

bool MarkReader::basePoint(ScanItemTable& items, PolarPoint& base) {
    if (items.atEOF()) {
        return false;
    }
    const ScanItemRow row = items.current();
    base.r = toFloat(row.r);
    base.theta = toFloat(row.theta + double(sheetAngle_));
    ToCartesian(base);
    items.storeBasePoint(base.x, base.y);
    return true;
}

MarkReader::FieldResult MarkReader::readBubbles(const PolarPoint& base, int count, double step,
                                                Direction dir) {
    FieldResult result;
    const double angle = double(sheetAngle_) * Pi / 180.0;
    // Only the step along the field follows the rotation; the field does not drift sideways.
    const double along = dir == Direction::Vertical ? std::sin(angle + Pi / 2) : std::cos(angle);
    const int side = BubbleTest + 1;
    const int fullWindow = side * side;
    int darkest = 0;
    count = std::min(count, MaxBubbles);
    for (int i = 0; i < count; ++i) {
        const qint64 shift = roundWide(step * i * along);
        qint64 x = base.x;
        qint64 y = base.y;
        (dir == Direction::Vertical ? y : x) += shift;
        // Off-page positions count as ink, like any pixel outside the image.
        const qint64 px = originX_ + x;
        const qint64 py = originY_ + y;
        const bool inRange =
            px > std::numeric_limits<int>::min() / 2 && px < std::numeric_limits<int>::max() / 2 &&
            py > std::numeric_limits<int>::min() / 2 && py < std::numeric_limits<int>::max() / 2;
        darkness_ = inRange ? page_.countNotWhite(int(px), int(py), side, side) : fullWindow;
        if (darkness_ <= double(BubbleTest) * BubbleTest * 0.05) {
            continue;
        }
        ++result.marked;
        if (darkness_ > darkest) {
            darkest = darkness_;
            result.darkest = i;
        }
        if (darkest == fullWindow) {
            break; // no later bubble can be darker, and the lower index wins a tie
        }
    }
    return result;
}

void MarkReader::ExtractVertNum(ScanItemTable& items, QString& target) {
    try {
        if (items.atEOF()) {
            return;
        }
        const ScanItemRow row = items.current();
        if (trace_) {
            trace_(QStringLiteral("ExtractVertNum Procedure.......") + target + QLatin1Char(' ') +
                   QString::number(row.r));
        }
        PolarPoint base;
        if (!basePoint(items, base)) {
            return;
        }
        const FieldResult f = readBubbles(base, row.DimY, row.dy, Direction::Vertical);
        target += f.darkest < 0 ? QStringLiteral("N") : QString::number(f.darkest);
    } catch (const std::exception&) {
        // A field that cannot be read contributes nothing; the operator sees the short value.
    }
}

void MarkReader::ReadHorizChoice(ScanItemTable& items, QString& target) {
    try {
        if (items.atEOF()) {
            return;
        }
        const ScanItemRow row = items.current();
        PolarPoint base;
        if (!basePoint(items, base)) {
            return;
        }
        const FieldResult f = readBubbles(base, row.DimX, row.dx, Direction::Horizontal);
        target = QString::number(f.darkest + 1); // "0" when nothing is marked
    } catch (const std::exception&) {
    }
}

void MarkReader::ExtractHorizNum(ScanItemTable& items, QString& target, int offset) {
    try {
        if (items.atEOF()) {
            return;
        }
        const ScanItemRow row = items.current();
        if (trace_) {
            trace_(QStringLiteral("ExtractHorizNum Procedure.......") + target + QLatin1Char(' ') +
                   QString::number(row.r));
        }
        PolarPoint base;
        if (!basePoint(items, base)) {
            return;
        }
        const FieldResult f = readBubbles(base, row.DimX, row.dx, Direction::Horizontal);
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
    items.MoveFirst();
    bool first = true;
    // One record per read, moving on before every read after the first.
    const auto next = [&] {
        if (!first) {
            items.MoveNext();
        }
        first = false;
    };
    // n vertical digits, each kept as its own value (one read may give two characters).
    const auto vertValues = [&](int n) {
        QStringList values;
        for (int k = 0; k < n; ++k) {
            next();
            QString value;
            ExtractVertNum(items, value);
            if (!value.isEmpty()) {
                values << value;
            }
        }
        return values;
    };
    const auto vertInto = [&](QString& target, int n) {
        for (int k = 0; k < n; ++k) {
            next();
            ExtractVertNum(items, target);
        }
    };
    const auto choice = [&](QString& target) {
        next();
        ReadHorizChoice(items, target);
    };
    const auto count = [&](QString& target) {
        next();
        ExtractHorizNum(items, target, 0);
    };

    s.SSN = joined(vertValues(9), QLatin1Char('-'), 3, 5);
    s.DateOfBirth = WithCentury(joined(vertValues(6), QLatin1Char('/'), 2, 4), today);
    s.Age = AgeFrom(s.DateOfBirth, today);

    QString a;
    vertInto(a, 1);
    s.BAC = QStringLiteral(".");
    vertInto(s.BAC, 2);
    if (a != QLatin1String("N")) {
        s.BAC = a.left(2);
    }
    s.DateOfPresentArrest = WithCentury(joined(vertValues(6), QLatin1Char('/'), 2, 4), today);

    choice(s.Gender);
    choice(s.Race);
    choice(s.Education);
    choice(s.Marital);
    for (QString* c : {&s.PriorDUI, &s.COSupervision, &s.Reckless, &s.SSSuspend, &s.MViolations,
                       &s.Accidents, &s.AlcoholArrests, &s.DrugArrests}) {
        count(*c);
    }

    QString b;
    vertInto(b, 1);
    s.StBAC = QStringLiteral(".");
    vertInto(s.StBAC, 2);
    if (b != QLatin1String("N")) {
        s.StBAC = b.left(2);
    }
    vertInto(s.StPriorDUI, 1);

    for (int item = 0; item < 73; ++item) {
        next();
        ExtractHorizNum(items, s.ScannedAnswers, 1);
    }
    return s;
}

SheetReading ReadAnswerSheet(const PixelSource& prepared, ScanItemTable& items, QDate today,
                             const Trace& trace) {
    SheetReading reading;
    MarkReader reader(prepared, trace);
    if (!reader.FindAnchorBox()) {
        reading.outcome = SheetOutcome::NoAnchorBox;
        return reading;
    }
    reader.MoveOriginToAnchor();
    if (!reader.FindReferenceBox()) {
        reading.outcome = SheetOutcome::NoReferenceBox;
        return reading;
    }
    reading.values = reader.ReadFields(items, today);
    reading.outcome = SheetOutcome::Read;
    return reading;
}

SheetReading ReadAnswerSheet(const QImage& prepared, ScanItemTable& items, QDate today,
                             const Trace& trace) {
    const ImagePixels pixels(prepared);
    return ReadAnswerSheet(pixels, items, today, trace);
}

} // namespace tov::scan
