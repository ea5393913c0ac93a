#include "sheetgen/FilledSheet.h"

#include "scan/SheetGeometry.h"
#include "scan/SheetPainter.h"

#include <QBuffer>
#include <QFont>
#include <QImageReader>
#include <QPainter>
#include <QPolygonF>
#include <QTransform>

#include <algorithm>
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

QTransform SheetToPage(const RenderOptions& o) {
    const double w = scan::SheetGeometry::Width;
    const double h = scan::SheetGeometry::Height;
    const QTransform print = QTransform()
                                 .translate(w / 2, h / 2)
                                 .scale(o.printScale, o.printScale)
                                 .translate(-w / 2, -h / 2);
    const QTransform stretch = QTransform::fromScale(1, o.stretch);
    QTransform bend;
    if (o.keystone != 0) {
        const double widen = o.keystone * w / 2;
        QPolygonF flat;
        flat << QPointF(0, 0) << QPointF(w, 0) << QPointF(w, h) << QPointF(0, h);
        QPolygonF bent;
        bent << QPointF(0, 0) << QPointF(w, 0) << QPointF(w + widen, h) << QPointF(-widen, h);
        QTransform::quadToQuad(flat, bent, bend);
    }
    const QPointF pivot =
        o.pivot == RenderOptions::Pivot::Centre ? QPointF(w / 2, h / 2) : QPointF(w / 2, 0);
    const QTransform place = QTransform()
                                 .translate(o.offset.x(), o.offset.y())
                                 .translate(pivot.x(), pivot.y())
                                 .rotate(o.angle)
                                 .translate(-pivot.x(), -pivot.y());
    const double k = o.dpi / 100.0;
    return print * stretch * bend * place * QTransform::fromScale(k, k);
}

namespace {

void boxBlur(QImage& image, int radius) {
    const QImage source = image;
    const int w = image.width();
    const int h = image.height();
    for (int y = 0; y < h; ++y) {
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            int r = 0;
            int g = 0;
            int b = 0;
            int n = 0;
            for (int j = std::max(0, y - radius); j <= std::min(h - 1, y + radius); ++j) {
                const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(j));
                for (int i = std::max(0, x - radius); i <= std::min(w - 1, x + radius); ++i) {
                    r += qRed(in[i]);
                    g += qGreen(in[i]);
                    b += qBlue(in[i]);
                    ++n;
                }
            }
            out[x] = qRgb(r / n, g / n, b / n);
        }
    }
}

scan::PrintStyle printStyle(bool heavy) {
    scan::PrintStyle style;
    if (heavy) {
        style.ink = QColor(50, 110, 210);
        style.lineWidth = 1.6;
    }
    return style;
}

} // namespace

QImage RenderFilledSheet(const SheetValues& values, const RenderOptions& options) {
    SheetRenderer renderer(SheetRenderer::Print::Drawn);
    return renderer.render(values, options);
}

const QImage& SheetRenderer::form(int times, bool heavy) {
    for (const Form& f : forms_) {
        if (f.times == times && f.heavy == heavy) {
            return f.image;
        }
    }
    QImage image(scan::SheetGeometry::Width * times, scan::SheetGeometry::Height * times,
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.scale(times, times);
    scan::PaintAnswerSheet(p, scan::AnswerSheetGeometry(), printStyle(heavy));
    p.end();
    forms_.push_back({times, heavy, image});
    return forms_.back().image;
}

QImage SheetRenderer::render(const SheetValues& values, const RenderOptions& options) {
    const scan::SheetGeometry sheet = scan::AnswerSheetGeometry();
    QRandomGenerator random(options.seed);
    const auto uniform = [&random](double lo, double hi) {
        return lo + (hi - lo) * random.generateDouble();
    };
    // Draws across, then down: as two arguments of one call they would come in whichever order
    // the compiler chose, and pages would differ between builds.
    const auto shift = [&uniform](double lo, double hi, double downLo, double downHi) {
        const double across = uniform(lo, hi);
        return QPointF(across, uniform(downLo, downHi));
    };
    const double k = options.dpi / 100.0;
    const QColor paper = options.tint ? QColor(250, 244, 222) : QColor(Qt::white);

    const QSize size(static_cast<int>(std::lround(scan::SheetGeometry::Width * k)),
                     static_cast<int>(std::lround(scan::SheetGeometry::Height * k)));
    if (canvas_.size() != size) {
        canvas_ = QImage(size, QImage::Format_RGB32);
    }
    QImage& image = canvas_;
    image.fill(paper);
    QPainter p(&image);
    const QTransform toPage = SheetToPage(options);
    if (!options.paper.isNull()) {
        // The printed page as it is, laid on the glass as the sheet would be.
        RenderOptions unscaled = options;
        unscaled.printScale = 1.0;
        p.setTransform(SheetToPage(unscaled));
        p.setRenderHint(QPainter::SmoothPixmapTransform, true);
        p.drawImage(QRectF(0, 0, scan::SheetGeometry::Width, scan::SheetGeometry::Height),
                    options.paper);
    } else if (print_ == Print::Laid) {
        // The form at about the page's resolution, laid where the drawn print would be.
        const int times = std::max(1, static_cast<int>(std::ceil(k)));
        p.setTransform(QTransform::fromScale(1.0 / times, 1.0 / times) * toPage);
        p.setRenderHint(QPainter::SmoothPixmapTransform, true);
        p.drawImage(0, 0, form(times, options.heavyPrint));
    }
    p.setTransform(toPage);
    if (options.paper.isNull() && print_ == Print::Drawn) {
        scan::PaintAnswerSheet(p, sheet, printStyle(options.heavyPrint));
    }

    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    std::vector<MarkSpot> spots;
    const std::vector<int> marks = MarkedBubbles(values);
    const std::vector<int> doubled = DoubledFields(values, options);
    std::vector<QPoint> empty; // bubbles left empty, for dots and smudges
    for (std::size_t f = 0; f < marks.size() && f < sheet.fields.size(); ++f) {
        const scan::SheetField& field = sheet.fields[f];
        for (int i = 0; i < field.count; ++i) {
            if (i != marks[f]) {
                empty.push_back(field.bubble(i));
            }
        }
        if (marks[f] < 0 || marks[f] >= field.count) {
            continue;
        }
        const QPoint window = field.bubble(marks[f]);
        const QPointF centre = QPointF(window) + QPointF(7.5, 7.5) + shift(-0.8, 0.8, -0.8, 0.8);
        const double rx = uniform(5.2, 7.0);
        const double ry = std::clamp(rx + uniform(-0.8, 0.8), 5.0, 7.2);
        // A mark doubled later is filled firmly and evenly, so that its twin is as dark.
        const bool twin =
            std::find(doubled.begin(), doubled.end(), static_cast<int>(f)) != doubled.end();
        const int drawnGrey =
            static_cast<int>(uniform(options.darkestPencil, options.lightestPencil));
        const int grey = twin ? 40 : drawnGrey;
        const double rxDrawn = twin ? 6.5 : rx;
        const double ryDrawn = twin ? 6.5 : ry;
        p.setBrush(QColor(grey, grey, grey + 4 > 255 ? 255 : grey + 4));
        p.drawEllipse(twin ? QPointF(window) + QPointF(7.5, 7.5) : centre, rxDrawn, ryDrawn);
        const double skipped = uniform(0.0, 0.2);
        spots.push_back({toPage.map(centre), std::min(rxDrawn, ryDrawn) * k * options.printScale,
                         twin ? 0.0 : skipped});
    }
    // A second mark after the first in some fields, nearly as dark (so the first still wins):
    // one client's change of mind.
    for (const int f : DoubledFields(values, options)) {
        const scan::SheetField& field = sheet.fields[static_cast<std::size_t>(f)];
        const QPoint window = field.bubble(marks[static_cast<std::size_t>(f)] + 1);
        p.setBrush(QColor(55, 55, 59));
        p.drawEllipse(QPointF(window) + QPointF(7.5, 7.5), 6.5, 6.5);
    }
    // The digits written in the boxes over the columns, as a client does before filling them.
    QFont hand(QStringLiteral("DejaVu Sans"));
    hand.setPixelSize(15);
    p.setFont(hand);
    for (std::size_t f = 0; f < marks.size() && f < sheet.fields.size(); ++f) {
        const scan::SheetField& field = sheet.fields[f];
        if (field.kind != scan::FieldKind::Digit || field.count == 1 || marks[f] < 0) {
            continue;
        }
        const int grey = static_cast<int>(uniform(options.darkestPencil, options.lightestPencil));
        p.setPen(QColor(grey, grey, grey));
        p.drawText(
            QRectF(QPointF(field.first) + QPointF(-3, -25) + shift(-1, 1, -1, 1), QSizeF(21, 21)),
            Qt::AlignCenter, QString::number(marks[f]));
    }
    p.setPen(Qt::NoPen);
    // Pencil only ever darkens the paper: a light stroke across a mark leaves the mark as dark.
    p.setCompositionMode(QPainter::CompositionMode_Darken);
    // Takes an empty bubble for a dot or a smudge, each bubble once.
    const auto emptyBubble = [&]() {
        const auto k = random.bounded(static_cast<quint32>(empty.size()));
        const QPoint window = empty[k];
        empty.erase(empty.begin() + k);
        return window;
    };
    // A dot of 1 mm, firm pencil, somewhere inside an empty bubble.
    for (int d = 0; d < options.strayDots && !empty.empty(); ++d) {
        const QPoint window = emptyBubble();
        const int grey = static_cast<int>(uniform(40, 90));
        p.setBrush(QColor(grey, grey, grey));
        p.drawEllipse(QPointF(window) + QPointF(7.5, 7.5) + shift(-3, 3, -3, 3), 2.0, 2.0);
    }
    // An erased mark: a smudge over most of the bubble.
    for (int e = 0; e < options.erasures && !empty.empty(); ++e) {
        const QPoint window = emptyBubble();
        const int grey = static_cast<int>(uniform(205, 225));
        p.setBrush(QColor(grey, grey, grey));
        const QPointF radii = shift(5, 7, 5, 7);
        p.drawEllipse(QPointF(window) + QPointF(7.5, 7.5), radii.x(), radii.y());
    }
    if (options.strayMark) {
        // A light touch of pencil: too faint to count.
        const QPointF from = shift(60, 780, 150, 1350);
        const QPointF to = from + shift(-120, 120, -60, 60);
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
    if (options.blur) {
        boxBlur(image, std::max(1, options.dpi / 100));
    }

    const double statedDpi = options.stated == RenderOptions::Stated::Wrong ? 72.0 : options.dpi;
    const int dpm = options.stated == RenderOptions::Stated::Nothing
                        ? QImage(1, 1, QImage::Format_RGB32).dotsPerMeterX()
                        : static_cast<int>(std::lround(statedDpi / 0.0254));
    // Stated before the page shares the canvas, so that stating it again below copies nothing.
    image.setDotsPerMeterX(dpm);
    image.setDotsPerMeterY(dpm);
    QImage page = image;
    switch (options.output) {
    case RenderOptions::Output::Colour:
        break;
    case RenderOptions::Output::Grey:
        page = image.convertToFormat(QImage::Format_Grayscale8);
        break;
    case RenderOptions::Output::BlackAndWhite: {
        QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
        for (int y = 0; y < grey.height(); ++y) {
            uchar* line = grey.scanLine(y);
            for (int x = 0; x < grey.width(); ++x) {
                line[x] = line[x] < options.blackLevel ? 0 : 255;
            }
        }
        page = grey.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
        break;
    }
    }
    if (options.jpegQuality > 0) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        page.save(&buffer, "JPEG", options.jpegQuality);
        // A 600 dpi page is larger than the image reader takes by default.
        const int limit = QImageReader::allocationLimit();
        QImageReader::setAllocationLimit(0);
        page = QImage::fromData(bytes, "JPEG");
        QImageReader::setAllocationLimit(limit);
    }
    if (options.keepHeight > 0) {
        page = page.copy(
            0, 0, page.width(),
            std::min(page.height(), static_cast<int>(std::lround(options.keepHeight * k))));
    }
    page.setDotsPerMeterX(dpm);
    page.setDotsPerMeterY(dpm);
    return page;
}

std::vector<int> DoubledFields(const SheetValues& values, const RenderOptions& options) {
    const scan::SheetGeometry sheet = scan::AnswerSheetGeometry();
    const std::vector<int> marks = MarkedBubbles(values);
    std::vector<int> candidates;
    for (std::size_t f = 0; f < marks.size() && f < sheet.fields.size(); ++f) {
        if (marks[f] >= 0 && marks[f] + 1 < sheet.fields[f].count) {
            candidates.push_back(static_cast<int>(f));
        }
    }
    QRandomGenerator random(options.seed ^ 0x5eedU);
    std::vector<int> chosen;
    for (int k = 0; k < options.doubled && !candidates.empty(); ++k) {
        const auto at = random.bounded(static_cast<quint32>(candidates.size()));
        chosen.push_back(candidates[at]);
        candidates.erase(candidates.begin() + at);
    }
    std::sort(chosen.begin(), chosen.end());
    return chosen;
}

QStringList ExpectedDoubts(const SheetValues& values, const RenderOptions& options) {
    static const char* const counts[] = {"prior_dui",       "co_supervision", "reckless",
                                         "ss_suspend",      "m_violations",   "accidents",
                                         "alcohol_arrests", "drug_arrests"};
    QStringList names;
    for (const int f : DoubledFields(values, options)) {
        QString name;
        if (f < BirthField) {
            name = QStringLiteral("ssn");
        } else if (f < BacZeroField) {
            name = QStringLiteral("dob");
        } else if (f < ArrestField) {
            name = QStringLiteral("bac");
        } else if (f < GenderField) {
            name = QStringLiteral("arrest_date");
        } else if (f < CountField) {
            static const char* const choices[] = {"gender", "race", "education", "marital"};
            name = QString::fromLatin1(choices[f - GenderField]);
        } else if (f < StaffZeroField) {
            name = QString::fromLatin1(counts[f - CountField]);
        } else if (f < StaffPriorField) {
            name = QStringLiteral("st_bac");
        } else if (f < AnswerField) {
            name = QStringLiteral("st_prior_dui");
        } else {
            name = QStringLiteral("item%1").arg(f - AnswerField + 1);
        }
        if (!names.contains(name)) {
            names << name;
        }
    }
    return names;
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

SheetValues DrawSheetValues(Choices& choose, QDate today) {
    SheetValues v;
    const auto chance = [&choose](int percent) { return choose.chance(percent); };
    const auto digits = [&](int n, int blankPercent) {
        QString text;
        for (int i = 0; i < n; ++i) {
            text += chance(blankPercent) ? QLatin1Char(' ')
                                         : QChar(QLatin1Char('0').unicode() + choose.number(0, 9));
        }
        return text;
    };
    const auto date = [&](int fromYear, int toYear) {
        const QDate first(fromYear, 1, 1);
        const QDate last = std::min(QDate(toYear, 12, 31), today);
        return first.addDays(choose.number(0, static_cast<int>(first.daysTo(last))));
    };
    v.ssn = digits(9, 3);
    // Births within the century the two-digit year can name: up to 96 years back.
    v.dateOfBirth = chance(5) ? QDate() : date(today.year() - 96, today.year() - 16);
    v.bacZero = chance(5);
    v.bac = v.bacZero ? QStringLiteral("  ") : digits(2, 5);
    v.arrestDate = chance(5) ? QDate() : date(today.year() - 10, today.year());
    v.gender = choose.number(0, 2);
    v.race = choose.number(0, 9);
    v.education = choose.number(0, 5);
    v.marital = choose.number(0, 5);
    for (int& c : v.counts) {
        c = chance(10) ? -1 : choose.number(0, 9);
    }
    v.staffBacZero = chance(5);
    v.staffBac = v.staffBacZero ? QStringLiteral("  ") : digits(2, 5);
    v.staffPriorDUI = chance(10) ? -1 : choose.number(0, 9);
    v.answers.clear();
    for (int item = 1; item <= 73; ++item) {
        const int choices = item > 67 ? 4 : 2;
        v.answers += QString::number(chance(3) ? 0 : choose.number(1, choices));
    }
    return v;
}

SheetValues RandomSheetValues(QRandomGenerator& random, QDate today) {
    RandomChoices choose(random);
    return DrawSheetValues(choose, today);
}

} // namespace tov::sheetgen
