// tov2sf-report: the same bytes as report.prn, the results as JSON, and a one-line message with a
// non-zero status for every kind of bad input.
#include "../scoring/TestClient.h"
#include "reports/ReportCommand.h"
#include "reports/ScoreClient.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace tov;

namespace {

const QString kTables = QStringLiteral(TOV_SCORING_DATA);
const QString kFolder = QStringLiteral(TOV_REPORT_DATA) + QStringLiteral("/folder");

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

records::ClientRecord second() {
    return testclient::client(QStringLiteral("1-3=1 31=1 33=1 36=1 68=1"),
                              QStringLiteral("Name=Second,_Pat PriorDUI=3 StPriorDUI=3 BAC=.22"));
}

} // namespace

class TestReportCommand : public QObject {
    Q_OBJECT

private slots:
    void init();
    void writesTheProgramsBytes();
    void defaultOutputIsReportPrn();
    void jsonResults();
    void badInput_data();
    void badInput();
    void installedProgram();

private:
    int run(const QStringList& args) {
        command_ = reports::ReportCommand();
        return command_.run(QStringList{QStringLiteral("tov2sf-report")} + args);
    }
    QStringList base(const QString& client) const {
        return {QStringLiteral("--program-folder"), dir_->path(),
                QStringLiteral("--data-file"),      data_,
                QStringLiteral("--client"),         client};
    }

    std::unique_ptr<QTemporaryDir> dir_;
    QString data_;
    reports::ReportCommand command_;
};

void TestReportCommand::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    for (const QString& name : {QStringLiteral("TOV2SFB.TXT"), QStringLiteral("TSF2RPT.TXT")}) {
        QFile::copy(kTables + QLatin1Char('/') + name, dir_->filePath(name));
    }
    for (const QString& name : QDir(kFolder).entryList(QDir::Files)) {
        QFile::copy(kFolder + QLatin1Char('/') + name, dir_->filePath(name));
    }
    data_ = dir_->filePath(QStringLiteral("DATA401.TOV"));
    QFile f(data_);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(testclient::client(QString(), QString()).bytes() + second().bytes() +
            testclient::client(QStringLiteral("1-10=1"), QString()).bytes());
}

void TestReportCommand::writesTheProgramsBytes() {
    QCOMPARE(run(base(QStringLiteral("2"))
                 << QStringLiteral("--summary-page") << QStringLiteral("--client-page")
                 << QStringLiteral("--output") << QStringLiteral("-")),
             0);
    QVERIFY(command_.err.isEmpty());
    const QByteArray program = reports::RunScoring(dir_->path(), second(), 2, {true, true}).report;
    QCOMPARE(command_.out, program);
    QVERIFY(!QFile::exists(dir_->filePath(QStringLiteral("report.prn"))));
}

void TestReportCommand::defaultOutputIsReportPrn() {
    QCOMPARE(run(base(QStringLiteral("2"))), 0);
    QVERIFY(command_.out.isEmpty());
    QCOMPARE(readAll(dir_->filePath(QStringLiteral("report.prn"))),
             reports::RunScoring(dir_->path(), second(), 2, {}).report);
    const QString other = dir_->filePath(QStringLiteral("client2.prn"));
    QCOMPARE(run(base(QStringLiteral("2")) << QStringLiteral("--output") << other), 0);
    QCOMPARE(readAll(other), readAll(dir_->filePath(QStringLiteral("report.prn"))));
}

void TestReportCommand::jsonResults() {
    QCOMPARE(run(base(QStringLiteral("2")) << QStringLiteral("--json")), 0);
    const QJsonObject o = QJsonDocument::fromJson(command_.out).object();
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
    QVERIFY(!QFile::exists(dir_->filePath(QStringLiteral("report.prn"))));
}

void TestReportCommand::badInput_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");
    QTest::newRow("no arguments") << QStringList{} << "usage: tov2sf-report";
    QTest::newRow("unknown option") << QStringList{"--colour"} << "Unknown option 'colour'";
    QTest::newRow("client not a number")
        << QStringList{"@base", "x"} << "--client must be a record number, not \"x\"";
    QTest::newRow("record beyond the file")
        << QStringList{"@base", "4"} << "holds 3 client records; there is no record 4.";
    QTest::newRow("record 0") << QStringList{"@base", "0"} << "there is no record 0.";
    QTest::newRow("no client file") << QStringList{"@nofile"} << "was not found.";
    QTest::newRow("no program folder") << QStringList{"@nofolder"} << "does not exist";
    QTest::newRow("table error") << QStringList{"@broken"}
                                 << "TOV2SFB.TXT: the file ends before listed significant item 1.";
}

void TestReportCommand::badInput() {
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    if (!args.isEmpty() && args.first() == QLatin1String("@base")) {
        args = base(args.at(1));
    } else if (args == QStringList{QStringLiteral("@nofile")}) {
        args = base(QStringLiteral("1"));
        args[3] = dir_->filePath(QStringLiteral("NONE.TOV"));
    } else if (args == QStringList{QStringLiteral("@nofolder")}) {
        args = base(QStringLiteral("1"));
        args[1] = dir_->filePath(QStringLiteral("absent"));
    } else if (args == QStringList{QStringLiteral("@broken")}) {
        QFile f(dir_->filePath(QStringLiteral("TOV2SFB.TXT")));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        args = base(QStringLiteral("1"));
    }
    QCOMPARE(run(args), 1);
    QVERIFY(command_.out.isEmpty());
    const QString err = QString::fromLocal8Bit(command_.err);
    QVERIFY2(err.startsWith(QLatin1String("tov2sf-report: ")) && err.contains(message),
             qPrintable(err));
    QCOMPARE(err.count(QLatin1Char('\n')), 1);
    QVERIFY(err.endsWith(QLatin1Char('\n')));
    QVERIFY(!QFile::exists(dir_->filePath(QStringLiteral("report.prn"))));
}

void TestReportCommand::installedProgram() {
    const QString program =
        qEnvironmentVariable("TOV_PROGRAM_DIR") + QStringLiteral("/tov2sf-report");
    QProcess p;
    p.start(program, base(QStringLiteral("3"))
                         << QStringLiteral("--output") << QStringLiteral("-"));
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 0);
    QCOMPARE(p.readAllStandardOutput(),
             reports::RunScoring(dir_->path(),
                                 testclient::client(QStringLiteral("1-10=1"), QString()), 3, {})
                 .report);
    p.start(program, base(QStringLiteral("9")));
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 1);
    QVERIFY(p.readAllStandardError().contains("there is no record 9."));
}

QTEST_GUILESS_MAIN(TestReportCommand)
#include "test_reportcommand.moc"
