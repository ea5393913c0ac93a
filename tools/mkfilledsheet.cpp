// Renders a filled answer sheet as a scanner would deliver it, for trying the reader by hand.
//
//   mkfilledsheet OUT.png|.jpg|.tif|.bmp|.pdf [options]   (--help lists them)
//
// The values are a random client drawn from the seed; they are printed as name=value lines in
// the form tov2sf-markread prints what it reads, with the doubtful= line it should print.

#include "sheetgen/FilledSheet.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "scan/PageFile.h"

#include <cstdio>

using namespace tov;
using Options = sheetgen::RenderOptions;

namespace {

bool pair(const QString& text, double& a, double& b) {
    const QStringList parts = text.split(QLatin1Char(','));
    bool ok1 = false;
    bool ok2 = false;
    if (parts.size() == 2) {
        a = parts[0].toDouble(&ok1);
        b = parts[1].toDouble(&ok2);
    }
    return ok1 && ok2;
}

// The page as a copier's "scan to folder" PDF: a legal page holding the scanned image, after a
// blank one when asked.
bool savePdf(const QString& path, const QImage& page, int dpi, bool cover) {
    QPdfWriter pdf(path);
    pdf.setResolution(dpi);
    pdf.setPageLayout(
        QPageLayout(QPageSize(QPageSize::Legal), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPainter p;
    if (!p.begin(&pdf)) {
        return false;
    }
    if (cover) {
        pdf.newPage();
    }
    p.drawImage(QRect(0, 0, page.width(), page.height()), page);
    return p.end();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Renders a random client's filled answer sheet as scanned, saves it as "
                       "OUT (the format by its ending) and prints the values it holds."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("OUT"), QStringLiteral("The page file to write."));
    const auto value = [&parser](const char* name, const char* help, const char* valueName) {
        const QCommandLineOption o(QString::fromLatin1(name), QString::fromLatin1(help),
                                   QString::fromLatin1(valueName));
        parser.addOption(o);
        return o;
    };
    const auto flag = [&parser](const char* name, const char* help) {
        const QCommandLineOption o(QString::fromLatin1(name), QString::fromLatin1(help));
        parser.addOption(o);
        return o;
    };
    const auto seed = value("seed", "The client and the marks' sizes and shades.", "N");
    const auto today = value("today", "The day the dates are drawn up to.", "YYYY-MM-DD");
    const auto printScale = value("print-scale", "Printed at this scale (0.97: fit to page).", "F");
    const auto heavy = flag("heavy-print", "Lines printed heavier and darker.");
    const auto pencil = value("pencil", "Greys of the faintest and the firmest marks.", "L,D");
    const auto stray = flag("stray", "A light pencil stroke somewhere.");
    const auto dots = value("dots", "1 mm pencil dots in empty bubbles.", "N");
    const auto erasures = value("erasures", "Rubbed-out marks in empty bubbles.", "N");
    const auto doubled =
        value("doubled", "Fields with a second mark nearly as dark as the first.", "N");
    const auto paper = value("paper",
                             "A printed sheet (a page image, or page 1 of a PDF) to fill "
                             "in; --print-scale says what it was printed at.",
                             "FILE");
    const auto cover = flag("cover", "A blank page before the sheet (PDF).");
    const auto stretch = value("stretch", "The paper drawn longer by a sheet feeder.", "F");
    const auto angle = value("angle", "Turned by DEG degrees, clockwise.", "DEG");
    const auto centre = flag("about-centre", "Turned about the page's centre (else its top).");
    const auto offset = value("offset", "Where the paper lies on the glass, 1/100 inch.", "X,Y");
    const auto keystone = value("keystone", "The bottom edge wider by this share.", "F");
    const auto tint = flag("tint", "Cream paper.");
    const auto blur = flag("blur", "A blurred scan.");
    const auto dpi = value("dpi", "Scanned at this resolution.", "N");
    const auto stated = value("stated", "The resolution the file states: yes, none, wrong.", "S");
    const auto grey = flag("grey", "A greyscale scan.");
    const auto bw = value("bw", "A black-and-white scan, greys below LEVEL black.", "LEVEL");
    const auto jpeg = value("jpeg", "Passed through JPEG at this quality.", "Q");
    const auto cut = value("cut", "The scan stops after this many 1/100 inches.", "H");
    parser.process(app);
    if (parser.positionalArguments().size() != 1) {
        std::fputs(qPrintable(parser.helpText()), stderr);
        return 2;
    }
    Options o;
    QDate day = QDate::currentDate();
    bool ok = true;
    const auto number = [&](const QCommandLineOption& opt, auto& into) {
        if (parser.isSet(opt)) {
            bool good = false;
            into = static_cast<std::decay_t<decltype(into)>>(parser.value(opt).toDouble(&good));
            ok = ok && good;
        }
    };
    number(seed, o.seed);
    number(printScale, o.printScale);
    number(dots, o.strayDots);
    number(erasures, o.erasures);
    number(doubled, o.doubled);
    number(stretch, o.stretch);
    number(angle, o.angle);
    number(keystone, o.keystone);
    number(dpi, o.dpi);
    number(jpeg, o.jpegQuality);
    number(cut, o.keepHeight);
    if (parser.isSet(today)) {
        day = QDate::fromString(parser.value(today), Qt::ISODate);
        ok = ok && day.isValid();
    }
    if (parser.isSet(pencil)) {
        double l = 0;
        double d = 0;
        ok = ok && pair(parser.value(pencil), l, d);
        o.lightestPencil = static_cast<int>(l);
        o.darkestPencil = static_cast<int>(d);
    }
    if (parser.isSet(offset)) {
        double x = 0;
        double y = 0;
        ok = ok && pair(parser.value(offset), x, y);
        o.offset = QPoint(static_cast<int>(x), static_cast<int>(y));
    }
    if (parser.isSet(stated)) {
        const QString s = parser.value(stated);
        o.stated = s == QLatin1String("none")    ? Options::Stated::Nothing
                   : s == QLatin1String("wrong") ? Options::Stated::Wrong
                                                 : Options::Stated::Resolution;
        ok = ok && (s == QLatin1String("yes") || s == QLatin1String("none") ||
                    s == QLatin1String("wrong"));
    }
    o.heavyPrint = parser.isSet(heavy);
    o.strayMark = parser.isSet(stray);
    o.pivot = parser.isSet(centre) ? Options::Pivot::Centre : Options::Pivot::TopMiddle;
    o.tint = parser.isSet(tint);
    o.blur = parser.isSet(blur);
    if (parser.isSet(grey)) {
        o.output = Options::Output::Grey;
    }
    if (parser.isSet(bw)) {
        o.output = Options::Output::BlackAndWhite;
        number(bw, o.blackLevel);
    }
    if (parser.isSet(paper)) {
        scan::PageFile file(parser.value(paper));
        o.paper = file.pageCount() > 0 ? file.page(0) : QImage();
        ok = ok && !o.paper.isNull();
    }
    if (!ok) {
        std::fprintf(stderr, "mkfilledsheet: a value is not understood (--help lists them)\n");
        return 2;
    }
    QRandomGenerator random(o.seed);
    const sheetgen::SheetValues values = sheetgen::RandomSheetValues(random, day);
    const QString out = parser.positionalArguments().constFirst();
    const QImage page = sheetgen::RenderFilledSheet(values, o);
    const bool saved = out.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)
                           ? savePdf(out, page, o.dpi, parser.isSet(cover))
                           : page.save(out);
    if (!saved) {
        std::fprintf(stderr, "mkfilledsheet: cannot write %s\n", qPrintable(out));
        return 1;
    }
    const scan::ScannedSheet s = sheetgen::ExpectedReading(values, day);
    for (const auto& [name, v] : scan::NamedValues(s)) {
        std::printf("%s=%s\n", qPrintable(name), qPrintable(v));
    }
    std::printf("doubtful=%s\n",
                qPrintable(sheetgen::ExpectedDoubts(values, o).join(QLatin1Char(','))));
    return 0;
}
