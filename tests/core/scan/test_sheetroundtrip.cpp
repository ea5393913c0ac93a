// Generated answer sheets, printed, filled and scanned as offices do, read back through the one
// page path; the sheet table of the built question bank; and tov2sf-markread on page files.
#include "app/BankScanItems.h"
#include "app/QuestionBank.h"
#include "scan/MarkReader.h"
#include "scan/PreparedPage.h"
#include "scan/ScanImage.h"
#include "scan/SheetGeometry.h"
#include "sheetgen/FilledSheet.h"

#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <sys/stat.h>

using namespace tov;
using namespace tov::scan;
using sheetgen::RenderOptions;
using sheetgen::SheetValues;

Q_DECLARE_METATYPE(tov::sheetgen::RenderOptions)

namespace {

const QDate Today(2026, 12, 8);

QString programDir() {
    return qEnvironmentVariable("TOV_PROGRAM_DIR");
}

// The named values that differ, for a readable failure.
QString differences(const ScannedSheet& got, const ScannedSheet& want) {
    QString text;
    const auto g = NamedValues(got);
    const auto w = NamedValues(want);
    for (std::size_t i = 0; i < g.size(); ++i) {
        if (g[i].second != w[i].second) {
            text += QStringLiteral("\n  %1: read '%2', filled '%3'")
                        .arg(g[i].first, g[i].second, w[i].second);
        }
    }
    return text;
}

ScannedSheet readBack(const SheetValues& values, const RenderOptions& options,
                      SheetOutcome& outcome) {
    const QImage prepared = PrepareScan(sheetgen::RenderFilledSheet(values, options));
    VectorScanItems items(AnswerSheetGeometry().ScanItemRows());
    const SheetReading reading = ReadAnswerSheet(prepared, items, Today);
    outcome = reading.outcome;
    return reading.values;
}

} // namespace

class TestSheetRoundTrip : public QObject {
    Q_OBJECT

private slots:
    void randomClients_data() {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<double>("angle");
        QTest::addColumn<QPoint>("offset");
        QRandomGenerator random(8);
        for (quint32 client = 1; client <= 60; ++client) {
            QTest::addRow("client %u straight", client) << client << 0.0 << QPoint(0, 0);
            const double angle = client % 10 == 0 ? (client % 20 == 0 ? 2.0 : -2.0)
                                                  : random.generateDouble() * 4.0 - 2.0;
            const QPoint offset(random.bounded(-8, 9), random.bounded(-8, 9));
            QTest::addRow("client %u turned %.2f", client, angle) << client << angle << offset;
        }
    }
    void randomClients() {
        QFETCH(quint32, seed);
        QRandomGenerator random(seed);
        const SheetValues values = sheetgen::RandomSheetValues(random, Today);
        RenderOptions options;
        options.seed = seed;
        QFETCH(double, angle);
        options.angle = angle;
        QFETCH(QPoint, offset);
        options.offset = offset;
        options.strayMark = seed % 2 == 0;
        SheetOutcome outcome{};
        const ScannedSheet read = readBack(values, options, outcome);
        QCOMPARE(outcome, SheetOutcome::Read);
        const ScannedSheet want = sheetgen::ExpectedReading(values, Today);
        QVERIFY2(read == want, qPrintable(differences(read, want)));
    }

    // Sheets as offices print, fill and scan them: every field reads as filled, and only what a
    // client marked twice alike is doubtful.
    void officeConditions_data() {
        QTest::addColumn<RenderOptions>("options");
        QTest::addColumn<quint32>("seed");
        using O = RenderOptions;
        const auto with = [](auto change) {
            O o;
            change(o);
            return o;
        };
        const QList<std::pair<const char*, O>> conditions = {
            {"straight 100 dpi", O{}},
            {"150 dpi", with([](O& o) { o.dpi = 150; })},
            {"200 dpi", with([](O& o) { o.dpi = 200; })},
            {"300 dpi", with([](O& o) { o.dpi = 300; })},
            {"200 dpi stated as 72", with([](O& o) {
                 o.dpi = 200;
                 o.stated = O::Stated::Wrong;
             })},
            {"200 dpi stating none", with([](O& o) {
                 o.dpi = 200;
                 o.stated = O::Stated::Nothing;
             })},
            {"fit to page 0.97", with([](O& o) { o.printScale = 0.97; })},
            {"printed at 0.94", with([](O& o) { o.printScale = 0.94; })},
            {"stretched 1% by a feeder", with([](O& o) { o.stretch = 1.01; })},
            {"turned 2 degrees about the centre", with([](O& o) {
                 o.angle = 2;
                 o.pivot = O::Pivot::Centre;
             })},
            {"turned back 3 degrees about the centre", with([](O& o) {
                 o.angle = -3;
                 o.pivot = O::Pivot::Centre;
             })},
            {"turned 3 degrees about the top", with([](O& o) { o.angle = 3; })},
            {"6 mm off the guide", with([](O& o) { o.offset = QPoint(24, 24); })},
            {"10 mm off the guide", with([](O& o) { o.offset = QPoint(39, 39); })},
            {"greyscale, heavier print", with([](O& o) {
                 o.output = O::Output::Grey;
                 o.heavyPrint = true;
             })},
            {"black and white, darker", with([](O& o) {
                 o.output = O::Output::BlackAndWhite;
                 o.blackLevel = 170;
                 o.heavyPrint = true;
             })},
            {"black and white", with([](O& o) { o.output = O::Output::BlackAndWhite; })},
            // The print dropped by the scan: the marks alone show the paper's stretch.
            {"black and white at 132, fit to page, stretched by a feeder", with([](O& o) {
                 o.output = O::Output::BlackAndWhite;
                 o.blackLevel = 132;
                 o.printScale = 0.94;
                 o.stretch = 1.0066;
             })},
            {"light pencil", with([](O& o) {
                 o.lightestPencil = 185;
                 o.darkestPencil = 145;
             })},
            {"heavy pencil", with([](O& o) {
                 o.lightestPencil = 40;
                 o.darkestPencil = 5;
             })},
            {"stray dots and strokes", with([](O& o) {
                 o.strayDots = 20;
                 o.strayMark = true;
             })},
            {"erasures", with([](O& o) { o.erasures = 10; })},
            {"JPEG", with([](O& o) { o.jpegQuality = 60; })},
            {"tinted paper, blurred, keystoned", with([](O& o) {
                 o.tint = true;
                 o.blur = true;
                 o.keystone = 0.01;
             })},
            // Cream paper is dim in blue: light pencil on it must not fade into the paper.
            {"light pencil on cream paper", with([](O& o) {
                 o.tint = true;
                 o.lightestPencil = 175;
                 o.darkestPencil = 105;
             })},
            {"three fields marked twice alike", with([](O& o) { o.doubled = 3; })},
            {"fit to page, turned, 200 dpi grey JPEG", with([](O& o) {
                 o.printScale = 0.97;
                 o.angle = 2;
                 o.pivot = O::Pivot::Centre;
                 o.dpi = 200;
                 o.output = O::Output::Grey;
                 o.jpegQuality = 75;
             })},
        };
        for (const auto& [name, options] : conditions) {
            for (const quint32 seed : {11U, 12U}) {
                QTest::addRow("%s, client %u", name, seed) << options << seed;
            }
        }
        QTest::addRow("600 dpi colour, client 13") << with([](O& o) { o.dpi = 600; }) << 13U;
    }
    void officeConditions() {
        QFETCH(RenderOptions, options);
        QFETCH(quint32, seed);
        QRandomGenerator random(seed);
        const SheetValues values = sheetgen::RandomSheetValues(random, Today);
        options.seed = seed;
        VectorScanItems items(AnswerSheetGeometry().ScanItemRows());
        const SheetReading reading =
            ReadAnswerSheet(sheetgen::RenderFilledSheet(values, options), items, Today);
        QCOMPARE(RefusalText(reading), QString());
        const ScannedSheet want = sheetgen::ExpectedReading(values, Today);
        QVERIFY2(reading.values == want, qPrintable(differences(reading.values, want)));
        QCOMPARE(reading.doubtful, sheetgen::ExpectedDoubts(values, options));
        QVERIFY(std::abs(reading.scale - options.printScale) < 0.01);
    }

    // What cannot be read as the sheet at about actual size is refused, never read.
    void officeRefusals_data() {
        QTest::addColumn<RenderOptions>("options");
        QTest::addColumn<QString>("message");
        RenderOptions reduced;
        reduced.printScale = 0.85;
        QTest::newRow("printed at 85%") << reduced
                                        << "Answer sheet printed at 85% of actual size (90% to "
                                           "105% can be read)";
        RenderOptions cut;
        cut.keepHeight = 1100;
        cut.dpi = 200;
        QTest::newRow("page cut off by the scanner")
            << cut << "Page too short for the answer sheet (cut off at the bottom)";
        RenderOptions strip;
        strip.keepHeight = 30;
        QTest::newRow("a strip above the boxes") << strip << "Anchor Box not found";
    }
    void officeRefusals() {
        QFETCH(RenderOptions, options);
        QRandomGenerator random(3);
        const SheetValues values = sheetgen::RandomSheetValues(random, Today);
        VectorScanItems items(AnswerSheetGeometry().ScanItemRows());
        const SheetReading reading =
            ReadAnswerSheet(sheetgen::RenderFilledSheet(values, options), items, Today);
        QFETCH(QString, message);
        QCOMPARE(RefusalText(reading), message);
        QCOMPARE(reading.values, ScannedSheet{});
        // Nothing was read, so no base point was written.
        for (const auto& point : items.basePoints()) {
            QVERIFY(!point.stored);
        }
    }

    // A sheet with nothing filled, or only the two BAC "zero" bubbles: with so few marks and
    // the upper rows' rings too close together to be measured, the stretch of the paper must
    // still be followed down the page.
    void emptySheet_data() {
        QTest::addColumn<RenderOptions>("options");
        QTest::addColumn<bool>("zeros");
        QTest::newRow("nothing filled") << RenderOptions{} << false;
        RenderOptions bent;
        bent.printScale = 0.982406;
        bent.lightestPencil = 0;
        bent.darkestPencil = 0;
        bent.stretch = 1.00988;
        bent.angle = -0.5124;
        bent.pivot = RenderOptions::Pivot::Centre;
        bent.offset = QPoint(9, 0);
        bent.keystone = -0.009868;
        bent.seed = 11775;
        QTest::newRow("two zeros, stretched, bent and turned") << bent << true;
        bent.printScale = 0.90857;
        QTest::newRow("two zeros, printed small, stretched, bent and turned") << bent << true;
        bent.printScale = 0.982098;
        bent.lightestPencil = 50;
        bent.darkestPencil = 50;
        bent.output = RenderOptions::Output::BlackAndWhite;
        bent.blackLevel = 116;
        QTest::newRow("two zeros, black and white without the print, stretched") << bent << true;
    }
    void emptySheet() {
        QFETCH(RenderOptions, options);
        QFETCH(bool, zeros);
        SheetValues values; // nothing filled
        values.bacZero = zeros;
        values.staffBacZero = zeros;
        VectorScanItems items(AnswerSheetGeometry().ScanItemRows());
        const SheetReading reading =
            ReadAnswerSheet(sheetgen::RenderFilledSheet(values, options), items, Today);
        QCOMPARE(reading.outcome, SheetOutcome::Read);
        const ScannedSheet& read = reading.values;
        QCOMPARE(read.SSN, QStringLiteral("NNN-NN-NNNN"));
        QCOMPARE(read.DateOfBirth, QStringLiteral("NN/NN/19NN"));
        QCOMPARE(read.Age, QStringLiteral("N"));
        QCOMPARE(read.BAC, zeros ? QStringLiteral("0") : QStringLiteral(".NN"));
        QCOMPARE(read.StBAC, zeros ? QStringLiteral("0") : QStringLiteral(".NN"));
        QCOMPARE(read.Gender, QStringLiteral("0"));
        QCOMPARE(read.PriorDUI, QStringLiteral("N"));
        QCOMPARE(read.StPriorDUI, QStringLiteral("N"));
        QCOMPARE(read.ScannedAnswers, QString(73, QLatin1Char('0')));
    }

    void shortTable() {
        QRandomGenerator random(77);
        const SheetValues values = sheetgen::RandomSheetValues(random, Today);
        const QImage prepared = PrepareScan(sheetgen::RenderFilledSheet(values, {}));
        std::vector<ScanItemRow> rows = AnswerSheetGeometry().ScanItemRows();
        rows.resize(100);
        VectorScanItems items(rows);
        const SheetReading reading = ReadAnswerSheet(prepared, items, Today);
        QCOMPARE(reading.outcome, SheetOutcome::Read);
        QCOMPARE(reading.values.ScannedAnswers, values.answers.left(60));
        QCOMPARE(reading.values.SSN, sheetgen::ExpectedReading(values, Today).SSN);
    }

    void builtQuestionBankHoldsTheGeometry() {
        const QString bank = QDir(programDir()).filePath(QStringLiteral("TOV2SF.MDB"));
        QVERIFY(QFile::exists(bank));
        const std::vector<ScanItemRow> want = AnswerSheetGeometry().ScanItemRows();
        QCOMPARE(want.size(), std::size_t(113));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "bank");
            db.setDatabaseName(bank);
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec("SELECT r, theta, DimX, dx, DimY, dy, LocationName FROM ScanItem "
                           "ORDER BY rowid"));
            std::size_t n = 0;
            while (q.next()) {
                QVERIFY(n < want.size());
                const ScanItemRow& w = want[n];
                QCOMPARE(q.value(0).toDouble(), w.r);
                QCOMPARE(q.value(1).toDouble(), w.theta);
                QCOMPARE(q.value(2).toInt(), w.DimX);
                QCOMPARE(q.value(3).toDouble(), w.dx);
                QCOMPARE(q.value(4).toInt(), w.DimY);
                QCOMPARE(q.value(5).toDouble(), w.dy);
                QCOMPARE(q.value(6).toString(), w.LocationName);
                ++n;
            }
            QCOMPARE(n, std::size_t(113));
        }
        QSqlDatabase::removeDatabase("bank");
        QVERIFY(QFile::exists(QDir(programDir()).filePath(QStringLiteral("AnswerSheet.pdf"))));
    }

    void geometryMatchesTheReadingOrder() {
        const SheetGeometry g = AnswerSheetGeometry();
        QCOMPARE(g.fields.size(), std::size_t(113));
        const auto kinds = [&g](int from, int to, FieldKind kind) {
            for (int i = from; i <= to; ++i) {
                if (g.fields[std::size_t(i)].kind != kind) {
                    return false;
                }
            }
            return true;
        };
        QVERIFY(kinds(0, 23, FieldKind::Digit));
        QVERIFY(kinds(24, 27, FieldKind::Choice));
        QVERIFY(kinds(28, 35, FieldKind::Count));
        QVERIFY(kinds(36, 39, FieldKind::Digit));
        QVERIFY(kinds(40, 112, FieldKind::Answer));
        QCOMPARE(g.fields[24].count, 2); // after "N/A": Male, Female
        QCOMPARE(g.fields[25].count, 9);
        QCOMPARE(g.fields[26].count, 5);
        QCOMPARE(g.fields[27].count, 5);
        QCOMPARE(g.fields[40 + 66].count, 2);
        QCOMPARE(g.fields[40 + 67].count, 4);
        // The boxes lie where the searches look for them.
        QVERIFY(g.anchorBox.x() >= 5 && g.anchorBox.x() <= 45 && g.anchorBox.y() <= 125);
        const QPoint rel = g.referenceBox.topLeft() - g.anchorBox.topLeft();
        QVERIFY(rel.x() >= 761 && rel.x() <= 791 && std::abs(rel.y()) <= 100);
        // Every stored position gives back its bubble exactly.
        const std::vector<ScanItemRow> rows = g.ScanItemRows();
        for (std::size_t i = 0; i < rows.size(); ++i) {
            PolarPoint p;
            p.r = float(rows[i].r);
            p.theta = float(rows[i].theta);
            ToCartesian(p);
            QCOMPARE(QPoint(p.x, p.y) + g.anchorBox.topLeft(), g.fields[i].first);
        }
    }

    void basePointsWrittenToTheBank() {
        // A copy of the built program folder's bank, opened as the procedure opens it.
        QTemporaryDir dir;
        const QDir program(programDir());
        for (const char* name : {"TOV2SF.MDB", "zevltd.mda"}) {
            QVERIFY(QFile::copy(program.filePath(name), dir.filePath(name)));
        }
        QFile ini(dir.filePath(QStringLiteral("tov2sf.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[Options]\nSystemDB=" + dir.filePath("zevltd.mda").toUtf8() + "\n");
        ini.close();
        app::DbEngine engine;
        engine.setIniPath(ini.fileName());
        const app::Workspace ws = app::Workspace::open(engine, QStringLiteral("admin"), QString());
        const auto db = ws.OpenDatabase(dir.filePath(QStringLiteral("TOV2SF.MDB")));

        QRandomGenerator random(21);
        const SheetValues values = sheetgen::RandomSheetValues(random, Today);
        RenderOptions options;
        options.angle = -1.5;
        const QImage prepared = PrepareScan(sheetgen::RenderFilledSheet(values, options));
        app::RecordSet set = db->OpenTable(QStringLiteral("ScanItem"));
        app::RecordSetScanItems items(set);
        const SheetReading reading = ReadAnswerSheet(prepared, items, Today);
        QCOMPARE(reading.outcome, SheetOutcome::Read);
        QCOMPARE(reading.values, sheetgen::ExpectedReading(values, Today));

        // Every record now holds the base point it was read at: the geometry's point turned by
        // the sheet's angle about the anchor.
        const app::RecordSet check = db->OpenRecordset(QStringLiteral("SELECT X, y FROM ScanItem"));
        const SheetGeometry g = AnswerSheetGeometry();
        app::RecordSet rows = check;
        rows.MoveFirst();
        const double a = -1.5 * M_PI / 180;
        for (std::size_t i = 0; i < g.fields.size(); ++i, rows.MoveNext()) {
            QVERIFY(!rows.atEOF());
            const QPoint rel = g.fields[i].first - g.anchorBox.topLeft();
            const double x = rel.x() * std::cos(a) - rel.y() * std::sin(a);
            const double y = rel.x() * std::sin(a) + rel.y() * std::cos(a);
            QVERIFY2(std::abs(rows.Fields("X").toInt() - x) <= 2.5 &&
                         std::abs(rows.Fields("y").toInt() - y) <= 2.5,
                     qPrintable(g.fields[i].LocationName));
        }
    }

    // tov2sf-markread on page files: each page's values after its page=N line, the doubtful
    // values named, refused pages on standard error with status 1, bad use with status 2.
    void markreadTool_data() {
        QTest::addColumn<QString>("file");      // written by the test
        QTest::addColumn<QStringList>("pages"); // per page: "read", "blank" or "refused"
        QTest::addColumn<int>("status");
        QTest::newRow("PNG at 200 dpi, stated as 72") << "page.png" << QStringList{"read"} << 0;
        QTest::newRow("JPEG") << "page.jpg" << QStringList{"read"} << 0;
        QTest::newRow("prepared page as the program keeps it")
            << "scan.bmp" << QStringList{"read"} << 0;
        QTest::newRow("PDF of three pages, one blank")
            << "batch.pdf" << QStringList{"read", "blank", "read"} << 1;
        QTest::newRow("multi-page TIFF") << "batch.tif" << QStringList{"read", "read"} << 0;
    }
    void markreadTool() {
        QFETCH(QString, file);
        QFETCH(QStringList, pages);
        QFETCH(int, status);
        QTemporaryDir dir;
        const QString path = dir.filePath(file);
        QStringList want;
        QList<QImage> images;
        for (int n = 0; n < pages.size(); ++n) {
            want << QStringLiteral("page=%1").arg(n + 1);
            if (pages[n] != QLatin1String("read")) {
                images << QImage(850, 1400, QImage::Format_RGB32);
                images.last().fill(Qt::white);
                continue;
            }
            QRandomGenerator random(40 + n);
            const SheetValues values = sheetgen::RandomSheetValues(random, QDate::currentDate());
            RenderOptions options;
            options.seed = 40 + n;
            options.angle = 1.2;
            options.dpi = file.endsWith(QLatin1String(".bmp")) ? 100 : 200;
            options.stated = file.endsWith(QLatin1String(".png"))
                                 ? RenderOptions::Stated::Wrong
                                 : RenderOptions::Stated::Resolution;
            images << sheetgen::RenderFilledSheet(values, options);
            for (const auto& [name, value] :
                 NamedValues(sheetgen::ExpectedReading(values, QDate::currentDate()))) {
                want << name + QLatin1Char('=') + value;
            }
            want << QStringLiteral("doubtful=");
        }
        if (file.endsWith(QLatin1String(".pdf"))) {
            QPdfWriter pdf(path);
            pdf.setResolution(200);
            pdf.setPageLayout(
                QPageLayout(QPageSize(QPageSize::Legal), QPageLayout::Portrait, QMarginsF()));
            QPainter p(&pdf);
            for (int n = 0; n < images.size(); ++n) {
                if (n > 0) {
                    pdf.newPage();
                }
                p.drawImage(QRect(0, 0, 1700, 2800), images[n]);
            }
        } else if (file.endsWith(QLatin1String(".tif"))) {
            QStringList parts;
            for (int n = 0; n < images.size(); ++n) {
                parts << dir.filePath(QStringLiteral("part%1.tif").arg(n));
                QVERIFY(images[n].save(parts.last()));
            }
            QProcess convert;
            convert.start(QStringLiteral("convert"), parts + QStringList{path});
            if (!convert.waitForFinished(60000) || convert.exitCode() != 0) {
                QSKIP("ImageMagick's convert is needed to join TIFF pages");
            }
        } else if (file.endsWith(QLatin1String(".bmp"))) {
            QVERIFY(SaveEightBitBmp(PrepareScan(images[0]), path));
        } else {
            QVERIFY(images[0].save(path, nullptr, 90));
        }
        const QString tool = QDir(programDir()).filePath(QStringLiteral("tov2sf-markread"));
        const QString bank = QDir(programDir()).filePath(QStringLiteral("TOV2SF.MDB"));
        QProcess run;
        run.start(tool, {"--question-bank", bank, "--image", path, "--raw"});
        QVERIFY(run.waitForFinished(60000));
        QCOMPARE(QString::fromUtf8(run.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
                 want);
        QCOMPARE(run.exitCode(), status);
        const QString errors = QString::fromUtf8(run.readAllStandardError());
        QCOMPARE(errors.isEmpty(), status == 0);
        if (status != 0) {
            QVERIFY2(errors.contains(QLatin1String("page 2: Anchor Box not found")),
                     qPrintable(errors));
        }
    }

    void markreadUse_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("says"); // on standard output (status 0) or error
        const QString bank = QDir(programDir()).filePath(QStringLiteral("TOV2SF.MDB"));
        QTest::newRow("help") << QStringList{"--help"} << 0 << "Exit status: 0 when every page";
        QTest::newRow("version") << QStringList{"--version"} << 0 << "tov2sf-markread 1.0";
        QTest::newRow("no image") << QStringList{"--question-bank", bank} << 2 << "usage:";
        QTest::newRow("unknown option") << QStringList{"--colour"} << 2 << "Unknown option";
        QTest::newRow("missing bank")
            << QStringList{"--question-bank", "/nonexistent/bank.mdb", "--image", bank} << 2
            << "question bank /nonexistent/bank.mdb not found";
        QTest::newRow("image that is no page file")
            << QStringList{"--question-bank", bank, "--image", bank} << 2
            << "cannot read the image";
        QTest::newRow("a folder") << QStringList{"--question-bank", bank, "--image", "/tmp"} << 2
                                  << "cannot read the image";
        // Refused at once, before SQLite or the image reader waits on a pipe or reads a device.
        static QTemporaryDir hostile;
        const QString pipe = hostile.filePath(QStringLiteral("pipe"));
        const QString zero = hostile.filePath(QStringLiteral("zero"));
        const QString sparse = hostile.filePath(QStringLiteral("sparse.mdb"));
        ::mkfifo(QFile::encodeName(pipe).constData(), 0600);
        QFile::link(QStringLiteral("/dev/zero"), zero);
        QFile big(sparse);
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize((qint64(256) << 20) + 1));
        QTest::newRow("bank a pipe") << QStringList{"--question-bank", pipe, "--image", bank} << 2
                                     << "cannot be read: Not a regular file";
        QTest::newRow("bank a link to /dev/zero")
            << QStringList{"--question-bank", zero, "--image", bank} << 2
            << "cannot be read: Not a regular file";
        QTest::newRow("bank larger than any")
            << QStringList{"--question-bank", sparse, "--image", bank} << 2
            << "cannot be read: File too large";
        QTest::newRow("image a pipe") << QStringList{"--question-bank", bank, "--image", pipe} << 2
                                      << "cannot read the image";
    }
    void markreadUse() {
        QFETCH(QStringList, arguments);
        QProcess run;
        run.start(QDir(programDir()).filePath(QStringLiteral("tov2sf-markread")), arguments);
        QVERIFY(run.waitForFinished(30000));
        QFETCH(int, status);
        QCOMPARE(run.exitCode(), status);
        QFETCH(QString, says);
        const QByteArray text =
            status == 0 ? run.readAllStandardOutput() : run.readAllStandardError();
        QVERIFY2(text.contains(says.toUtf8()), text.constData());
    }
};

QTEST_MAIN(TestSheetRoundTrip)
#include "test_sheetroundtrip.moc"
