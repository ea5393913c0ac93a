// The data volume failing under a whole run of the program: every system call the run makes on
// the volume is made to fail in turn (a pulled stick: EIO), and every write in turn finds the
// device full. After each fault the record file must hold every other record as it was and the
// record being written either as it was or as meant, the operator must have been told, and the
// client table must still match the file.

#include "entry/frmNewEntry.h"
#include "intake/frmClientInfo.h"
#include "intake/frmCourtHistory.h"
#include "supervisor/frmSupervisorOptions.h"
#include "supervisor/frmVerify.h"
#include "support/Operator.h"
#include "support/ProgramRig.h"
#include "support/ScreenDriver.h"
#include "testing/frmSelectEntryMethod.h"
#include "ui/MenuChoice.h"
#include "ui/ScreenKit.h"
#include "ui/frmMainMenu.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QtTest>

#include <cerrno>

using namespace tov;
using fakes::acceptOn;
using fakes::as;
using fakes::FaultyFileSystem;
using fakes::FaultySystemCalls;
using fakes::Operator;
using fakes::planIntake;
using fakes::press;
using fakes::ProgramRig;
using fakes::typeText;
using records::Field;
using records::kRecordSize;

namespace {

const QStringList kClients = {"ONE, ANN", "TWO, BEN", "THREE, CY"};

// The new client's sheet: true/false answers 2 and 1 in turn, then the multiple choice items.
QString sheetAnswers() {
    QString r;
    for (int i = 1; i <= 67; ++i) {
        r += QChar('1' + i % 2);
    }
    return r + QStringLiteral("123412");
}

// The operator's work for one step of the run.
using Plan = std::function<void(Operator&)>;

void planAddClient(Operator& op) {
    planIntake(op, testing::frmSelectEntryMethod::ChoicePaper);
    op.plan("tov::entry::frmNewEntry", [](QWidget* w) {
        typeText(sheetAnswers());
        acceptOn(as<entry::frmNewEntry>(w), entry::frmNewEntry::ChoiceSave);
    });
}

Plan planEdit(const QString& age, const QString& priorDui, const QString& firstAnswers) {
    return [=](Operator& op) {
        op.plan("tov::intake::frmClientInfo", [age](QWidget* w) {
            auto* s = as<intake::frmClientInfo>(w);
            s->txtAge->setFocus();
            typeText(age);
            press(Qt::Key_Return);
            acceptOn(s, intake::frmClientInfo::ChoiceOK);
        });
        op.plan("tov::intake::frmCourtHistory", [priorDui](QWidget* w) {
            auto* s = as<intake::frmCourtHistory>(w);
            s->field(intake::frmCourtHistory::PriorDUI)->setFocus();
            typeText(priorDui);
            press(Qt::Key_Return);
            acceptOn(s, intake::frmCourtHistory::ChoiceOK);
        });
        op.plan("tov::entry::frmNewEntry", [firstAnswers](QWidget* w) {
            typeText(firstAnswers);
            acceptOn(as<entry::frmNewEntry>(w), entry::frmNewEntry::ChoiceSave);
        });
    };
}

void planSupervisor(Operator& op, int tab) {
    op.plan("tov::supervisor::frmSupervisorOptions", [tab](QWidget* w) {
        auto* s = as<supervisor::frmSupervisorOptions>(w);
        s->sstSupervisorOperations()->setCurrentIndex(tab);
        acceptOn(s, supervisor::frmSupervisorOptions::ChoiceExecute);
    });
}

void planVerify(Operator& op) {
    planSupervisor(op, 1);
    op.plan("tov::supervisor::frmVerify", [](QWidget*) {
        QString keyed = sheetAnswers();
        keyed[9] = '0';  // item 10, stored 1
        keyed[69] = '4'; // item 70, stored 3
        typeText(keyed);
        typeText("24"); // the correction pass: items 10 and 70
    });
}

struct Step {
    QString name;
    int menuChoice; // -1: start-up
    Plan plan;
};

QList<Step> steps() {
    return {
        {"start-up", -1, {}},
        {"add client", ui::frmMainMenu::AddNewClient, planAddClient},
        {"edit 1", ui::frmMainMenu::EditCurrentClient, planEdit("45", "2", "12")},
        {"edit 2", ui::frmMainMenu::EditCurrentClient, planEdit("46", "3", "21")},
        {"verify", ui::frmMainMenu::SupervisorOptions, planVerify},
        {"delete names", ui::frmMainMenu::SupervisorOptions,
         [](Operator& op) { planSupervisor(op, 2); }},
    };
}

QString boxLine(const fakes::FakeMessageBoxes::Shown& b) {
    // The temporary folders differ from run to run; the table names files only.
    static const QRegularExpression folder(QStringLiteral("/[^ )]*/"));
    const QString first = b.text.section(QLatin1Char('\r'), 0, 0).replace(folder, QString());
    return (b.title.isEmpty() ? QString() : b.title + QStringLiteral(": ")) + first;
}

// What one run went through.
struct Run {
    // The data file after each file system operation; [0] before the first.
    QList<QByteArray> fileAfterOp{QByteArray()};
    // The first operation of each step, and the boxes shown in it.
    QList<int> stepFirstOp;
    QList<QStringList> stepBoxes;

    // Set when a fault fired: the operation it fired in and what that operation left.
    int faultOp = 0;
    bool faultThrew = false;
    QByteArray fileAfterFault;
    int faultStep = -1;
    bool ended = false;
    bool tableMatchesFile = true;
    QStringList leftovers;
    // The file at the end of each step.
    QList<QByteArray> stepEndFile;
    // System calls made, writes among them, and the call that failed.
    int calls = 0;
    int writes = 0;
    QString failedCall;
    QString failedOp;
};

QString opName(FaultyFileSystem::Op op) {
    switch (op) {
    case FaultyFileSystem::Op::Exists:
        return QStringLiteral("exists");
    case FaultyFileSystem::Op::Size:
        return QStringLiteral("size");
    case FaultyFileSystem::Op::Probe:
        return QStringLiteral("probe");
    case FaultyFileSystem::Op::Read:
        return QStringLiteral("load");
    case FaultyFileSystem::Op::WriteAt:
        return QStringLiteral("write record");
    case FaultyFileSystem::Op::WriteNew:
        return QStringLiteral("write test file");
    case FaultyFileSystem::Op::Remove:
        return QStringLiteral("remove");
    }
    return {};
}

enum class Fault { None, DeviceError, DeviceFull };

Run runProgram(Fault fault, int n) {
    Run run;
    ProgramRig rig(kClients);
    run.fileAfterOp[0] = fakes::readAll(rig.dataFile());
    FaultySystemCalls& sys = rig.fs->system();
    if (fault == Fault::DeviceError) {
        sys.failNth(n, EIO);
    } else if (fault == Fault::DeviceFull) {
        sys.fillDeviceAtWrite(n);
    }
    // A drive that fails at start-up is not tried again: the run ends there.
    rig.boxes->answerFor = [](const fakes::FakeMessageBoxes::Shown& b) {
        return b.text.startsWith(QStringLiteral("No test information found"))
                   ? std::optional(platform::MessageBoxes::Answer::No)
                   : std::nullopt;
    };
    const QString dataFile = rig.dataFile();
    rig.fs->afterEach = [&run, &sys, dataFile, fault](FaultyFileSystem::Op o, bool threw) {
        const QByteArray now = fakes::readAll(dataFile);
        run.fileAfterOp << now;
        if (fault != Fault::None && sys.fired >= 0 && run.faultOp == 0) {
            run.faultOp = static_cast<int>(run.fileAfterOp.size()) - 1;
            run.faultThrew = threw;
            run.fileAfterFault = now;
            run.failedOp = opName(o);
            const auto& call = sys.log.at(sys.fired);
            run.failedCall = FaultySystemCalls::nameOf(call.call) + QLatin1Char(' ') + call.file;
        }
    };

    Operator op;
    const QList<Step> all = steps();
    for (int i = 0; i < all.size(); ++i) {
        const Step& step = all[i];
        run.stepFirstOp << rig.fs->calls() + 1;
        const auto boxesBefore = rig.boxes->shown.size();
        if (step.menuChoice < 0) {
            if (!rig.program->start()) {
                run.ended = true;
            }
        } else {
            if (step.menuChoice == ui::frmMainMenu::EditCurrentClient) {
                // The operator picks the newest client in the list.
                rig.menu().lbNameDisplay()->setCurrentRow(rig.state().clients().ClientCount() - 1);
            }
            step.plan(op);
            op.start();
            rig.menu().kit()->cmdMenuChoice(step.menuChoice)->click();
            op.stop();
        }
        QStringList shown;
        for (auto b = boxesBefore; b < rig.boxes->shown.size(); ++b) {
            shown << boxLine(rig.boxes->shown[b]);
        }
        run.stepBoxes << shown;
        run.stepEndFile << fakes::readAll(dataFile);
        run.ended = run.ended || rig.state().ending() || rig.ends > 0;
        if (run.faultOp > 0 || run.ended) {
            run.faultStep = i;
            break;
        }
    }
    if (!run.ended) {
        // The table keeps what the file holds, so no later write can bring back what failed.
        const QByteArray file = fakes::readAll(dataFile);
        const auto& table = rig.state().clients();
        run.tableMatchesFile = file.size() == qsizetype(table.ClientCount()) * kRecordSize;
        for (int slot = 1; run.tableMatchesFile && slot <= table.ClientCount(); ++slot) {
            run.tableMatchesFile = table.Clients(slot).bytes() ==
                                   file.mid(qsizetype(slot - 1) * kRecordSize, kRecordSize);
        }
    }
    run.calls = sys.calls();
    run.writes = sys.calls(FaultySystemCalls::Call::Write);
    run.leftovers = QDir(rig.dataDir).entryList(QDir::Files | QDir::Hidden | QDir::System);
    run.leftovers.removeAll(records::ClientTable::FileName);
    return run;
}

QByteArray recordOf(const QByteArray& file, int n) {
    return file.mid(qsizetype(n) * kRecordSize, kRecordSize);
}

// How a file after a fault stands against the file before the operation and the one meant.
// Empty when it is neither, record by record.
QString fileState(const QByteArray& after, const QByteArray& before, const QByteArray& meant) {
    if (before == meant) {
        return after == before ? QStringLiteral("unchanged") : QString();
    }
    if (after == before) {
        return QStringLiteral("as before");
    }
    if (after == meant) {
        return QStringLiteral("as intended");
    }
    if (after.size() != before.size() && after.size() != meant.size()) {
        return {};
    }
    QStringList meantRecords;
    for (int r = 0; qsizetype(r) * kRecordSize < after.size(); ++r) {
        const QByteArray rec = recordOf(after, r);
        if (rec == recordOf(meant, r) && rec != recordOf(before, r)) {
            meantRecords << QString::number(r + 1);
        } else if (rec != recordOf(before, r)) {
            return {};
        }
    }
    return QStringLiteral("records %1 as intended, the others as before")
        .arg(meantRecords.join(QLatin1Char(',')));
}

} // namespace

class TestVolumeFaults : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanRunDoesWhatItShould();
    void everyCallFailing_data();
    void everyCallFailing();
    void cleanupTestCase();

private:
    Run clean_;
    QStringList table_;
};

void TestVolumeFaults::initTestCase() {
    clean_ = runProgram(Fault::None, 0);
    QCOMPARE(clean_.stepBoxes.size(), steps().size());
}

void TestVolumeFaults::cleanRunDoesWhatItShould() {
    const QByteArray file = clean_.fileAfterOp.last();
    QCOMPARE(file.size(), 4 * kRecordSize);
    const auto added = records::ClientRecord::fromBytes(recordOf(file, 3));
    QCOMPARE(added.trimmed(Field::Age), QStringLiteral("46"));
    QCOMPARE(added.trimmed(Field::PriorDUI), QStringLiteral("3"));
    QCOMPARE(added.get(Field::EditCount), QStringLiteral("2"));
    QCOMPARE(added.get(Field::NameDeleted), QStringLiteral("1"));
    QString verified = sheetAnswers();
    verified[9] = '2';
    verified[69] = '4';
    QCOMPARE(added.get(Field::Responses), verified);
    for (int r = 0; r < 3; ++r) {
        const auto rec = records::ClientRecord::fromBytes(recordOf(file, r));
        QCOMPARE(rec.get(Field::NameDeleted), QStringLiteral("1"));
        QVERIFY(rec.trimmed(Field::Name) != kClients[r]);
    }
    QVERIFY(clean_.tableMatchesFile);
    QVERIFY(clean_.leftovers.isEmpty());
    // The steps the sweep covers, as the operator saw them.
    QVERIFY(clean_.stepBoxes[4].contains(
        QStringLiteral("Data Corrections: Data Correction needed. Please correct the following "
                       "questions.")));
    QVERIFY(
        clean_.stepBoxes[5].contains(QStringLiteral("Process complete. Press Enter to continue.")));
}

void TestVolumeFaults::everyCallFailing_data() {
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("n");
    for (int n = 1; n <= clean_.calls; ++n) {
        QTest::addRow("EIO at call %d", n) << int(Fault::DeviceError) << n;
    }
    for (int n = 1; n <= clean_.writes; ++n) {
        QTest::addRow("full at write %d", n) << int(Fault::DeviceFull) << n;
    }
}

void TestVolumeFaults::everyCallFailing() {
    QFETCH(int, fault);
    QFETCH(int, n);
    const Run run = runProgram(Fault(fault), n);
    QVERIFY2(run.faultOp > 0, "the fault never fired");
    const QByteArray& before = clean_.fileAfterOp.at(run.faultOp - 1);
    const QByteArray& meant = clean_.fileAfterOp.at(run.faultOp);
    const QString state = fileState(run.fileAfterFault, before, meant);
    const int step = run.faultStep;
    // What the operator was shown in that step beyond what the clean run showed.
    QStringList told = run.stepBoxes.at(step);
    for (const QString& b : clean_.stepBoxes.at(step)) {
        told.removeOne(b);
    }
    const bool sameOutcome = !run.ended && run.stepEndFile.at(step) == clean_.stepEndFile.at(step);
    table_ << QStringLiteral("| %1 | %2 | %3 | %4 | %5 | %6%7 | %8 |")
                  .arg(QTest::currentDataTag())
                  .arg(run.failedCall, steps().at(step).name, run.failedOp,
                       run.faultThrew ? QStringLiteral("failed") : QStringLiteral("absorbed"),
                       state.isEmpty() ? QStringLiteral("CORRUPT") : state,
                       run.ended ? QStringLiteral(", program ended") : QString(),
                       told.isEmpty() ? QStringLiteral("-") : told.join(QStringLiteral(" / ")));
    QVERIFY2(!state.isEmpty(), "a record is neither as before nor as intended");
    if (!run.faultThrew && before != meant) {
        QCOMPARE(state, QStringLiteral("as intended"));
    }
    if (run.faultThrew || !sameOutcome) {
        QVERIFY2(!told.isEmpty(), "the operation failed and the operator was not told");
    }
    QVERIFY2(run.tableMatchesFile, "the client table no longer matches the file");
    // Only a volume that refuses to remove the write-test file keeps it.
    if (run.failedCall != QStringLiteral("unlink checkWriteTest")) {
        QVERIFY2(run.leftovers.isEmpty(), qPrintable(run.leftovers.join(' ')));
    }
}

void TestVolumeFaults::cleanupTestCase() {
    const QString path = qEnvironmentVariable("TOV_FAULT_TABLE");
    QFile out(path);
    if (!path.isEmpty() && out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        out.write("| fault | call failed | step | operation | outcome | file afterwards | "
                  "message shown |\n|---|---|---|---|---|---|---|\n");
        out.write(table_.join(QLatin1Char('\n')).toUtf8() + '\n');
    }
}

QTEST_MAIN(TestVolumeFaults)
#include "test_volumefaults.moc"
