// Whole reports compared byte for byte with expected files written from the report layouts.
// Each case scores one client with the hand-made test tables and the short texts of folder/.
#include "app/Publisher.h"
#include "app/Settings.h"
#include "platform/AppError.h"
#include "reports/ScoreClient.h"
#include "support/Files.h"
#include "support/TestClient.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace tov;

namespace {

const QString kTables = QStringLiteral(TOV_SCORING_DATA);
const QString kFolder = QStringLiteral(TOV_REPORT_DATA) + QStringLiteral("/folder");
const QString kExpected = QStringLiteral(TOV_REPORT_DATA) + QStringLiteral("/expected");

using fakes::readAll;

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        f.write(bytes);
    }
}

// A program folder of the test tables and texts.
void fillFolder(const QString& dir) {
    for (const QString& name : {QStringLiteral("TOV2SFB.TXT"), QStringLiteral("TSF2RPT.TXT")}) {
        QFile::copy(kTables + QLatin1Char('/') + name, dir + QLatin1Char('/') + name);
    }
    for (const QString& name : QDir(kFolder).entryList(QDir::Files)) {
        QFile::copy(kFolder + QLatin1Char('/') + name, dir + QLatin1Char('/') + name);
    }
}

// The first lines differing, for a readable failure.
QString firstDifference(const QByteArray& actual, const QByteArray& expected) {
    const QList<QByteArray> a = actual.split('\n');
    const QList<QByteArray> e = expected.split('\n');
    for (qsizetype i = 0; i < std::max(a.size(), e.size()); ++i) {
        if (a.value(i) != e.value(i)) {
            return QStringLiteral("line %1:\n actual   [%2]\n expected [%3]")
                .arg(i + 1)
                .arg(QString::fromLatin1(a.value(i)), QString::fromLatin1(e.value(i)));
        }
    }
    return {};
}

} // namespace

class TestReports : public QObject {
    Q_OBJECT

private slots:
    void wholeReports_data();
    void wholeReports();
};

void TestReports::wholeReports_data() {
    QTest::addColumn<QString>("answers");
    QTest::addColumn<QString>("fields");
    QTest::addColumn<int>("record");
    QTest::addColumn<bool>("summary");
    QTest::addColumn<bool>("clientPage");
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("expected");

    const QString ames = QStringLiteral("Name=Ames,_Robin");
    QTest::newRow("ordinary client, minimal risk")
        << "1-3=1 11-12=1 21=1 41=1" << ames << 1 << false << false << ""
        << "ordinary.prn";
    QTest::newRow("Truthfulness 95, high risk, summary page")
        << "1-10=1"
        << "Name=Baker,_Lee Age=45 DOB=N Gender=2 Race=4 Marital=1 Education=1 SSN=N DLNumber=N "
           "TestDate=1/5/2026 PriorDUI=2 StPriorDUI=2"
        << 7 << true << false << ""
        << "truthfulness95.prn";
    QTest::newRow("five omitted items, significant risk, client page")
        << "1-4=1 11=1 20=1 30=1 13=0 41-45=0 68=2 73=3"
        << "Name=Cruz,_Dana Age=24 Race=7 Marital=3 Education=5 SSSuspend=1 BAC=.12 StBAC=.14" << 12
        << false << true << ""
        << "omitted.prn";
    QTest::newRow("BAC floor, moderate risk, both extra pages, Tessaran")
        << "1-3=1 11-12=1 21=1 41=1"
        << "Name=Diaz,_Morgan BAC=.16" << 3 << true << true << "tessaran"
        << "extrapages.prn";
    QTest::newRow("long report past page 9") << "1-3=1 11-12=1 21=1 41=1"
                                             << "Name=Evans,_Kim" << 10 << false << false << "long"
                                             << "longreport.prn";
}

void TestReports::wholeReports() {
    QFETCH(QString, answers);
    QFETCH(QString, fields);
    QFETCH(int, record);
    QFETCH(bool, summary);
    QFETCH(bool, clientPage);
    QFETCH(QString, setup);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    fillFolder(dir.path());
    if (setup == QLatin1String("tessaran")) {
        writeAll(dir.filePath(QStringLiteral("tov2sf.ini")),
                 "[Settings]\r\nPublisher=Tessaran\r\n");
    } else if (setup == QLatin1String("long")) {
        // A Driver Risk text of many lines runs the report past page 9.
        QByteArray text = "LOW\r\n";
        for (int i = 1; i <= 480; ++i) {
            text += "Driver risk note " + QByteArray::number(i) + ".\r\n";
        }
        writeAll(dir.filePath(QStringLiteral("TOVILDR.TXT")), text + "END\r\n");
    }
    const records::ClientRecord client = testclient::client(answers, fields);
    reports::ScoreClient(dir.path(), dir.path(),
                         app::PublisherTexts::of(app::Settings(dir.path()).publisher()), client,
                         record, {summary, clientPage});
    const QByteArray actual = readAll(dir.filePath(QStringLiteral("report.prn")));
    const QByteArray wanted = readAll(kExpected + QLatin1Char('/') + expected);
    QVERIFY2(!wanted.isEmpty(), qPrintable(expected));
    QVERIFY2(actual == wanted, qPrintable(firstDifference(actual, wanted)));
}

QTEST_GUILESS_MAIN(TestReports)
#include "test_reports.moc"
