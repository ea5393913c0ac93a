// Generated answer sheets, rendered as a scanner delivers them, prepared and read back; the
// sheet table of the built question bank; and tov2sf-markread on a generated page.
#include "app/QuestionBank.h"
#include "scan/MarkReader.h"
#include "scan/ScanImage.h"
#include "scan/SheetGeometry.h"
#include "sheetgen/FilledSheet.h"

#include <QDir>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace tov;
using namespace tov::scan;
using sheetgen::RenderOptions;
using sheetgen::SheetValues;

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

    void emptySheet() {
        SheetValues values; // nothing filled
        SheetOutcome outcome{};
        const ScannedSheet read = readBack(values, {}, outcome);
        QCOMPARE(outcome, SheetOutcome::Read);
        QCOMPARE(read.SSN, QStringLiteral("NNN-NN-NNNN"));
        QCOMPARE(read.DateOfBirth, QStringLiteral("NN/NN/19NN"));
        QCOMPARE(read.Age, QStringLiteral("N"));
        QCOMPARE(read.BAC, QStringLiteral(".NN"));
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
        RecordSetScanItems items(set);
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

    void markreadTool() {
        QTemporaryDir dir;
        QRandomGenerator random(5);
        const SheetValues values = sheetgen::RandomSheetValues(random, QDate::currentDate());
        RenderOptions options;
        options.angle = 1.2;
        const QString page = dir.filePath(QStringLiteral("page.png"));
        QVERIFY(sheetgen::RenderFilledSheet(values, options).save(page));
        const QString tool = QDir(programDir()).filePath(QStringLiteral("tov2sf-markread"));
        const QString bank = QDir(programDir()).filePath(QStringLiteral("TOV2SF.MDB"));

        QProcess run;
        run.start(tool, {"--question-bank", bank, "--image", page, "--raw"});
        QVERIFY(run.waitForFinished(30000));
        QCOMPARE(run.exitCode(), 0);
        QStringList want;
        for (const auto& [name, value] :
             NamedValues(sheetgen::ExpectedReading(values, QDate::currentDate()))) {
            want << name + QLatin1Char('=') + value;
        }
        QCOMPARE(QString::fromUtf8(run.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
                 want);

        // The prepared page as the procedure saves it (8-bit bitmap with a palette), read as is.
        const QString bmp = dir.filePath(QStringLiteral("scan.bmp"));
        QVERIFY(SaveEightBitBmp(PrepareScan(QImage(page)), bmp));
        run.start(tool, {"--question-bank", bank, "--image", bmp});
        QVERIFY(run.waitForFinished(30000));
        QCOMPARE(run.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(run.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
                 want);

        // A page with no boxes on it.
        QImage blank(850, 1400, QImage::Format_RGB32);
        blank.fill(Qt::white);
        const QString blankPage = dir.filePath(QStringLiteral("blank.png"));
        QVERIFY(blank.save(blankPage));
        run.start(tool, {"--question-bank", bank, "--image", blankPage});
        QVERIFY(run.waitForFinished(30000));
        QVERIFY(run.exitCode() != 0);
        QVERIFY(run.readAllStandardError().contains("Anchor Box not found"));

        run.start(tool, {"--question-bank", dir.filePath("missing.mdb"), "--image", page});
        QVERIFY(run.waitForFinished(30000));
        QVERIFY(run.exitCode() != 0);
        QVERIFY(run.readAllStandardError().contains("not found"));
    }
};

QTEST_MAIN(TestSheetRoundTrip)
#include "test_sheetroundtrip.moc"
