// SIGTERM and SIGHUP (a logout, a shutdown, a kill) end the program as its own Exit does: the
// screen's work is cancelled and no file holding a client's data is left in the program folder.
// The running program is this test run again as a child process ("--until-signal ROAD"): a whole
// program on fake screens, with the host's real signal handling, waiting on a screen of the road.
#include "platform/SignalEndRequests.h"
#include "scan/frmScanInfo.h"
#include "sheetgen/FilledSheet.h"
#include "supervisor/AccessCode.h"
#include "support/Operator.h"
#include "support/ProgramRig.h"
#include "ui/frmMainMenu.h"

#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

#include <csignal>
#include <cstdio>

#include <sys/stat.h>

using namespace tov;
using fakes::acceptOn;
using fakes::as;
using fakes::Operator;
using fakes::ProgramRig;

namespace {

const QStringList kClients = {"ONE, ANN", "TWO, BEN", "THREE, CY"};
const QString kReportOnScreen = QStringLiteral("report on screen");
const QString kScanUnderReview = QStringLiteral("scanned client under review");

// The roads' plans up to the screen the child waits on, and the main menu choice they start from.
int plan(Operator& op, const QString& road, const std::function<void()>& ready) {
    if (road == kReportOnScreen) {
        op.plan("tov::supervisor::frmSupervisorOptions", [](QWidget* w) {
            auto* s = as<supervisor::frmSupervisorOptions>(w);
            s->optPrintOption(supervisor::frmSupervisorOptions::PrintCurrent)->click();
            acceptOn(s, supervisor::frmSupervisorOptions::ChoiceExecute);
        });
        op.plan("tov::supervisor::frmMyInputBox", [](QWidget* w) {
            auto* box = as<supervisor::frmMyInputBox>(w);
            QTest::keyClicks(box->txtInput(), QString(QChar(supervisor::AccessCode)));
            QTest::keyClick(box->txtInput(), Qt::Key_Return);
            QTest::keyClick(box->kit()->cmdMenuChoice(0), Qt::Key_Return);
        });
        op.plan("tov::reports::frmViewReport", [ready](QWidget*) { ready(); });
        return ui::frmMainMenu::SupervisorOptions;
    }
    op.plan("tov::testing::frmSelectEntryMethod", [](QWidget* w) {
        acceptOn(as<testing::frmSelectEntryMethod>(w), testing::frmSelectEntryMethod::ChoiceScan);
    });
    op.plan("tov::scan::frmScanInfo", [](QWidget* w) {
        fakes::typeText(QStringLiteral("SCAN, SAM"));
        fakes::press(Qt::Key_Return);
        fakes::typeText(QStringLiteral("S123-4567-8901"));
        fakes::press(Qt::Key_Return);
        acceptOn(as<scan::frmScanInfo>(w), scan::frmScanInfo::ChoiceOK);
    });
    op.plan("tov::intake::frmClientInfo", [ready](QWidget*) { ready(); });
    return ui::frmMainMenu::AddNewClient;
}

// The child: goes down the road, prints its program folder when the screen is up, and runs until
// the program ends.
int runUntilSignal(int argc, char** argv, const QString& road) {
    QApplication app(argc, argv);
    ProgramRig rig(kClients, QByteArray("[Settings]\nNumLock=True\n"), [](platform::Platform& p) {
        p.endRequests = std::make_unique<platform::SignalEndRequests>();
    });
    // The test looks at the folder after this process has gone, and removes it.
    rig.root.setAutoRemove(false);
    const QDir built(qEnvironmentVariable("TOV_PROGRAM_DIR"));
    for (const QString& name : built.entryList({QStringLiteral("*.TXT")}, QDir::Files)) {
        QFile::copy(built.filePath(name), QDir(rig.programDir).filePath(name));
    }
    rig.state().setEndProgram(rig.programEnd);
    rig.scanner->failure = 0;
    rig.scanner->page = sheetgen::RenderFilledSheet({}, {});

    Operator op;
    const int choice = plan(op, road, [&] {
        op.stop();
        std::printf("%s\n", qPrintable(rig.programDir));
        std::fflush(stdout);
    });
    bool started = false;
    QTimer go;
    QObject::connect(&go, &QTimer::timeout, [&] {
        if (!started && rig.menu().isVisible() && QApplication::activeModalWidget() == nullptr) {
            started = true;
            go.stop();
            op.start();
            rig.menu().kit()->cmdMenuChoice(choice)->click();
        }
    });
    go.start(20);
    return rig.program->run();
}

// Permission bits of the name itself, -1 when there is nothing.
int modeOf(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

} // namespace

class TestEndSignals : public QObject {
    Q_OBJECT

private slots:
    void signalAnsweredOnTheEventLoop_data();
    void signalAnsweredOnTheEventLoop();
    void endRequestEndsTheProgramOnce();
    void signalEndsRunningProgram_data();
    void signalEndsRunningProgram();
};

void TestEndSignals::signalAnsweredOnTheEventLoop_data() {
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGHUP") << SIGHUP;
}

void TestEndSignals::signalAnsweredOnTheEventLoop() {
    QFETCH(int, signal);
    int requests = 0;
    struct sigaction before {};
    QCOMPARE(::sigaction(signal, nullptr, &before), 0);
    {
        platform::SignalEndRequests ends;
        ends.onEndRequested([&] { ++requests; });
        QCOMPARE(::raise(signal), 0);
        // Not in the signal handler: from the event loop, once it runs.
        QCOMPARE(requests, 0);
        QTRY_COMPARE(requests, 1);
    }
    // Gone with it: the handling it found is back.
    struct sigaction now {};
    QCOMPARE(::sigaction(signal, nullptr, &now), 0);
    QVERIFY(now.sa_handler == before.sa_handler);
}

void TestEndSignals::endRequestEndsTheProgramOnce() {
    ProgramRig rig(kClients);
    QVERIFY(rig.program->start());
    QVERIFY(rig.endRequests != nullptr);
    rig.endRequests->request();
    QVERIFY(rig.state().ending());
    QCOMPARE(rig.ends, 1);
    rig.endRequests->request();
    QCOMPARE(rig.ends, 1);
}

void TestEndSignals::signalEndsRunningProgram_data() {
    QTest::addColumn<int>("signal");
    QTest::addColumn<QString>("road");
    QTest::addColumn<QStringList>("files"); // the client's files while the screen is up
    for (const auto& [signal, name] :
         {std::pair{SIGTERM, "SIGTERM"}, std::pair{SIGHUP, "SIGHUP"}}) {
        QTest::addRow("%s, %s", name, qPrintable(kReportOnScreen))
            << signal << kReportOnScreen << QStringList{"report.prn"};
        QTest::addRow("%s, %s", name, qPrintable(kScanUnderReview))
            << signal << kScanUnderReview << QStringList{"raw.bmp", "scan.bmp"};
    }
}

void TestEndSignals::signalEndsRunningProgram() {
    QFETCH(int, signal);
    QFETCH(QString, road);
    QFETCH(QStringList, files);
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {"--until-signal", road});
    QVERIFY(child.waitForStarted(10000));
    QTRY_VERIFY_WITH_TIMEOUT(child.canReadLine() || child.state() == QProcess::NotRunning, 60000);
    const QString folder = QString::fromLocal8Bit(child.readLine().trimmed());
    QVERIFY2(!folder.isEmpty(), "the child did not reach its screen");
    const auto cleanUp = qScopeGuard([&] {
        child.kill();
        child.waitForFinished(5000);
        QDir(folder + QStringLiteral("/..")).removeRecursively();
    });
    const QByteArray clientFile = fakes::readAll(folder + QStringLiteral("/../data/DATA401.TOV"));
    for (const QString& name : files) {
        QCOMPARE(modeOf(folder + QLatin1Char('/') + name), 0600);
    }

    QCOMPARE(::kill(static_cast<pid_t>(child.processId()), signal), 0);
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 0);
    // The screen's work was cancelled: nothing was stored.
    QCOMPARE(fakes::readAll(folder + QStringLiteral("/../data/DATA401.TOV")), clientFile);
    static const QRegularExpression confidential(
        QStringLiteral("^\\.?(report\\.prn|REPORT\\.SCR|temp[0-9]+|raw\\.bmp|scan\\.bmp)"));
    const QStringList left =
        QDir(folder)
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
            .filter(confidential);
    QCOMPARE(left, QStringList());
}

int main(int argc, char** argv) {
    if (argc == 3 && QByteArray(argv[1]) == "--until-signal") {
        return runUntilSignal(argc, argv, QString::fromLocal8Bit(argv[2]));
    }
    QApplication app(argc, argv);
    TestEndSignals test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_endsignals.moc"
