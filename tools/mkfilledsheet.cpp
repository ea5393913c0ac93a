// Renders a filled answer sheet as a scanner would deliver it, for trying the reader by hand.
//
//   mkfilledsheet OUT.png|.jpg|.tif|.bmp [options]   (--help lists them)
//
// The values are a random client drawn from the seed; they are printed as name=value lines in
// the form tov2sf-markread prints what it reads.

#include "sheetgen/FilledSheet.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QImageWriter>

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
    if (!ok) {
        std::fprintf(stderr, "mkfilledsheet: a value is not understood (--help lists them)\n");
        return 2;
    }
    QRandomGenerator random(o.seed);
    const sheetgen::SheetValues values = sheetgen::RandomSheetValues(random, day);
    const QString out = parser.positionalArguments().constFirst();
    if (!sheetgen::RenderFilledSheet(values, o).save(out)) {
        std::fprintf(stderr, "mkfilledsheet: cannot write %s\n", qPrintable(out));
        return 1;
    }
    const scan::ScannedSheet s = sheetgen::ExpectedReading(values, day);
    for (const auto& [name, v] : scan::NamedValues(s)) {
        std::printf("%s=%s\n", qPrintable(name), qPrintable(v));
    }
    return 0;
}
