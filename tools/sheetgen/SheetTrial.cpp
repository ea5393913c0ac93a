#include "sheetgen/SheetTrial.h"

#include "scan/MarkReader.h"
#include "scan/SheetGeometry.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <cmath>

namespace tov::sheetgen {

namespace {

using O = RenderOptions;

// The print scales read and refused; between them the boxes' measure may go either way.
constexpr double ReadFrom = scan::MarkReader::SmallestScale + 0.005;
constexpr double ReadTo = scan::MarkReader::LargestScale - 0.005;
constexpr double RefusedBelow = scan::MarkReader::SmallestScale - 0.005;
constexpr double RefusedAbove = scan::MarkReader::LargestScale + 0.005;
// 10 mm, in sheet pixels.
constexpr int TenMillimetres = 39;

// The conditions README promises to read exactly (the sheet's place on the page aside).
bool promised(const O& o) {
    const bool blackAndWhite = o.output == O::Output::BlackAndWhite;
    // A black-and-white scan keeps a mark only when the pencil is darker than its black level.
    const bool pencilKept = !blackAndWhite || o.lightestPencil <= o.blackLevel - 25;
    return o.dpi >= 100 && std::abs(o.angle) <= 3 && o.offset.x() >= 0 && o.offset.y() >= 0 &&
           o.offset.x() <= TenMillimetres && o.offset.y() <= TenMillimetres && o.stretch >= 1.0 &&
           o.stretch <= 1.01 && std::abs(o.keystone) <= 0.01 && o.lightestPencil <= 185 &&
           pencilKept && (!blackAndWhite || (o.blackLevel >= 100 && o.blackLevel <= 170)) &&
           o.strayDots <= 30 && o.erasures <= 20 && (o.jpegQuality == 0 || o.jpegQuality >= 60) &&
           o.paper.isNull();
}

// Where the sheet's bubbles and boxes land on the scanned page.
struct Landing {
    bool bubbleLost = false; // a bubble's centre lies off the page
    bool allWell = true;     // every bubble, and both boxes' centres, well inside it
};

Landing landing(const O& o) {
    const double k = o.dpi / 100.0;
    const double width = std::lround(scan::SheetGeometry::Width * k);
    double height = std::lround(scan::SheetGeometry::Height * k);
    if (o.keepHeight > 0) {
        height = std::min(height, double(std::lround(o.keepHeight * k)));
    }
    const QRectF page(0, 0, width, height);
    const QRectF well = page.adjusted(2 * k, 2 * k, -2 * k, -2 * k);
    const QTransform toPage = SheetToPage(o);
    const scan::SheetGeometry sheet = scan::AnswerSheetGeometry();
    Landing l;
    const int side = scan::SheetGeometry::Window - 1;
    for (const scan::SheetField& field : sheet.fields) {
        for (int i = 0; i < field.count; ++i) {
            const QPointF corner = field.bubble(i);
            l.bubbleLost =
                l.bubbleLost || !page.contains(toPage.map(corner + QPointF(side, side) / 2.0));
            for (const QPointF at : {corner, corner + QPointF(side, 0), corner + QPointF(0, side),
                                     corner + QPointF(side, side)}) {
                l.allWell = l.allWell && well.contains(toPage.map(at));
            }
        }
    }
    for (const QRect& box : {sheet.anchorBox, sheet.referenceBox}) {
        l.allWell = l.allWell && well.contains(toPage.map(QRectF(box).center()));
    }
    return l;
}

// The forms a value read may take.
enum class Form { Ssn, Date, Number, Bac, Digit };

bool matches(const QString& text, Form form) {
    // Compiled once: the fuzz target checks every reading.
    static const std::array<QRegularExpression, 5> patterns = {
        QRegularExpression(
            QRegularExpression::anchoredPattern(QStringLiteral("[0-9N]{3}-[0-9N]{2}-[0-9N]{4}"))),
        QRegularExpression(QRegularExpression::anchoredPattern(
            QStringLiteral("[0-9N]{2}/[0-9N]{2}/(19|20)[0-9N]{2}"))),
        QRegularExpression(QRegularExpression::anchoredPattern(QStringLiteral("[0-9]{1,3}"))),
        QRegularExpression(QRegularExpression::anchoredPattern(QStringLiteral("(0|\\.[0-9N]{2})"))),
        QRegularExpression(QRegularExpression::anchoredPattern(QStringLiteral("[0-9N]"))),
    };
    return patterns[static_cast<std::size_t>(form)].match(text).hasMatch();
}

// A choice read as the bubble's number: 0 (none) to the field's count.
bool choiceIn(const QString& text, int count) {
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok && text.size() == 1 && n >= 0 && n <= count;
}

// The first value found outside its field, or the doubt of a value that does not exist.
QString outOfRange(const scan::SheetReading& r, QDate today) {
    const scan::SheetGeometry sheet = scan::AnswerSheetGeometry();
    const auto count = [&sheet](int field) {
        return sheet.fields[static_cast<std::size_t>(field)].count;
    };
    QStringList names;
    for (const auto& [name, value] : scan::NamedValues(r.values)) {
        names << name;
        bool ok = true;
        if (name == QLatin1String("ssn")) {
            ok = matches(value, Form::Ssn);
        } else if (name == QLatin1String("dob") || name == QLatin1String("arrest_date")) {
            ok = matches(value, Form::Date);
        } else if (name == QLatin1String("age")) {
            ok = value == QLatin1String("N") ||
                 (matches(value, Form::Number) && value.toInt() <= today.year() - 1900);
        } else if (name == QLatin1String("bac") || name == QLatin1String("st_bac")) {
            ok = matches(value, Form::Bac);
        } else if (name == QLatin1String("answers")) {
            ok = value.size() == 73;
            for (int i = 0; ok && i < 73; ++i) {
                ok = choiceIn(value.mid(i, 1), count(40 + i));
            }
        } else if (names.size() >= 6 && names.size() <= 9) { // gender, race, education, marital
            ok = choiceIn(value, count(24 + static_cast<int>(names.size()) - 6));
        } else { // the counts and the staff's prior DUIs: a digit or none
            ok = matches(value, Form::Digit);
        }
        if (!ok) {
            return QStringLiteral("%1 read as '%2', outside its field").arg(name, value);
        }
    }
    names.removeOne(QStringLiteral("age"));
    names.removeOne(QStringLiteral("answers"));
    for (int item = 1; item <= 73; ++item) {
        names << QStringLiteral("item%1").arg(item);
    }
    for (const QString& d : r.doubtful) {
        if (!names.contains(d) || r.doubtful.count(d) > 1) {
            return QStringLiteral("doubt named '%1'").arg(d);
        }
    }
    return {};
}

// The values read otherwise than filled and not called doubtful, and the doubled marks not
// called doubtful.
QString misread(const SheetTrial& t, const scan::SheetReading& r, QDate today) {
    const auto want = scan::NamedValues(ExpectedReading(t.values, today));
    const auto got = scan::NamedValues(r.values);
    const auto doubted = [&r](const QString& name) { return r.doubtful.contains(name); };
    QStringList wrong;
    for (std::size_t i = 0; i < want.size(); ++i) {
        const QString& name = want[i].first;
        const QString& filled = want[i].second;
        const QString& read = got[i].second;
        if (name == QLatin1String("answers")) {
            for (int item = 1; item <= 73 && item <= read.size(); ++item) {
                if (read[item - 1] != filled[item - 1] &&
                    !doubted(QStringLiteral("item%1").arg(item))) {
                    wrong << QStringLiteral("item%1 read '%2', filled '%3'")
                                 .arg(item)
                                 .arg(read[item - 1])
                                 .arg(filled[item - 1]);
                }
            }
        } else if (read != filled && !doubted(name) &&
                   !(name == QLatin1String("age") && doubted(QStringLiteral("dob")))) {
            wrong << QStringLiteral("%1 read '%2', filled '%3'").arg(name, read, filled);
        }
    }
    for (const QString& name : ExpectedDoubts(t.values, t.options)) {
        if (!doubted(name)) {
            wrong << QStringLiteral("%1 marked twice, not called doubtful").arg(name);
        }
    }
    return wrong.join(QStringLiteral("; "));
}

} // namespace

SheetTrial DrawTrial(Choices& choose, QDate today) {
    // The plain case first: a choice the fuzzer's bytes leave unmade is the smallest number.
    const auto rarely = [&choose](int percent) { return choose.number(0, 99) >= 100 - percent; };
    // Most trials keep within what the reader promises, so that most readings are checked
    // value by value; the others range beyond it in every condition.
    const bool beyond = rarely(30);
    const auto pick = [&](double plain, double lo, double hi, double wideLo, double wideHi) {
        return !rarely(60) ? plain : beyond ? choose.real(wideLo, wideHi) : choose.real(lo, hi);
    };
    SheetTrial t;
    O& o = t.options;
    o.seed = static_cast<quint32>(choose.number(0, 0xFFFF));
    // Mostly 100 dots per inch: the smallest page the reader promises to read exactly.
    o.dpi = rarely(15) ? (beyond ? choose.number(72, 160) : choose.number(100, 160)) : 100;
    o.stated = static_cast<O::Stated>(choose.number(0, 2));
    static const double fitToPage[] = {1.0, 0.97, 0.94};
    o.printScale = rarely(50) ? (beyond ? choose.real(0.84, 1.10) : choose.real(0.905, 1.045))
                              : fitToPage[choose.number(0, 2)];
    o.heavyPrint = rarely(20);
    o.output = static_cast<O::Output>(choose.number(0, 2));
    o.blackLevel = beyond ? choose.number(90, 200) : choose.number(100, 170);
    o.darkestPencil = choose.number(0, 150);
    o.lightestPencil = std::min(beyond ? 230 : 185, o.darkestPencil + choose.number(0, 80));
    if (!beyond && o.output == O::Output::BlackAndWhite) {
        // The pencil darker than the black level, or the scanner drops it.
        o.lightestPencil = std::min(o.lightestPencil, o.blackLevel - 25);
        o.darkestPencil = std::min(o.darkestPencil, o.lightestPencil);
    }
    o.strayMark = rarely(30);
    o.strayDots = rarely(40) ? choose.number(0, beyond ? 40 : 30) : 0;
    o.erasures = rarely(40) ? choose.number(0, beyond ? 30 : 20) : 0;
    o.doubled = rarely(30) ? choose.number(0, 5) : 0;
    o.stretch = pick(1.0, 1.0, 1.01, 0.99, 1.025);
    o.angle = pick(0.0, -3, 3, -5, 5);
    o.pivot = rarely(50) ? O::Pivot::Centre : O::Pivot::TopMiddle;
    const int across = static_cast<int>(pick(0, 0, 39, -12, 55)); // drawn in this order
    o.offset = QPoint(across, static_cast<int>(pick(0, 0, 39, -12, 55)));
    o.keystone = pick(0.0, -0.01, 0.01, -0.02, 0.02);
    o.tint = rarely(20);
    o.blur = rarely(1);
    o.speckles = choose.number(0, 1000);
    o.jpegQuality = rarely(8) ? choose.number(beyond ? 30 : 60, 95) : 0;
    o.keepHeight = rarely(15) ? choose.number(900, 1450) : 0;
    t.values = DrawSheetValues(choose, today);
    return t;
}

Owed OwedFor(const SheetTrial& t) {
    const O& o = t.options;
    // A page stating a wrong resolution near its true one is taken at its word.
    const bool scaleKnown = o.stated != O::Stated::Wrong || o.dpi >= 100;
    const bool scaleRefused =
        scaleKnown && (o.printScale < RefusedBelow || o.printScale > RefusedAbove);
    const Landing l = landing(o);
    Owed owed;
    owed.refusal = scaleRefused || l.bubbleLost;
    owed.exact = !owed.refusal && promised(o);
    owed.read = owed.exact && l.allWell && o.printScale >= ReadFrom && o.printScale <= ReadTo;
    return owed;
}

QString DescribeTrial(const SheetTrial& t, QDate today) {
    const O& o = t.options;
    QStringList words;
    const auto add = [&words](const char* option, const QString& value = {}) {
        words << QLatin1String(option) + (value.isEmpty() ? QString() : QLatin1Char(' ') + value);
    };
    const auto num = [](double v) { return QString::number(v, 'g', 6); };
    add("--seed", num(o.seed));
    add("--dpi", num(o.dpi));
    static const char* const stated[] = {"yes", "none", "wrong"};
    add("--stated", QLatin1String(stated[static_cast<int>(o.stated)]));
    add("--print-scale", num(o.printScale));
    if (o.heavyPrint) {
        add("--heavy-print");
    }
    add("--pencil", num(o.lightestPencil) + QLatin1Char(',') + num(o.darkestPencil));
    if (o.strayMark) {
        add("--stray");
    }
    add("--dots", num(o.strayDots));
    add("--erasures", num(o.erasures));
    add("--doubled", num(o.doubled));
    add("--stretch", num(o.stretch));
    add("--angle", num(o.angle));
    if (o.pivot == O::Pivot::Centre) {
        add("--about-centre");
    }
    add("--offset", num(o.offset.x()) + QLatin1Char(',') + num(o.offset.y()));
    add("--keystone", num(o.keystone));
    if (o.tint) {
        add("--tint");
    }
    if (o.blur) {
        add("--blur");
    }
    add("(speckles", num(o.speckles) + QLatin1Char(')'));
    if (o.output == O::Output::Grey) {
        add("--grey");
    } else if (o.output == O::Output::BlackAndWhite) {
        add("--bw", num(o.blackLevel));
    }
    if (o.jpegQuality > 0) {
        add("--jpeg", num(o.jpegQuality));
    }
    if (o.keepHeight > 0) {
        add("--cut", num(o.keepHeight));
    }
    QString text = words.join(QLatin1Char(' '));
    for (const auto& [name, value] : scan::NamedValues(ExpectedReading(t.values, today))) {
        text += QStringLiteral("\n%1=%2").arg(name, value);
    }
    return text;
}

scan::SheetReading ReadTrial(SheetRenderer& renderer, const SheetTrial& t, QDate today) {
    scan::VectorScanItems items(scan::AnswerSheetGeometry().ScanItemRows());
    return scan::ReadAnswerSheet(renderer.render(t.values, t.options), items, today);
}

QString CheckReading(const SheetTrial& t, const scan::SheetReading& r, QDate today) {
    const Owed owed = OwedFor(t);
    if (r.outcome != scan::SheetOutcome::Read) {
        if (RefusalText(r).isEmpty()) {
            return QStringLiteral("refused without a reason");
        }
        if (!(r.values == scan::ScannedSheet{}) || !r.doubtful.isEmpty()) {
            return QStringLiteral("refused (%1) with values").arg(RefusalText(r));
        }
        return owed.read ? QStringLiteral("refused: %1").arg(RefusalText(r)) : QString();
    }
    if (owed.refusal) {
        return QStringLiteral("read a sheet it must refuse (printed at %1, read as %2)")
            .arg(t.options.printScale)
            .arg(r.scale);
    }
    QString range = outOfRange(r, today);
    if (!range.isEmpty() || !owed.exact) {
        return range;
    }
    return misread(t, r, today);
}

} // namespace tov::sheetgen
