// A report that cannot be completed is never left as report.prn: a missing or damaged table or
// text file gives a message naming the file, and the previous client's report is gone too.
#include "app/Publisher.h"
#include "app/Settings.h"
#include "platform/AppError.h"
#include "reports/ScoreClient.h"
#include "support/TestClient.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace tov;

namespace {

const QString kTables = QStringLiteral(TOV_SCORING_DATA);
const QString kFolder = QStringLiteral(TOV_REPORT_DATA) + QStringLiteral("/folder");

void copyFolder(const QString& dir) {
    for (const QString& name : {QStringLiteral("TOV2SFB.TXT"), QStringLiteral("TSF2RPT.TXT")}) {
        QFile::copy(kTables + QLatin1Char('/') + name, dir + QLatin1Char('/') + name);
    }
    for (const QString& name : QDir(kFolder).entryList(QDir::Files)) {
        QFile::copy(kFolder + QLatin1Char('/') + name, dir + QLatin1Char('/') + name);
    }
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile::remove(path);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) {
        f.write(bytes);
    }
}

} // namespace

class TestReportFailures : public QObject {
    Q_OBJECT

private slots:
    void noReportFromBrokenFiles_data();
    void noReportFromBrokenFiles();
    void unusedPageTextsAreNotNeeded();
};

// Each case breaks one file of the folder (an empty replacement removes it) and scores a client
// whose report needs it.
void TestReportFailures::noReportFromBrokenFiles_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("answers");
    QTest::addColumn<bool>("clientPage");
    QTest::addColumn<QString>("message");
    QTest::newRow("interpretation file missing")
        << "TOVILAL.TXT" << QByteArray() << "" << false << "TOVILAL.TXT was not found.";
    QTest::newRow("label missing") << "TOVILVA.TXT" << QByteArray("MEDIUM\r\nText.\r\nEND\r\n")
                                   << "" << false << "TOVILVA.TXT: the section \"LOW\" is missing.";
    QTest::newRow("section without END")
        << "TOVILDG.TXT" << QByteArray("LOW\r\nDrugs is low.\r\n") << "" << false
        << "TOVILDG.TXT: the section \"LOW\" has no END line; the file is incomplete.";
    QTest::newRow("INVAL.TXT missing")
        << "INVAL.TXT" << QByteArray() << "1-10=1" << false << "INVAL.TXT was not found.";
    QTest::newRow("INVAL.TXT without END")
        << "INVAL.TXT" << QByteArray("No end.\r\n") << "1-10=1" << false
        << "INVAL.TXT: the text has no END line; the file is incomplete.";
    QTest::newRow("client page text missing")
        << "TOVCDG.TXT" << QByteArray() << "" << true << "TOVCDG.TXT was not found.";
    QTest::newRow("tables cut short")
        << "TOV2SFB.TXT" << QByteArray("11,12,13\r\n") << "" << false
        << "TOV2SFB.TXT: the file ends before listed significant item 4. The file is incomplete.";
    QTest::newRow("texts missing")
        << "TSF2RPT.TXT" << QByteArray() << "" << false << "TSF2RPT.TXT was not found.";
}

void TestReportFailures::noReportFromBrokenFiles() {
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QFETCH(QString, answers);
    QFETCH(bool, clientPage);
    QFETCH(QString, message);
    QTemporaryDir dir;
    copyFolder(dir.path());
    const QString report = dir.filePath(QStringLiteral("report.prn"));
    // The report of a client scored before.
    reports::ScoreClient(dir.path(), dir.path(),
                         app::PublisherTexts::of(app::Settings(dir.path()).publisher()),
                         testclient::client(QString(), QString()), 1, {});
    QVERIFY(QFile::exists(report));
    if (content.isEmpty()) {
        QFile::remove(dir.filePath(file));
    } else {
        writeAll(dir.filePath(file), content);
    }
    try {
        reports::ScoreClient(dir.path(), dir.path(),
                             app::PublisherTexts::of(app::Settings(dir.path()).publisher()),
                             testclient::client(answers, QString()), 2, {false, clientPage});
        QFAIL("a report was written from a broken file");
    } catch (const AppError& e) {
        QVERIFY2(e.description().endsWith(message), qPrintable(e.description()));
    }
    QVERIFY(!QFile::exists(report));
}

void TestReportFailures::unusedPageTextsAreNotNeeded() {
    // The client page's texts are read only when the client page is asked for.
    QTemporaryDir dir;
    copyFolder(dir.path());
    QFile::remove(dir.filePath(QStringLiteral("TOVCDG.TXT")));
    QFile::remove(dir.filePath(QStringLiteral("INVAL.TXT")));
    const reports::ScoringPass pass = reports::ScoreClient(
        dir.path(), dir.path(), app::PublisherTexts::of(app::Settings(dir.path()).publisher()),
        testclient::client(QString(), QString()), 1, {true, false});
    QVERIFY(pass.report.endsWith("\r\n"));
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("report.prn"))));
}

QTEST_GUILESS_MAIN(TestReportFailures)
#include "test_reportfailures.moc"
