// tov2sf-report: the same bytes as report.prn, the results as JSON, and a one-line message with a
// non-zero status for every kind of bad input.
#include "app/Publisher.h"
#include "app/Settings.h"
#include "reports/ReportCommand.h"
#include "reports/ScoreClient.h"
#include "support/Files.h"
#include "support/TestClient.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace tov;

namespace {

const QString kTables = QStringLiteral(TOV_SCORING_DATA);
const QString kFolder = QStringLiteral(TOV_REPORT_DATA) + QStringLiteral("/folder");

using fakes::readAll;

records::ClientRecord second() {
    return testclient::client(QStringLiteral("1-3=1 31=1 33=1 36=1 68=1"),
                              QStringLiteral("Name=Second,_Pat PriorDUI=3 StPriorDUI=3 BAC=.22"));
}

// A program folder of the test tables and texts with a client file of three clients, and the
// command run on them.
class Rig {
public:
    Rig() {
        for (const QString& name : {QStringLiteral("TOV2SFB.TXT"), QStringLiteral("TSF2RPT.TXT")}) {
            QFile::copy(kTables + QLatin1Char('/') + name, dir.filePath(name));
        }
        for (const QString& name : QDir(kFolder).entryList(QDir::Files)) {
            QFile::copy(kFolder + QLatin1Char('/') + name, dir.filePath(name));
        }
        QFile f(data);
        if (f.open(QIODevice::WriteOnly)) {
            f.write(testclient::client(QString(), QString()).bytes() + second().bytes() +
                    testclient::client(QStringLiteral("1-10=1"), QString()).bytes());
        }
    }
    int run(const QStringList& args) {
        command = reports::ReportCommand();
        return command.run(QStringList{QStringLiteral("tov2sf-report")} + args);
    }
    QStringList base(const QString& client) const {
        return {QStringLiteral("--program-folder"), dir.path(), QStringLiteral("--data-file"), data,
                QStringLiteral("--client"),         client};
    }
    QString path(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    QString data = dir.filePath(QStringLiteral("DATA401.TOV"));
    reports::ReportCommand command;
};

} // namespace

class TestReportCommand : public QObject {
    Q_OBJECT

private slots:
    void writesTheProgramsBytes();
    void defaultOutputIsReportPrn();
    void jsonResults();
    void badInput_data();
    void badInput();
    void outputNeverReplacesAnInput_data();
    void outputNeverReplacesAnInput();
    void helpAndVersion();
    void installedProgram();
};

void TestReportCommand::writesTheProgramsBytes() {
    Rig rig;
    QCOMPARE(rig.run(rig.base(QStringLiteral("2"))
                     << QStringLiteral("--summary-page") << QStringLiteral("--client-page")
                     << QStringLiteral("--output") << QStringLiteral("-")),
             0);
    QVERIFY(rig.command.err.isEmpty());
    const QByteArray program =
        reports::RunScoring(rig.dir.path(),
                            app::PublisherTexts::of(app::Settings(rig.dir.path()).publisher()),
                            second(), 2, {true, true})
            .report;
    QCOMPARE(rig.command.out, program);
    QVERIFY(!QFile::exists(rig.path(QStringLiteral("report.prn"))));
}

void TestReportCommand::defaultOutputIsReportPrn() {
    Rig rig;
    QCOMPARE(rig.run(rig.base(QStringLiteral("2"))), 0);
    QVERIFY(rig.command.out.isEmpty());
    QCOMPARE(readAll(rig.path(QStringLiteral("report.prn"))),
             reports::RunScoring(rig.dir.path(),
                                 app::PublisherTexts::of(app::Settings(rig.dir.path()).publisher()),
                                 second(), 2, {})
                 .report);
    const QString other = rig.path(QStringLiteral("client2.prn"));
    QCOMPARE(rig.run(rig.base(QStringLiteral("2")) << QStringLiteral("--output") << other), 0);
    QCOMPARE(readAll(other), readAll(rig.path(QStringLiteral("report.prn"))));
}

void TestReportCommand::jsonResults() {
    Rig rig;
    QCOMPARE(rig.run(rig.base(QStringLiteral("2")) << QStringLiteral("--json")), 0);
    const QJsonObject o = QJsonDocument::fromJson(rig.command.out).object();
    // Truthfulness raw 3 (30th, band 3); BAC .22 with priors: Alcohol floored at 86 then 88 by
    // three prior DUIs.
    QCOMPARE(o.value(QStringLiteral("RawScore")).toVariant().toList().first().toInt(), 3);
    QCOMPARE(o.value(QStringLiteral("Percentile")).toVariant().toList().at(1).toInt(), 88);
    QCOMPARE(o.value(QStringLiteral("BacCode")).toInt(), 22);
    QCOMPARE(o.value(QStringLiteral("PriorDuiTotal")).toInt(), 3);
    QCOMPARE(o.value(QStringLiteral("RiskClassification")).toString(),
             QStringLiteral("   HIGH RISK"));
    const QJsonObject c = o.value(QStringLiteral("Classification")).toObject();
    QCOMPARE(c.value(QStringLiteral("IsDependent")).toBool(), true);
    QCOMPARE(c.value(QStringLiteral("AdmissionsList")).toString(),
             QStringLiteral("31, 33, 36, 54, BAL>=.2"));
    const QJsonObject reasons = o.value(QStringLiteral("Reasons")).toObject();
    QCOMPARE(reasons.value(QStringLiteral("BacRaised")).toBool(), true);
    QVERIFY(!QFile::exists(rig.path(QStringLiteral("report.prn"))));
}

void TestReportCommand::badInput_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("status"); // 2 bad arguments, 1 the report cannot be made
    QTest::newRow("no arguments") << QStringList{} << "usage: tov2sf-report" << 2;
    QTest::newRow("unknown option") << QStringList{"--colour"} << "Unknown option 'colour'" << 2;
    QTest::newRow("client not a number")
        << QStringList{"@base", "x"} << "--client must be a record number, not \"x\"" << 2;
    QTest::newRow("record beyond the file")
        << QStringList{"@base", "4"} << "holds 3 client records; there is no record 4." << 1;
    QTest::newRow("record 0") << QStringList{"@base", "0"} << "there is no record 0." << 1;
    QTest::newRow("no client file") << QStringList{"@nofile"} << "was not found." << 1;
    QTest::newRow("no program folder") << QStringList{"@nofolder"} << "does not exist" << 2;
    QTest::newRow("table error") << QStringList{"@broken"}
                                 << "TOV2SFB.TXT: the file ends before listed significant item 1."
                                 << 1;
}

void TestReportCommand::badInput() {
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    QFETCH(int, status);
    Rig rig;
    if (!args.isEmpty() && args.first() == QLatin1String("@base")) {
        args = rig.base(args.at(1));
    } else if (args == QStringList{QStringLiteral("@nofile")}) {
        args = rig.base(QStringLiteral("1"));
        args[3] = rig.path(QStringLiteral("NONE.TOV"));
    } else if (args == QStringList{QStringLiteral("@nofolder")}) {
        args = rig.base(QStringLiteral("1"));
        args[1] = rig.path(QStringLiteral("absent"));
    } else if (args == QStringList{QStringLiteral("@broken")}) {
        QFile f(rig.path(QStringLiteral("TOV2SFB.TXT")));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        args = rig.base(QStringLiteral("1"));
    }
    QCOMPARE(rig.run(args), status);
    QVERIFY(rig.command.out.isEmpty());
    const QString err = QString::fromLocal8Bit(rig.command.err);
    QVERIFY2(err.startsWith(QLatin1String("tov2sf-report: ")) && err.contains(message),
             qPrintable(err));
    QCOMPARE(err.count(QLatin1Char('\n')), 1);
    QVERIFY(err.endsWith(QLatin1Char('\n')));
    QVERIFY(!QFile::exists(rig.path(QStringLiteral("report.prn"))));
}

// --output naming a file the command reads, under any name, or something that is no file, is
// refused with status 2; a run that fails leaves an earlier output as it was.
void TestReportCommand::outputNeverReplacesAnInput_data() {
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("client");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    const QString input = QStringLiteral("is the client file or a file of the program folder");
    QTest::newRow("the client file") << "DATA401.TOV"
                                     << "1" << 2 << input;
    QTest::newRow("a link to the client file") << "link"
                                               << "1" << 2 << input;
    QTest::newRow("a hard link to the client file") << "hard"
                                                    << "1" << 2 << input;
    QTest::newRow("the client file by another spelling") << "./sub/../DATA401.TOV"
                                                         << "1" << 2 << input;
    QTest::newRow("a scoring table") << "TOV2SFB.TXT"
                                     << "1" << 2 << input;
    QTest::newRow("an interpretation text") << "TOVILAL.TXT"
                                            << "1" << 2 << input;
    QTest::newRow("a pipe") << "pipe"
                            << "1" << 2 << "is not a file";
    QTest::newRow("a folder") << "sub"
                              << "1" << 2 << "is not a file";
    QTest::newRow("an earlier report, run fails") << "old.prn"
                                                  << "9" << 1 << "there is no record 9";
    QTest::newRow("an earlier report, replaced") << "old.prn"
                                                 << "2" << 0 << "";
    QTest::newRow("a new file") << "new.prn"
                                << "2" << 0 << "";
}

void TestReportCommand::outputNeverReplacesAnInput() {
    QFETCH(QString, output);
    QFETCH(QString, client);
    QFETCH(int, status);
    QFETCH(QString, message);
    Rig rig;
    QDir(rig.dir.path()).mkdir(QStringLiteral("sub"));
    QVERIFY(QFile::link(rig.data, rig.path(QStringLiteral("link"))));
    QCOMPARE(::link(QFile::encodeName(rig.data).constData(),
                    QFile::encodeName(rig.path(QStringLiteral("hard"))).constData()),
             0);
    QCOMPARE(::mkfifo(QFile::encodeName(rig.path(QStringLiteral("pipe"))).constData(), 0600), 0);
    const QByteArray clients = readAll(rig.data);
    QFile old(rig.path(QStringLiteral("old.prn")));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("an earlier report\n");
    old.close();
    const QString target = rig.path(output);
    const bool wasFile = QFileInfo(target).isFile(); // a pipe is not opened by the test either
    const QByteArray before = wasFile ? readAll(target) : QByteArray();
    QCOMPARE(rig.run(rig.base(client) << QStringLiteral("--output") << target), status);
    QVERIFY2(QString::fromLocal8Bit(rig.command.err).contains(message), rig.command.err);
    if (status == 0) {
        QCOMPARE(
            readAll(target),
            reports::RunScoring(rig.dir.path(),
                                app::PublisherTexts::of(app::Settings(rig.dir.path()).publisher()),
                                second(), 2, {})
                .report);
    } else {
        QCOMPARE(QFileInfo(target).isFile(), wasFile);
        QCOMPARE(wasFile ? readAll(target) : QByteArray(), before);
        QCOMPARE(QFileInfo(rig.path(QStringLiteral("link"))).symLinkTarget(), rig.data);
        QVERIFY(QFileInfo(rig.path(QStringLiteral("pipe"))).exists());
        QVERIFY(QFileInfo(rig.path(QStringLiteral("sub"))).isDir());
    }
    QCOMPARE(readAll(rig.data), clients);
}

void TestReportCommand::helpAndVersion() {
    Rig rig;
    QCOMPARE(rig.run({QStringLiteral("--version")}), 0);
    QCOMPARE(rig.command.out, QByteArray("tov2sf-report " TOV_VERSION "\n"));
    QCOMPARE(rig.run({QStringLiteral("--help")}), 0);
    for (const char* option :
         {"--program-folder", "--data-file", "--client", "--output", "--json", "Exit status"}) {
        QVERIFY2(rig.command.out.contains(option), option);
    }
    QVERIFY(rig.command.err.isEmpty());
}

void TestReportCommand::installedProgram() {
    Rig rig;
    const QString program =
        qEnvironmentVariable("TOV_PROGRAM_DIR") + QStringLiteral("/tov2sf-report");
    QProcess p;
    p.start(program, rig.base(QStringLiteral("3"))
                         << QStringLiteral("--output") << QStringLiteral("-"));
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 0);
    QCOMPARE(p.readAllStandardOutput(),
             reports::RunScoring(rig.dir.path(),
                                 app::PublisherTexts::of(app::Settings(rig.dir.path()).publisher()),
                                 testclient::client(QStringLiteral("1-10=1"), QString()), 3, {})
                 .report);
    p.start(program, rig.base(QStringLiteral("9")));
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 1);
    QVERIFY(p.readAllStandardError().contains("there is no record 9."));
}

QTEST_GUILESS_MAIN(TestReportCommand)
#include "test_reportcommand.moc"
