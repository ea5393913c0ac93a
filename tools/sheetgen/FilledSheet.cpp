#include "sheetgen/FilledSheet.h"

#include "scan/SheetGeometry.h"
#include "scan/SheetPainter.h"

#include <QFont>
#include <QPainter>
#include <QTransform>

#include <cmath>

namespace tov::sheetgen {

namespace {

// Field numbers (reading order) where each part of the sheet starts.
constexpr int SsnField = 0;
constexpr int BirthField = 9;
constexpr int BacZeroField = 15;
constexpr int BacField = 16;
constexpr int ArrestField = 18;
constexpr int GenderField = 24;
constexpr int CountField = 28;
constexpr int StaffZeroField = 36;
constexpr int StaffBacField = 37;
constexpr int StaffPriorField = 39;
constexpr int AnswerField = 40;

int digitAt(const QString& text, int i) {
    const QChar c = i < text.size() ? text.at(i) : QChar();
    return c >= QLatin1Char('0') && c <= QLatin1Char('9') ? c.unicode() - '0' : -1;
}

QString digitOrN(const QString& text, int i) {
    const int d = digitAt(text, i);
    return d < 0 ? QStringLiteral("N") : QString::number(d);
}

// mmddyy of a date, or six blanks.
QString sixDigits(QDate date) {
    return date.isValid() ? date.toString(QStringLiteral("MMddyy")) : QStringLiteral("      ");
}

QString expectedDate(QDate date) {
    return date.isValid() ? date.toString(QStringLiteral("MM/dd/yyyy"))
                          : QStringLiteral("NN/NN/19NN");
}

QString expectedBac(bool zero, const QString& digits) {
    return zero ? QStringLiteral("0")
                : QLatin1Char('.') + digitOrN(digits, 0) + digitOrN(digits, 1);
}

struct MarkSpot {
    QPointF centre; // in image pixels
    double radius;
    double lightShare; // share of the mark's pixels the pencil missed
};

} // namespace

std::vector<int> MarkedBubbles(const SheetValues& v) {
    std::vector<int> marks(113, -1);
    const auto set = [&marks](int field, int bubble) {
        marks[static_cast<std::size_t>(field)] = bubble;
    };
    for (int i = 0; i < 9; ++i) {
        set(SsnField + i, digitAt(v.ssn, i));
    }
    const QString birth = sixDigits(v.dateOfBirth);
    const QString arrest = sixDigits(v.arrestDate);
    for (int i = 0; i < 6; ++i) {
        set(BirthField + i, digitAt(birth, i));
        set(ArrestField + i, digitAt(arrest, i));
    }
    set(BacZeroField, v.bacZero ? 0 : -1);
    set(StaffZeroField, v.staffBacZero ? 0 : -1);
    for (int i = 0; i < 2; ++i) {
        set(BacField + i, digitAt(v.bac, i));
        set(StaffBacField + i, digitAt(v.staffBac, i));
    }
    const int choices[] = {v.gender, v.race, v.education, v.marital};
    for (int i = 0; i < 4; ++i) {
        set(GenderField + i, choices[i] - 1);
    }
    for (int i = 0; i < 8; ++i) {
        set(CountField + i, v.counts[static_cast<std::size_t>(i)]);
    }
    set(StaffPriorField, v.staffPriorDUI);
    for (int i = 0; i < 73; ++i) {
        set(AnswerField + i, digitAt(v.answers, i) - 1);
    }
    return marks;
}

QImage RenderFilledSheet(const SheetValues& values, const RenderOptions& options) {
    const scan::SheetGeometry sheet = scan::AnswerSheetGeometry();
    QRandomGenerator random(options.seed);
    const auto uniform = [&random](double lo, double hi) {
        return lo + (hi - lo) * random.generateDouble();
    };

    QImage image(scan::SheetGeometry::Width, scan::SheetGeometry::Height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    // The sheet turned about the middle of its top edge, as a page skewed against the top guide.
    p.translate(options.offset);
    p.translate(scan::SheetGeometry::Width / 2.0, 0);
    p.rotate(options.angle);
    p.translate(-scan::SheetGeometry::Width / 2.0, 0);
    scan::PaintAnswerSheet(p, sheet);

    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    std::vector<MarkSpot> spots;
    const std::vector<int> marks = MarkedBubbles(values);
    for (std::size_t k = 0; k < marks.size() && k < sheet.fields.size(); ++k) {
        const scan::SheetField& f = sheet.fields[k];
        if (marks[k] < 0 || marks[k] >= f.count) {
            continue;
        }
        const QPoint window = f.bubble(marks[k]);
        const QPointF centre(window.x() + 7.5 + uniform(-0.8, 0.8),
                             window.y() + 7.5 + uniform(-0.8, 0.8));
        const double rx = uniform(5.2, 7.0);
        const double ry = std::clamp(rx + uniform(-0.8, 0.8), 5.0, 7.2);
        const int grey = static_cast<int>(uniform(options.darkestPencil, options.lightestPencil));
        p.setBrush(QColor(grey, grey, grey + 4 > 255 ? 255 : grey + 4));
        p.drawEllipse(centre, rx, ry);
        spots.push_back({p.transform().map(centre), std::min(rx, ry), uniform(0.0, 0.2)});
    }
    // The digits written in the boxes over the columns, as a client does before filling them.
    QFont hand(QStringLiteral("DejaVu Sans"));
    hand.setPixelSize(15);
    p.setFont(hand);
    for (std::size_t k = 0; k < marks.size() && k < sheet.fields.size(); ++k) {
        const scan::SheetField& f = sheet.fields[k];
        if (f.kind != scan::FieldKind::Digit || f.count == 1 || marks[k] < 0) {
            continue;
        }
        const int grey = static_cast<int>(uniform(options.darkestPencil, options.lightestPencil));
        p.setPen(QColor(grey, grey, grey));
        p.drawText(
            QRectF(f.first.x() - 3 + uniform(-1, 1), f.first.y() - 25 + uniform(-1, 1), 21, 21),
            Qt::AlignCenter, QString::number(marks[k]));
    }
    p.setPen(Qt::NoPen);
    if (options.strayMark) {
        // A light touch of pencil: too faint to survive preparation.
        const QPointF from(uniform(60, 780), uniform(150, 1350));
        const QPointF to = from + QPointF(uniform(-120, 120), uniform(-60, 60));
        QPen pen(QColor(200, 200, 200));
        pen.setWidthF(3.0);
        pen.setCapStyle(Qt::RoundCap);
        p.setPen(pen);
        p.drawLine(from, to);
    }
    p.end();

    // Where the pencil skipped over the paper grain, inside the marks.
    for (const MarkSpot& s : spots) {
        const int r = static_cast<int>(std::ceil(s.radius));
        for (int dy = -r; dy <= r; ++dy) {
            for (int dx = -r; dx <= r; ++dx) {
                const int x = static_cast<int>(s.centre.x()) + dx;
                const int y = static_cast<int>(s.centre.y()) + dy;
                if (x < 0 || y < 0 || x >= image.width() || y >= image.height() ||
                    random.generateDouble() >= s.lightShare) {
                    continue;
                }
                image.setPixel(x, y, qRgb(215, 215, 215));
            }
        }
    }
    for (int i = 0; i < options.speckles; ++i) {
        const int x = random.bounded(image.width());
        const int y = random.bounded(image.height());
        const int grey = random.bounded(20, 100);
        image.setPixel(x, y, qRgb(grey, grey, grey));
    }
    return image;
}

scan::ScannedSheet ExpectedReading(const SheetValues& v, QDate today) {
    scan::ScannedSheet s;
    for (int i = 0; i < 9; ++i) {
        s.SSN += digitOrN(v.ssn, i);
        if (i == 2 || i == 4) {
            s.SSN += QLatin1Char('-');
        }
    }
    s.DateOfBirth = expectedDate(v.dateOfBirth);
    s.Age = v.dateOfBirth.isValid() ? QString::number(today.year() - v.dateOfBirth.year())
                                    : QStringLiteral("N");
    s.BAC = expectedBac(v.bacZero, v.bac);
    s.DateOfPresentArrest = expectedDate(v.arrestDate);
    s.Gender = QString::number(v.gender);
    s.Race = QString::number(v.race);
    s.Education = QString::number(v.education);
    s.Marital = QString::number(v.marital);
    QString* counts[] = {&s.PriorDUI,    &s.COSupervision, &s.Reckless,       &s.SSSuspend,
                         &s.MViolations, &s.Accidents,     &s.AlcoholArrests, &s.DrugArrests};
    for (int i = 0; i < 8; ++i) {
        const int c = v.counts[static_cast<std::size_t>(i)];
        *counts[i] = c < 0 ? QStringLiteral("N") : QString::number(c);
    }
    s.StBAC = expectedBac(v.staffBacZero, v.staffBac);
    s.StPriorDUI = v.staffPriorDUI < 0 ? QStringLiteral("N") : QString::number(v.staffPriorDUI);
    s.ScannedAnswers = v.answers;
    return s;
}

SheetValues RandomSheetValues(QRandomGenerator& random, QDate today) {
    SheetValues v;
    const auto chance = [&random](int percent) { return random.bounded(100) < percent; };
    const auto digits = [&](int n, int blankPercent) {
        QString text;
        for (int i = 0; i < n; ++i) {
            text += chance(blankPercent) ? QLatin1Char(' ')
                                         : QChar(QLatin1Char('0').unicode() + random.bounded(10));
        }
        return text;
    };
    const auto date = [&](int fromYear, int toYear) {
        const QDate first(fromYear, 1, 1);
        const QDate last = std::min(QDate(toYear, 12, 31), today);
        return first.addDays(random.bounded(static_cast<int>(first.daysTo(last)) + 1));
    };
    v.ssn = digits(9, 3);
    // Births within the century the two-digit year can name: up to 96 years back.
    v.dateOfBirth = chance(5) ? QDate() : date(today.year() - 96, today.year() - 16);
    v.bacZero = chance(5);
    v.bac = v.bacZero ? QStringLiteral("  ") : digits(2, 5);
    v.arrestDate = chance(5) ? QDate() : date(today.year() - 10, today.year());
    v.gender = random.bounded(3);
    v.race = random.bounded(10);
    v.education = random.bounded(6);
    v.marital = random.bounded(6);
    for (int& c : v.counts) {
        c = chance(10) ? -1 : random.bounded(10);
    }
    v.staffBacZero = chance(5);
    v.staffBac = v.staffBacZero ? QStringLiteral("  ") : digits(2, 5);
    v.staffPriorDUI = chance(10) ? -1 : random.bounded(10);
    v.answers.clear();
    for (int item = 1; item <= 73; ++item) {
        const int choices = item > 67 ? 4 : 2;
        v.answers += QString::number(chance(3) ? 0 : 1 + random.bounded(choices));
    }
    return v;
}

} // namespace tov::sheetgen
