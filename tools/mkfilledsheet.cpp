// Renders a filled answer sheet as a scanner would deliver it, for trying the reader by hand.
//
//   mkfilledsheet OUT.png [--seed N] [--angle DEG] [--offset X,Y] [--stray] [--today YYYY-MM-DD]
//
// The values are a random client drawn from the seed; they are printed as name=value lines in
// the form tov2sf-markread prints what it reads.

#include "sheetgen/FilledSheet.h"

#include <QGuiApplication>

#include <cstdio>

using namespace tov;

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args[0].startsWith(QLatin1String("--"))) {
        std::fprintf(stderr, "usage: mkfilledsheet OUT.png [--seed N] [--angle DEG] "
                             "[--offset X,Y] [--stray] [--today YYYY-MM-DD]\n");
        return 2;
    }
    sheetgen::RenderOptions options;
    QDate today = QDate::currentDate();
    for (int i = 1; i < args.size(); ++i) {
        const QString next = args.value(i + 1);
        if (args[i] == QLatin1String("--seed")) {
            options.seed = next.toUInt();
            ++i;
        } else if (args[i] == QLatin1String("--angle")) {
            options.angle = next.toDouble();
            ++i;
        } else if (args[i] == QLatin1String("--offset")) {
            options.offset = QPoint(next.section(QLatin1Char(','), 0, 0).toInt(),
                                    next.section(QLatin1Char(','), 1, 1).toInt());
            ++i;
        } else if (args[i] == QLatin1String("--stray")) {
            options.strayMark = true;
        } else if (args[i] == QLatin1String("--today")) {
            today = QDate::fromString(next, Qt::ISODate);
            ++i;
        } else {
            std::fprintf(stderr, "mkfilledsheet: unknown option %s\n", qPrintable(args[i]));
            return 2;
        }
    }
    if (!today.isValid()) {
        std::fprintf(stderr, "mkfilledsheet: --today needs YYYY-MM-DD\n");
        return 2;
    }
    QRandomGenerator random(options.seed);
    const sheetgen::SheetValues values = sheetgen::RandomSheetValues(random, today);
    if (!sheetgen::RenderFilledSheet(values, options).save(args[0])) {
        std::fprintf(stderr, "mkfilledsheet: cannot write %s\n", qPrintable(args[0]));
        return 1;
    }
    const scan::ScannedSheet s = sheetgen::ExpectedReading(values, today);
    for (const auto& [name, value] : scan::NamedValues(s)) {
        std::printf("%s=%s\n", qPrintable(name), qPrintable(value));
    }
    return 0;
}
