// Confidential leftovers: after each road through the program, the program folder holds only what
// the program ships (no report, numbered print copy or scan image stays once its work is done);
// the data volume holds only the client file; nothing else is written beside them.

#include "scan/frmScanInfo.h"
#include "sheetgen/FilledSheet.h"
#include "supervisor/AccessCode.h"
#include "support/Operator.h"
#include "support/ProgramRig.h"
#include "support/ScreenDriver.h"
#include "support/TestingRig.h"
#include "ui/frmMainMenu.h"

#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>

using namespace tov;
using fakes::acceptOn;
using fakes::as;
using fakes::Operator;
using fakes::planIntake;
using fakes::press;
using fakes::ProgramRig;
using fakes::typeText;

namespace {

const QStringList kClients = {"ONE, ANN", "TWO, BEN", "THREE, CY"};

// A client whose every field holds what the screens accept, so an edit can be accepted as it is.
QByteArray completeRecord(const QString& name) {
    using records::Field;
    records::ClientRecord r = records::ClientRecord::fromBytes(fakes::clientRecord(name));
    const QList<QPair<Field, QString>> values = {{Field::Age, "40"},
                                                 {Field::DOB, "01/02/1986"},
                                                 {Field::Gender, "1"},
                                                 {Field::Race, "5"},
                                                 {Field::Marital, "2"},
                                                 {Field::Education, "3"},
                                                 {Field::SSN, "000-11-2222"},
                                                 {Field::DLNumber, "D123-4567-8901"},
                                                 {Field::TestDate, "12/01/2026"},
                                                 {Field::PriorDUI, "0"},
                                                 {Field::COSupervision, "0"},
                                                 {Field::Reckless, "0"},
                                                 {Field::SSSuspend, "0"},
                                                 {Field::MViolations, "1"},
                                                 {Field::Accidents, "0"},
                                                 {Field::AlcoholArrests, "0"},
                                                 {Field::DrugArrests, "0"},
                                                 {Field::DateOfPresentArrest, "09/08/2026"},
                                                 {Field::BAC, ".10"},
                                                 {Field::StPriorDUI, "0"},
                                                 {Field::StBAC, ".10"}};
    for (const auto& [field, value] : values) {
        r.set(field, value);
    }
    return r.bytes();
}

QStringList listing(const QString& folder) {
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

void planAccessCode(Operator& op) {
    op.plan("tov::supervisor::frmMyInputBox", [](QWidget* w) {
        auto* box = as<supervisor::frmMyInputBox>(w);
        QTest::keyClicks(box->txtInput(), QString(QChar(supervisor::AccessCode)));
        QTest::keyClick(box->txtInput(), Qt::Key_Return);
        QTest::keyClick(box->kit()->cmdMenuChoice(0), Qt::Key_Return);
    });
}

void planReports(Operator& op, int option) {
    op.plan("tov::supervisor::frmSupervisorOptions", [option](QWidget* w) {
        auto* s = as<supervisor::frmSupervisorOptions>(w);
        s->sstSupervisorOperations()->setCurrentIndex(0);
        s->optPrintOption(option)->click();
        acceptOn(s, supervisor::frmSupervisorOptions::ChoiceExecute);
    });
    planAccessCode(op);
}

struct Road {
    int menuChoice;
    std::function<void(Operator&)> plan;
};

QMap<QString, Road> roads() {
    using Options = supervisor::frmSupervisorOptions;
    return {
        {"edit client",
         {ui::frmMainMenu::EditCurrentClient,
          [](Operator& op) {
              op.plan("tov::intake::frmClientInfo", [](QWidget* w) {
                  auto* s = as<intake::frmClientInfo>(w);
                  s->txtAge->setFocus();
                  typeText("45");
                  press(Qt::Key_Return);
                  acceptOn(s, intake::frmClientInfo::ChoiceOK);
              });
              op.plan("tov::intake::frmCourtHistory", [](QWidget* w) {
                  acceptOn(as<intake::frmCourtHistory>(w), intake::frmCourtHistory::ChoiceOK);
              });
              op.plan("tov::entry::frmNewEntry", [](QWidget* w) {
                  typeText("21");
                  acceptOn(as<entry::frmNewEntry>(w), entry::frmNewEntry::ChoiceSave);
              });
          }}},
        {"add client on screen",
         {ui::frmMainMenu::AddNewClient,
          [](Operator& op) {
              planIntake(op, testing::frmSelectEntryMethod::ChoiceOnScreen);
              op.plan("tov::testing::frmSelectLanguage",
                      [](QWidget* w) { acceptOn(as<testing::frmSelectLanguage>(w), 0); });
              op.plan("tov::testing::frmPresentQA", [](QWidget* w) {
                  auto* qa = as<testing::frmPresentQA>(w);
                  fakes::passInstructions(qa);
                  fakes::answerItems(qa, fakes::sampleResponses(), 1);
              });
              planAccessCode(op);
          }}},
        {"add client from paper sheet",
         {ui::frmMainMenu::AddNewClient,
          [](Operator& op) {
              planIntake(op, testing::frmSelectEntryMethod::ChoicePaper);
              op.plan("tov::entry::frmNewEntry", [](QWidget* w) {
                  typeText(fakes::sampleResponses());
                  acceptOn(as<entry::frmNewEntry>(w), entry::frmNewEntry::ChoiceSave);
              });
          }}},
        {"add client from scanned sheet",
         {ui::frmMainMenu::AddNewClient,
          [](Operator& op) {
              op.plan("tov::testing::frmSelectEntryMethod", [](QWidget* w) {
                  acceptOn(as<testing::frmSelectEntryMethod>(w),
                           testing::frmSelectEntryMethod::ChoiceScan);
              });
              op.plan("tov::scan::frmScanInfo", [](QWidget* w) {
                  typeText(QStringLiteral("SCAN, SAM"));
                  press(Qt::Key_Return);
                  typeText(QStringLiteral("S123-4567-8901"));
                  press(Qt::Key_Return);
                  acceptOn(as<scan::frmScanInfo>(w), scan::frmScanInfo::ChoiceOK);
              });
              // The sheet gives the age; the date of birth is typed.
              op.plan("tov::intake::frmClientInfo", [](QWidget* w) {
                  auto* s = as<intake::frmClientInfo>(w);
                  s->txtDob->setText(QStringLiteral("04/19/1980"));
                  acceptOn(s, intake::frmClientInfo::ChoiceOK);
              });
              op.plan("tov::intake::frmCourtHistory", [](QWidget* w) {
                  acceptOn(as<intake::frmCourtHistory>(w), intake::frmCourtHistory::ChoiceOK);
              });
              op.plan("tov::entry::frmNewEntry", [](QWidget* w) {
                  acceptOn(as<entry::frmNewEntry>(w), entry::frmNewEntry::ChoiceSave);
              });
          }}},
        {"view and print one",
         {ui::frmMainMenu::SupervisorOptions,
          [](Operator& op) {
              planReports(op, Options::PrintCurrent);
              op.plan("tov::reports::frmViewReport", [](QWidget* w) {
                  auto* v = as<reports::frmViewReport>(w);
                  v->kit()->cmdMenuChoice(reports::frmViewReport::ChoicePrint)->click();
                  acceptOn(v, reports::frmViewReport::ChoiceClose);
              });
          }}},
        {"print selected",
         {ui::frmMainMenu::SupervisorOptions,
          [](Operator& op) {
              planReports(op, Options::PrintSelected);
              op.plan("tov::reports::frmPrintSelected", [](QWidget* w) {
                  auto* p = as<reports::frmPrintSelected>(w);
                  p->kit()->cmdMenuChoice(reports::frmPrintSelected::ChoiceSelectAll)->click();
                  acceptOn(p, reports::frmPrintSelected::ChoicePrint);
              });
          }}},
        {"print all",
         {ui::frmMainMenu::SupervisorOptions,
          [](Operator& op) { planReports(op, Options::PrintAll); }}},
        {"verify",
         {ui::frmMainMenu::SupervisorOptions,
          [](Operator& op) {
              op.plan("tov::supervisor::frmSupervisorOptions", [](QWidget* w) {
                  auto* s = as<supervisor::frmSupervisorOptions>(w);
                  s->sstSupervisorOperations()->setCurrentIndex(1);
                  acceptOn(s, supervisor::frmSupervisorOptions::ChoiceExecute);
              });
              op.plan("tov::supervisor::frmVerify", [](QWidget*) {
                  QString keyed(73, QLatin1Char('1'));
                  keyed[0] = '2';
                  typeText(keyed);
                  typeText("2");
              });
          }}},
        {"delete names",
         {ui::frmMainMenu::SupervisorOptions,
          [](Operator& op) {
              op.plan("tov::supervisor::frmSupervisorOptions", [](QWidget* w) {
                  auto* s = as<supervisor::frmSupervisorOptions>(w);
                  s->sstSupervisorOperations()->setCurrentIndex(2);
                  acceptOn(s, supervisor::frmSupervisorOptions::ChoiceExecute);
              });
          }}},
    };
}

} // namespace

class TestLeftovers : public QObject {
    Q_OBJECT

private slots:
    void eachRoadLeavesNothing_data();
    void eachRoadLeavesNothing();
};

void TestLeftovers::eachRoadLeavesNothing_data() {
    QTest::addColumn<QString>("road");
    for (const QString& name : roads().keys()) {
        QTest::newRow(qPrintable(name)) << name;
    }
}

void TestLeftovers::eachRoadLeavesNothing() {
    QFETCH(QString, road);
    ProgramRig rig({});
    QByteArray clients;
    for (const QString& name : kClients) {
        clients += completeRecord(name);
    }
    fakes::writeAll(rig.dataFile(), clients);
    const QDir built(qEnvironmentVariable("TOV_PROGRAM_DIR"));
    for (const QString& name : built.entryList({QStringLiteral("*.TXT")}, QDir::Files)) {
        QFile::copy(built.filePath(name), QDir(rig.programDir).filePath(name));
    }
    const QStringList shipped = listing(rig.programDir);
    const QStringList rootBefore = listing(rig.root.path());
    if (road == QStringLiteral("view and print one")) {
        // A stray screen copy of a report, as an older run may have left one: the viewer
        // removes it with report.prn.
        fakes::writeAll(rig.programDir + QStringLiteral("/REPORT.SCR"), "ONE, ANN\n");
    }
    if (road == QStringLiteral("add client from scanned sheet")) {
        // A pencilled sheet in the scanner.
        sheetgen::SheetValues sheet;
        sheet.ssn = QStringLiteral("123450987");
        sheet.dateOfBirth = QDate(1980, 4, 19);
        sheet.bac = QStringLiteral("11");
        sheet.arrestDate = QDate(2026, 9, 8);
        sheet.gender = 1;
        sheet.race = 2;
        sheet.education = 3;
        sheet.marital = 2;
        sheet.counts = {0, 0, 0, 0, 1, 0, 0, 0};
        sheet.staffBac = QStringLiteral("11");
        sheet.staffPriorDUI = 0;
        sheet.answers = fakes::sampleResponses();
        rig.scanner->failure = 0;
        rig.scanner->page = sheetgen::RenderFilledSheet(sheet, sheetgen::RenderOptions{});
    }
    QVERIFY(rig.program->start());
    const QByteArray fileBefore = fakes::readAll(rig.dataFile());

    if (road == QStringLiteral("edit client")) {
        rig.menu().lbNameDisplay()->setCurrentRow(0);
    }
    const Road r = roads().value(road);
    Operator op;
    r.plan(op);
    op.start();
    rig.menu().kit()->cmdMenuChoice(r.menuChoice)->click();
    op.stop();
    QVERIFY2(op.unplanned.isEmpty(), qPrintable(op.unplanned.join(' ')));
    QCOMPARE(rig.ends, 0);
    // The road did its work: a record was written or a report printed.
    QVERIFY2(fakes::readAll(rig.dataFile()) != fileBefore || !rig.fakePrinter->printed.isEmpty(),
             "the road did nothing");

    QStringList extra;
    for (const QString& name : listing(rig.programDir)) {
        if (!shipped.contains(name)) {
            extra << name;
        }
    }
    QVERIFY2(extra.isEmpty(), qPrintable(QStringLiteral("left in the program folder: ") +
                                         extra.join(QStringLiteral(", "))));
    QCOMPARE(listing(rig.dataDir), QStringList{records::ClientTable::FileName});
    QCOMPARE(listing(rig.root.path()), rootBefore);
}

QTEST_MAIN(TestLeftovers)
#include "test_leftovers.moc"
