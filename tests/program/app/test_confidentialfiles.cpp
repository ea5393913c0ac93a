// The files in the program folder that hold a client's data: each is written owner-only as a new
// file of the program's own, whatever another user planted under its name; the batch copies go
// when their batch ends; and whatever an earlier run left is removed at start.
#include "app/Publisher.h"
#include "app/Settings.h"
#include "reports/ReportCommand.h"
#include "reports/ReportPrinting.h"
#include "reports/ScoreClient.h"
#include "reports/frmPrintSelected.h"
#include "scan/ScanImage.h"
#include "supervisor/frmSupervisorOptions.h"
#include "support/FakePrinter.h"
#include "support/ScreenDriver.h"
#include "ui/ScreenKit.h"

#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace tov;
using fakes::ReportRig;

namespace {

const QStringList kClients = {"ONE, ANN", "TWO, BEN", "THREE, CY"};
const QByteArray kVictim = "another user's file\n";

// Permission bits of the name itself, -1 when there is nothing.
int modeOf(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

bool isPlainFile(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

// What another local user may have put under a name before the program writes it.
void plant(const QString& kind, const QString& path, const QString& victim,
           const QString& nowhere) {
    const QByteArray name = QFile::encodeName(path);
    if (kind == QLatin1String("link to another's file")) {
        QVERIFY(::symlink(QFile::encodeName(victim).constData(), name.constData()) == 0);
    } else if (kind == QLatin1String("link to nowhere")) {
        QVERIFY(::symlink(QFile::encodeName(nowhere).constData(), name.constData()) == 0);
    } else if (kind == QLatin1String("hard link to another's file")) {
        QVERIFY(::link(QFile::encodeName(victim).constData(), name.constData()) == 0);
    } else if (kind == QLatin1String("file readable by all")) {
        fakes::writeAll(path, "an old report\n");
        QVERIFY(::chmod(name.constData(), 0644) == 0);
    }
}

records::ClientRecord firstClient(ReportRig& rig) {
    return rig.state().clients().Clients(1);
}

QImage page() {
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixel(3, 4, qRgb(0, 0, 0));
    return image;
}

QByteArray bmpBytes(const QString& folder) {
    const QString path = folder + QStringLiteral("/reference.bmp");
    scan::SaveEightBitBmp(page(), path);
    QByteArray bytes = fakes::readAll(path);
    QFile::remove(path);
    return bytes;
}

// One way the program writes a confidential file: `ready` runs just before the write under
// test; the bytes returned are what the file must hold after it.
struct Writer {
    QString name;
    std::function<QByteArray(ReportRig&, const std::function<void()>& ready)> write;
};

QMap<QString, Writer> writers() {
    const auto score = [](ReportRig& rig) {
        return reports::ScoreClient(
                   rig.programDir, rig.programDir,
                   app::PublisherTexts::of(app::Settings(rig.programDir).publisher()),
                   firstClient(rig), 1, {})
            .report;
    };
    return {
        {"report.prn, scored",
         {"report.prn",
          [score](ReportRig& rig, const std::function<void()>& ready) {
              ready();
              return score(rig);
          }}},
        {"report.prn, by tov2sf-report",
         {"report.prn",
          [](ReportRig& rig, const std::function<void()>& ready) {
              ready();
              reports::ReportCommand command;
              command.run({"tov2sf-report", "--program-folder", rig.programDir, "--data-file",
                           rig.dataFile(), "--client", "1"});
              return reports::RunScoring(
                         rig.programDir,
                         app::PublisherTexts::of(app::Settings(rig.programDir).publisher()),
                         firstClient(rig), 1, {})
                  .report;
          }}},
        {"numbered copy",
         {"temp1",
          [score](ReportRig& rig, const std::function<void()>& ready) {
              const QByteArray report = score(rig);
              ready();
              reports::CopyReportTo(rig.programDir, 1);
              return report;
          }}},
        {"report.prn, from a numbered copy",
         {"report.prn",
          [score](ReportRig& rig, const std::function<void()>& ready) {
              const QByteArray report = score(rig);
              reports::CopyReportTo(rig.programDir, 1);
              reports::RemoveReportFiles(rig.programDir);
              ready();
              reports::PrintNumberedCopies(rig.printer, rig.programDir, {1});
              return report;
          }}},
        {"raw.bmp",
         {"raw.bmp",
          [](ReportRig& rig, const std::function<void()>& ready) {
              const QByteArray bytes = bmpBytes(rig.programDir);
              ready();
              scan::SaveEightBitBmp(page(), rig.programFile(QStringLiteral("raw.bmp")));
              return bytes;
          }}},
        {"scan.bmp",
         {"scan.bmp",
          [](ReportRig& rig, const std::function<void()>& ready) {
              const QByteArray bytes = bmpBytes(rig.programDir);
              ready();
              scan::SaveEightBitBmp(page(), rig.programFile(QStringLiteral("scan.bmp")));
              return bytes;
          }}},
    };
}

const QStringList kPlants = {"nothing", "link to another's file", "link to nowhere",
                             "hard link to another's file", "file readable by all"};

} // namespace

class TestConfidentialFiles : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void writtenOwnerOnlyNeverThroughLinks_data();
    void writtenOwnerOnlyNeverThroughLinks();
    void batchCopiesGoWithTheBatch_data();
    void batchCopiesGoWithTheBatch();
    void leftoversRemovedAtStart_data();
    void leftoversRemovedAtStart();

private:
    mode_t umask_ = 0;
};

void TestConfidentialFiles::initTestCase() {
    // A umask that takes nothing away: a file made readable by all shows as such.
    umask_ = ::umask(0);
}

void TestConfidentialFiles::cleanupTestCase() {
    ::umask(umask_);
}

void TestConfidentialFiles::writtenOwnerOnlyNeverThroughLinks_data() {
    QTest::addColumn<QString>("writer");
    QTest::addColumn<QString>("planted");
    for (const QString& writer : writers().keys()) {
        for (const QString& planted : kPlants) {
            QTest::newRow(qPrintable(writer + QStringLiteral(" / ") + planted))
                << writer << planted;
        }
    }
}

void TestConfidentialFiles::writtenOwnerOnlyNeverThroughLinks() {
    QFETCH(QString, writer);
    QFETCH(QString, planted);
    ReportRig rig(kClients);
    QVERIFY(rig.started);
    const Writer w = writers().value(writer);
    const QString path = rig.programFile(w.name);
    const QString victim = rig.root.filePath(QStringLiteral("victim"));
    const QString nowhere = rig.root.filePath(QStringLiteral("nowhere"));
    fakes::writeAll(victim, kVictim);
    QVERIFY(::chmod(QFile::encodeName(victim).constData(), 0644) == 0);
    const QStringList before =
        QDir(rig.programDir)
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);

    const QByteArray expected = w.write(rig, [&] { plant(planted, path, victim, nowhere); });

    QVERIFY(!expected.isEmpty());
    QVERIFY2(isPlainFile(path), "the name is not the program's own file");
    QCOMPARE(modeOf(path), 0600);
    QCOMPARE(fakes::readAll(path), expected);
    // What the planted name led to is as it was.
    QCOMPARE(fakes::readAll(victim), kVictim);
    QCOMPARE(modeOf(victim), 0644);
    QVERIFY(!QFileInfo::exists(nowhere));
    // Nothing else was left beside it.
    QStringList added =
        QDir(rig.programDir)
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& name : before) {
        added.removeAll(name);
    }
    added.removeAll(w.name);
    added.removeAll(QStringLiteral("report.prn")); // the copy writers score first
    added.removeAll(QStringLiteral("temp1"));
    QCOMPARE(added, QStringList());
}

// Every report of a batch is written into its numbered copy before any is printed; the copies
// are owner-only while the batch prints, and gone when it ends, printed or refused.
void TestConfidentialFiles::batchCopiesGoWithTheBatch_data() {
    QTest::addColumn<bool>("selected"); // Print Selected, or Print All
    QTest::addColumn<QString>("refusal");
    QTest::newRow("print selected") << true << QString();
    QTest::newRow("print selected, printer refuses") << true << "Printer not ready";
    QTest::newRow("print all") << false << QString();
    QTest::newRow("print all, printer refuses") << false << "Printer not ready";
}

void TestConfidentialFiles::batchCopiesGoWithTheBatch() {
    QFETCH(bool, selected);
    QFETCH(QString, refusal);
    ReportRig rig(kClients);
    QVERIFY(rig.started);
    rig.state().clients().setCurrentClient(1);
    rig.printer.failure = refusal;
    QMap<QString, int> whilePrinting; // copy -> mode, as the first job reaches the printer
    rig.printer.onPrint = [&](const platform::PrintJob&) {
        if (whilePrinting.isEmpty()) {
            for (const QString& name :
                 QDir(rig.programDir).entryList({QStringLiteral("temp*")}, QDir::Files)) {
                whilePrinting[name] = modeOf(rig.programFile(name));
            }
        }
    };
    if (selected) {
        reports::frmPrintSelected screen(rig.program->context(), rig.printer, {}, &rig.menu());
        QVERIFY(fakes::showScreen(&screen));
        screen.kit()->cmdMenuChoice(reports::frmPrintSelected::ChoiceSelectAll)->click();
        screen.kit()->cmdMenuChoice(reports::frmPrintSelected::ChoicePrint)->click();
    } else {
        supervisor::frmSupervisorOptions screen(rig.program->context(), rig.printer, &rig.menu());
        screen.PrintAllReports();
    }
    const QMap<QString, int> copies = {{"temp1", 0600}, {"temp2", 0600}, {"temp3", 0600}};
    QCOMPARE(whilePrinting, copies);
    QCOMPARE(rig.printer.printed.size(), refusal.isEmpty() ? 3 : 0);
    QCOMPARE(rig.boxes->shown.size(), refusal.isEmpty() ? 0 : 1);
    for (const char* name : {"temp1", "temp2", "temp3", "report.prn"}) {
        QVERIFY2(modeOf(rig.programFile(QString::fromLatin1(name))) == -1, name);
    }
}

// A program killed with a report on screen, a logout or a power cut leaves files a run removes
// when its work ends; the next run removes them as it starts, and nothing that is not one.
void TestConfidentialFiles::leftoversRemovedAtStart_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind"); // file, link, link to nowhere, folder
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<bool>("otherCopy"); // another copy of the program is running
    QTest::addColumn<bool>("removed");
    const QByteArray plain("[Settings]\nNumLock=True\n");
    const QByteArray trace("[Settings]\nScanTrace=True\n");
    QTest::newRow("report.prn") << "report.prn"
                                << "file" << plain << false << true;
    QTest::newRow("REPORT.SCR") << "REPORT.SCR"
                                << "file" << plain << false << true;
    QTest::newRow("temp1") << "temp1"
                           << "file" << plain << false << true;
    QTest::newRow("temp42") << "temp42"
                            << "file" << plain << false << true;
    QTest::newRow("raw.bmp") << "raw.bmp"
                             << "file" << plain << false << true;
    QTest::newRow("scan.bmp") << "scan.bmp"
                              << "file" << plain << false << true;
    QTest::newRow("report.prn as a link") << "report.prn"
                                          << "link" << plain << false << true;
    QTest::newRow("temp3 as a link to nowhere") << "temp3"
                                                << "link to nowhere" << plain << false << true;
    QTest::newRow("report.prn cut short") << ".report.prn.a1B2c3"
                                          << "file" << plain << false << true;
    QTest::newRow("temp2 cut short") << ".temp2.Zz9Yy8"
                                     << "file" << plain << false << true;
    QTest::newRow("raw.bmp, trace on") << "raw.bmp"
                                       << "file" << trace << false << false;
    QTest::newRow("scan.bmp cut short, trace on") << ".scan.bmp.Q1w2E3"
                                                  << "file" << trace << false << false;
    QTest::newRow("report.prn, another copy running") << "report.prn"
                                                      << "file" << plain << true << false;
    QTest::newRow("temp") << "temp"
                          << "file" << plain << false << false;
    QTest::newRow("temp1.txt") << "temp1.txt"
                               << "file" << plain << false << false;
    QTest::newRow("template") << "template"
                              << "file" << plain << false << false;
    QTest::newRow("myreport.prn") << "myreport.prn"
                                  << "file" << plain << false << false;
    QTest::newRow("hidden, not cut short") << ".report.prn.backup1"
                                           << "file" << plain << false << false;
    QTest::newRow("folder named temp5") << "temp5"
                                        << "folder" << plain << false << false;
}

void TestConfidentialFiles::leftoversRemovedAtStart() {
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QByteArray, settings);
    QFETCH(bool, otherCopy);
    QFETCH(bool, removed);
    fakes::ProgramRig rig(kClients, settings);
    rig.instance->running = otherCopy;
    const QString path = QDir(rig.programDir).filePath(name);
    const QString victim = rig.root.filePath(QStringLiteral("victim"));
    fakes::writeAll(victim, kVictim);
    if (kind == QLatin1String("file")) {
        fakes::writeAll(path, "ONE, ANN\n");
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(QDir().mkdir(path));
    } else {
        const QString target =
            kind == QLatin1String("link") ? victim : rig.root.filePath(QStringLiteral("nowhere"));
        QVERIFY(::symlink(QFile::encodeName(target).constData(),
                          QFile::encodeName(path).constData()) == 0);
    }
    QCOMPARE(rig.program->start(), !otherCopy);
    QCOMPARE(modeOf(path) == -1, removed);
    QCOMPARE(fakes::readAll(victim), kVictim);
}

QTEST_MAIN(TestConfidentialFiles)
#include "test_confidentialfiles.moc"
