#include "entry/frmNewEntry.h"
#include "intake/CodeListBox.h"
#include "intake/frmClientInfo.h"
#include "intake/frmCourtHistory.h"
#include "scan/ScanProcedure.h"
#include "scan/SheetGeometry.h"
#include "scan/frmScanInfo.h"
#include "sheetgen/FilledSheet.h"
#include "support/ProgramRig.h"
#include "support/ScreenDriver.h"
#include "testing/frmSelectEntryMethod.h"
#include "ui/MessagePanel.h"
#include "ui/ScreenKit.h"
#include "ui/frmMainMenu.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableWidget>
#include <QtEndian>
#include <QtTest>

#include <memory>

#include <sys/stat.h>

using namespace tov;
using fakes::press;
using fakes::typeText;
using platform::MessageBoxes;
using records::Field;
using scan::frmScanInfo;
using scan::ScanProcedure;

namespace {

const QStringList kClients = {QStringLiteral("Alder, Ann"), QStringLiteral("Birch, Bo")};
const QString kPrompt =
    QStringLiteral("Insert answer sheet for Ames, Al\r(face down, top first) into scanner.");

// Screens that a running procedure opens, acted on as each one comes up. A
// screen that does not come in time fails the test, and the screen open then is
// closed so the test cannot hang.
class Screens {
public:
    ~Screens() {
        for (QTimer* t : std::as_const(timers_)) {
            delete t;
        }
    }

    template <typename Screen> void on(std::function<void(Screen*)> action) {
        auto* timer = new QTimer;
        timers_ << timer;
        auto clock = std::make_shared<QElapsedTimer>();
        clock->start();
        const QString name = QString::fromLatin1(Screen::staticMetaObject.className());
        QObject::connect(timer, &QTimer::timeout, [this, timer, clock, action, name] {
            auto* screen = qobject_cast<Screen*>(QApplication::activeModalWidget());
            if (screen == nullptr || !screen->isVisible()) {
                if (clock->elapsed() > 5000) {
                    timer->stop();
                    missing << name;
                    if (auto* open = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                        open->done(QDialog::Rejected);
                    }
                }
                return;
            }
            timer->stop();
            shown << name;
            QApplication::setActiveWindow(screen);
            QVERIFY(QTest::qWaitForWindowActive(screen));
            fakes::saveShot(screen,
                            QStringLiteral("scan_") + name.section(QStringLiteral("::"), -1));
            action(screen);
            if (QApplication::activeModalWidget() == screen && screen->isVisible()) {
                screen->done(QDialog::Rejected);
            }
        });
        timer->start(10);
    }

    QStringList shown;
    QStringList missing;

private:
    QList<QTimer*> timers_;
};

// A sheet with the two printed boxes and nothing filled in.
QImage boxesOnly(int height = 1400) {
    QImage page(850, height, QImage::Format_RGB32);
    page.fill(Qt::white);
    for (int y = 30; y < 55; ++y) {
        for (int x = 20; x < 45; ++x) {
            page.setPixel(x, y, qRgb(0, 0, 0));
            page.setPixel(x + 775, y, qRgb(0, 0, 0));
        }
    }
    return page;
}

QImage anchorOnly() {
    QImage page = boxesOnly();
    for (int y = 30; y < 55; ++y) {
        for (int x = 795; x < 820; ++x) {
            page.setPixel(x, y, qRgb(255, 255, 255));
        }
    }
    return page;
}

// Width, height and bits per pixel of a Windows bitmap file.
struct BmpInfo {
    int width = 0;
    int height = 0;
    int bits = 0;
};

BmpInfo bmpInfo(const QString& path) {
    const QByteArray b = fakes::readAll(path);
    if (b.size() < 54 || !b.startsWith("BM")) {
        return {};
    }
    return {qFromLittleEndian<qint32>(b.constData() + 18),
            qAbs(qFromLittleEndian<qint32>(b.constData() + 22)),
            qFromLittleEndian<quint16>(b.constData() + 28)};
}

struct ScanRig : fakes::ProgramRig {
    explicit ScanRig(const QByteArray& ini = QByteArray("[Settings]\nNumLock=True\n"))
        : ProgramRig(kClients, ini) {
        started = program->start();
    }

    void run() { ScanProcedure(program->context(), &menu()).run(); }

    QString raw() const { return programDir + QStringLiteral("/raw.bmp"); }
    QString scan() const { return programDir + QStringLiteral("/scan.bmp"); }

    // Replaces the bank's "ScanItem" table with these rows (r, theta, DimY, dy,
    // DimX, dx).
    bool scanItems(const QList<QList<double>>& rows) {
        bool ok = true;
        {
            QSqlDatabase db =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("items"));
            db.setDatabaseName(programDir + QStringLiteral("/TOV2SF.MDB"));
            ok = db.open();
            QSqlQuery q(db);
            ok = ok && q.exec(QStringLiteral("DROP TABLE IF EXISTS ScanItem")) &&
                 q.exec(QStringLiteral("CREATE TABLE ScanItem (r REAL, theta REAL, DimY INTEGER, "
                                       "dy REAL, DimX INTEGER, dx REAL, X INTEGER, y INTEGER, "
                                       "LocationName TEXT)"));
            for (const QList<double>& row : rows) {
                q.prepare(QStringLiteral("INSERT INTO ScanItem VALUES (?, ?, ?, ?, ?, ?, NULL, "
                                         "NULL, 'test')"));
                for (double v : row) {
                    q.addBindValue(v);
                }
                ok = ok && q.exec();
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("items"));
        return ok;
    }

    // Makes every write to the bank's "ScanItem" table fail, as a bank the user may only read.
    bool refuseBankWrites() {
        bool ok = false;
        {
            QSqlDatabase db =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("items"));
            db.setDatabaseName(programDir + QStringLiteral("/TOV2SF.MDB"));
            ok = db.open() && QSqlQuery(db).exec(QStringLiteral(
                                  "CREATE TRIGGER readonly BEFORE UPDATE ON ScanItem BEGIN "
                                  "SELECT RAISE(ABORT, 'attempt to write a readonly database'); "
                                  "END"));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("items"));
        return ok;
    }

    // The X and y the reader wrote back into the bank's "ScanItem" table.
    QList<QPoint> basePoints() {
        QList<QPoint> points;
        {
            QSqlDatabase db =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("points"));
            db.setDatabaseName(programDir + QStringLiteral("/TOV2SF.MDB"));
            db.open();
            QSqlQuery q(QStringLiteral("SELECT X, y FROM ScanItem ORDER BY rowid"), db);
            while (q.next()) {
                points << QPoint(q.value(0).toInt(), q.value(1).toInt());
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("points"));
        return points;
    }

    bool started = false;
};

// Name and licence typed, then "Information OK".
void identify(Screens& screens, const std::function<void()>& then = {}) {
    screens.on<frmScanInfo>([then](frmScanInfo* info) {
        QVERIFY(info->txtName->hasFocus());
        typeText(QStringLiteral("Ames, Al"));
        press(Qt::Key_Return);
        typeText(QStringLiteral("A100-2000-3000"));
        press(Qt::Key_Return);
        QVERIFY(info->kit()->cmdMenuChoice(frmScanInfo::ChoiceOK)->hasFocus());
        if (then) {
            then();
        }
        press(Qt::Key_Return);
    });
}

// A sheet whose every value the review screens accept as read, once the date of birth is typed.
QImage savableSheet() {
    sheetgen::SheetValues values;
    values.ssn = QStringLiteral("123450987");
    values.dateOfBirth = QDate(1980, 4, 19);
    values.bac = QStringLiteral("11");
    values.arrestDate = QDate(2026, 9, 8);
    values.gender = 1;
    values.race = 2;
    values.education = 3;
    values.marital = 2;
    values.counts = {0, 0, 0, 0, 1, 0, 0, 0};
    values.staffBac = QStringLiteral("11");
    values.staffPriorDUI = 0;
    values.answers = QString(73, QLatin1Char('1'));
    return sheetgen::RenderFilledSheet(values, {});
}

// The permission bits of a file, -1 when there is none.
int modeOf(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

} // namespace

class TestScanProcedure : public QObject {
    Q_OBJECT

private slots:
    void fromMainMenu();
    void cancelInput();
    void cancelAtPrompt();
    void acquisitionError_data();
    void acquisitionError();
    void imagesKeptAndReplaced();
    void boxesMissing_data();
    void boxesMissing();
    void cancelledCourtHistoryKeepsAnswers();
    void goodSheetFillsReviewAndSaves_data();
    void goodSheetFillsReviewAndSaves();
    void traceOnlyWhenSet_data();
    void traceOnlyWhenSet();
    void pagesInTurnDoubtsShown();
    void imagesGoWithTheWork_data();
    void imagesGoWithTheWork();
};

void TestScanProcedure::fromMainMenu() {
    ScanRig rig;
    QVERIFY(rig.started);
    rig.scanner->failure = 0;
    Screens screens;
    screens.on<testing::frmSelectEntryMethod>([&screens](testing::frmSelectEntryMethod* method) {
        QPushButton* scan = method->kit()->cmdMenuChoice(testing::frmSelectEntryMethod::ChoiceScan);
        QVERIFY(scan->isEnabled());
        screens.on<frmScanInfo>([method](frmScanInfo* info) {
            // The choices of the entry method screen are hidden while the scan runs.
            QVERIFY(!method->mainFrame()->isVisible());
            info->kit()->cmdMenuChoice(frmScanInfo::ChoiceCancel)->click();
        });
        scan->setFocus();
        press(Qt::Key_Return);
    });
    rig.menu().kit()->cmdMenuChoice(ui::frmMainMenu::AddNewClient)->click();
    QCOMPARE(screens.shown,
             (QStringList{"tov::testing::frmSelectEntryMethod", "tov::scan::frmScanInfo"}));
    QVERIFY(rig.boxes->shown.isEmpty());
}

void TestScanProcedure::cancelInput() {
    ScanRig rig;
    QVERIFY(rig.started);
    Screens screens;
    screens.on<frmScanInfo>([](frmScanInfo* info) {
        typeText(QStringLiteral("Ames, Al"));
        info->kit()->cmdMenuChoice(frmScanInfo::ChoiceCancel)->setFocus();
        press(Qt::Key_Return);
    });
    rig.run();
    QCOMPARE(screens.shown, QStringList{"tov::scan::frmScanInfo"});
    QVERIFY(rig.boxes->shown.isEmpty());
    QVERIFY(rig.scanner->acquisitions.isEmpty());
}

void TestScanProcedure::cancelAtPrompt() {
    ScanRig rig;
    QVERIFY(rig.started);
    const QByteArray before = fakes::readAll(rig.dataFile());
    const int count = rig.state().clients().ClientCount();
    const int current = rig.state().clients().CurrentClient();
    rig.boxes->script({MessageBoxes::Answer::Cancel});
    rig.scanner->page = boxesOnly();
    Screens screens;
    identify(screens);
    rig.run();
    QVERIFY(screens.missing.isEmpty());
    QCOMPARE(rig.boxes->shown.size(), 1);
    QCOMPARE(rig.boxes->shown[0].text, kPrompt);
    QCOMPARE(rig.boxes->shown[0].title, QStringLiteral("TOV Test Scan"));
    QCOMPARE(rig.boxes->shown[0].buttons, MessageBoxes::Buttons::OkCancel);
    QVERIFY(rig.scanner->acquisitions.isEmpty());
    QVERIFY(!QFile::exists(rig.raw()));
    QVERIFY(!QFile::exists(rig.scan()));
    QCOMPARE(fakes::readAll(rig.dataFile()), before);
    QCOMPARE(rig.state().clients().ClientCount(), count);
    QCOMPARE(rig.state().clients().CurrentClient(), current);
    QCOMPARE(screens.shown, QStringList{"tov::scan::frmScanInfo"});
}

void TestScanProcedure::acquisitionError_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("no data source") << 20082 << "Error '20082, Twain no Data Source.";
    QTest::newRow("not in the vocabulary") << 20016 << "Error '20016, .";
    QTest::newRow("a range") << 20040 << "Error '20040, Internal Error - Call LEAD.";
    QTest::newRow("cancelled") << 20090 << "Error '20090, Twain operation was cancelled.";
}

void TestScanProcedure::acquisitionError() {
    QFETCH(int, code);
    QFETCH(QString, text);
    ScanRig rig;
    QVERIFY(rig.started);
    // An earlier scan's pair: no page now, so nothing of it may stand for this
    // scan.
    fakes::writeAll(rig.raw(), "old");
    fakes::writeAll(rig.scan(), "old");
    rig.scanner->acquireFailure = code;
    rig.scanner->page = boxesOnly(); // what a component might still hold
    Screens screens;
    identify(screens);
    rig.run();
    QVERIFY(screens.missing.isEmpty());
    QCOMPARE(rig.boxes->titles(), (QStringList{"TOV Test Scan", "Twain Error", "Scan Error"}));
    QCOMPARE(rig.boxes->shown[1].text, text);
    QCOMPARE(rig.boxes->shown[1].buttons, MessageBoxes::Buttons::Ok);
    QCOMPARE(rig.boxes->shown[2].text, QStringLiteral("Anchor Box not found\rAborting scan."));
    QCOMPARE(rig.boxes->shown[2].icon, MessageBoxes::Icon::Error);
    QVERIFY(!QFile::exists(rig.raw()));
    QVERIFY(!QFile::exists(rig.scan()));
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QCOMPARE(screens.shown, QStringList{"tov::scan::frmScanInfo"});
}

void TestScanProcedure::imagesKeptAndReplaced() {
    ScanRig rig;
    QVERIFY(rig.started);
    // The images as they stand while the refusal is on screen; they go with the scan.
    QMap<QString, BmpInfo> images;
    rig.boxes->onShow = [&](const fakes::FakeMessageBoxes::Shown& box) {
        if (box.title == QStringLiteral("Scan Error")) {
            images = {{rig.raw(), bmpInfo(rig.raw())}, {rig.scan(), bmpInfo(rig.scan())}};
        }
    };
    // One page acquired as asked: one page, 8.5 by 14 inches, colour, 100 dpi.
    QImage blank(850, 1400, QImage::Format_RGB32);
    blank.fill(Qt::white);
    rig.scanner->page = blank;
    {
        Screens screens;
        identify(screens);
        rig.run();
    }
    QCOMPARE(rig.scanner->acquisitions.size(), 1);
    const platform::ScanSettings& asked = rig.scanner->acquisitions[0];
    QCOMPARE(asked.MaxPages, 1);
    QCOMPARE(asked.FrameTwips, QRect(1, 1, 12240, 20160));
    QCOMPARE(asked.Bits, 8);
    QVERIFY(asked.Colour);
    QCOMPARE(asked.Resolution, 100);
    QCOMPARE(rig.boxes->titles(), (QStringList{"TOV Test Scan", "Scan Error"}));
    for (const QString& path : {rig.raw(), rig.scan()}) {
        const BmpInfo info = images.value(path);
        QCOMPARE(info.bits, 8);
        QCOMPARE(info.width, 850);
        QCOMPARE(info.height, 1400);
        QVERIFY(!QFile::exists(path));
    }
    // The next scan replaces both.
    QImage shorter(850, 1300, QImage::Format_RGB32);
    shorter.fill(Qt::white);
    rig.scanner->page = shorter;
    {
        Screens screens;
        identify(screens);
        rig.run();
    }
    QCOMPARE(images.value(rig.raw()).height, 1300);
    QCOMPARE(images.value(rig.scan()).height, 1300);
    QCOMPARE(images.value(rig.scan()).bits, 8);
}

void TestScanProcedure::boxesMissing_data() {
    QTest::addColumn<QImage>("page");
    QTest::addColumn<QString>("text");
    QImage blank(850, 1400, QImage::Format_RGB32);
    blank.fill(Qt::white);
    QTest::newRow("blank page") << blank << "Anchor Box not found\rAborting scan.";
    QTest::newRow("anchor only") << anchorOnly() << "Reference Box not found\rAborting scan.";
    const QImage sheet = sheetgen::RenderFilledSheet({}, {});
    QImage reduced(850, 1400, QImage::Format_RGB32);
    reduced.fill(Qt::white);
    QPainter(&reduced).drawImage(QRectF(64, 105, 722, 1190), sheet);
    QTest::newRow("printed at 85%") << reduced
                                    << "Answer sheet printed at 85% of actual size (90% to 105% "
                                       "can be read)\rAborting scan.";
    QTest::newRow("cut off") << sheet.copy(0, 0, 850, 900)
                             << "Page too short for the answer sheet (cut off at the "
                                "bottom)\rAborting scan.";
}

void TestScanProcedure::boxesMissing() {
    QFETCH(QImage, page);
    QFETCH(QString, text);
    ScanRig rig;
    QVERIFY(rig.started);
    const QByteArray before = fakes::readAll(rig.dataFile());
    rig.scanner->page = page;
    Screens screens;
    identify(screens);
    rig.run();
    QCOMPARE(rig.boxes->titles(), (QStringList{"TOV Test Scan", "Scan Error"}));
    QCOMPARE(rig.boxes->shown[1].text, text);
    QCOMPARE(rig.boxes->shown[1].icon, MessageBoxes::Icon::Error);
    QCOMPARE(screens.shown, QStringList{"tov::scan::frmScanInfo"});
    QCOMPARE(fakes::readAll(rig.dataFile()), before);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void TestScanProcedure::cancelledCourtHistoryKeepsAnswers() {
    ScanRig rig;
    QVERIFY(rig.started);
    QVERIFY(rig.scanItems({}));
    const QByteArray before = fakes::readAll(rig.dataFile());
    const QString answersOfFirst = rig.state().clients().Clients(1).get(Field::Responses);
    rig.scanner->page = boxesOnly();
    Screens screens;
    identify(screens, [&screens] {
        screens.on<intake::frmClientInfo>([&screens](intake::frmClientInfo* info) {
            // Opened for a new client from the scan: the typed name and licence are
            // there.
            QVERIFY(info->ScanEditMode());
            QVERIFY(info->kit()->cmdMenuChoice(0)->hasFocus());
            QCOMPARE(info->txtName->text(), QStringLiteral("Ames, Al"));
            QCOMPARE(info->txtDLNumber->text(), QStringLiteral("A100-2000-3000"));
            info->txtAge->setText(QStringLiteral("40"));
            info->txtDob->setText(QStringLiteral("N"));
            for (intake::CodeListBox* list :
                 {info->cmbGender, info->cmbRace, info->cmbMarital, info->cmbEducation}) {
                list->setCurrentIndex(0);
            }
            info->txtSSN->setText(QStringLiteral("N"));
            screens.on<intake::frmCourtHistory>([](intake::frmCourtHistory* court) {
                QVERIFY(court->ScanEditMode());
                court->kit()->cmdMenuChoice(intake::frmCourtHistory::ChoiceCancel)->click();
            });
            press(Qt::Key_Return);
        });
    });
    screens.on<entry::frmNewEntry>([](entry::frmNewEntry*) {});
    rig.run();
    QCOMPARE(screens.shown, (QStringList{"tov::scan::frmScanInfo", "tov::intake::frmClientInfo",
                                         "tov::intake::frmCourtHistory"}));
    QCOMPARE(rig.state().clients().Clients(1).get(Field::Responses), answersOfFirst);
    QCOMPARE(rig.state().clients().CurrentClient(), 1);
    QCOMPARE(rig.state().clients().ClientCount(), kClients.size());
    QCOMPARE(fakes::readAll(rig.dataFile()), before);
}

void TestScanProcedure::goodSheetFillsReviewAndSaves_data() {
    QTest::addColumn<double>("angle");
    QTest::addColumn<bool>("bankWritable");
    QTest::newRow("straight") << 0.0 << true;
    QTest::newRow("turned clockwise") << 1.5 << true;
    QTest::newRow("turned anticlockwise") << -1.2 << true;
    // An installed program reads the question bank it shares with every user and cannot write
    // the base points back; the sheet still reads.
    QTest::newRow("bank not writable") << 0.0 << false;
}

void TestScanProcedure::goodSheetFillsReviewAndSaves() {
    QFETCH(double, angle);
    QFETCH(bool, bankWritable);
    ScanRig rig;
    QVERIFY(rig.started);
    if (!bankWritable) {
        QVERIFY(rig.refuseBankWrites());
    }
    const QDate today = rig.clock->date;
    sheetgen::SheetValues values;
    values.ssn = QStringLiteral("321540987");
    values.dateOfBirth = QDate(2003, 4, 19); // born after 2000: the century is chosen
    values.bac = QStringLiteral("14");
    values.arrestDate = QDate(2026, 9, 8);
    values.gender = 2;
    values.race = 3;
    values.education = 4;
    values.marital = 1;
    values.counts = {1, 0, 2, 0, 5, 1, 0, 3};
    values.staffBac = QStringLiteral("12");
    values.staffPriorDUI = 1;
    values.answers.clear();
    for (int n = 1; n <= 73; ++n) {
        values.answers += QString::number(n <= 67 ? 1 + n % 2 : 1 + n % 4);
    }
    values.answers[4] = QLatin1Char('0'); // one item left empty
    sheetgen::RenderOptions options;
    options.angle = angle;
    options.seed = 5;
    rig.scanner->page = sheetgen::RenderFilledSheet(values, options);
    const scan::ScannedSheet read = sheetgen::ExpectedReading(values, today);
    QCOMPARE(read.Age, QStringLiteral("23"));

    using Court = intake::frmCourtHistory;
    QStringList courtShown;
    QString answersShown;
    QList<BmpInfo> imagesUnderReview;
    Screens screens;
    identify(screens, [&] {
        screens.on<intake::frmClientInfo>([&](intake::frmClientInfo* info) {
            QVERIFY(info->ScanEditMode());
            QCOMPARE(info->txtName->text(), QStringLiteral("Ames, Al"));
            QCOMPARE(info->txtAge->text(), read.Age);
            QCOMPARE(info->cmbGender->currentIndex(), 2);
            QCOMPARE(info->cmbRace->currentIndex(), 3);
            QCOMPARE(info->cmbEducation->currentIndex(), 4);
            QCOMPARE(info->cmbMarital->currentIndex(), 1);
            QCOMPARE(info->txtSSN->text(), QStringLiteral("321-54-0987"));
            QCOMPARE(info->txtDLNumber->text(), QStringLiteral("A100-2000-3000"));
            // The date of birth only gives the age; the operator types it.
            QCOMPARE(info->txtDob->text(), QString());
            screens.on<Court>([&](Court* court) {
                QVERIFY(court->ScanEditMode());
                for (int i = 0; i < Court::FieldCount; ++i) {
                    courtShown << court->field(i)->text();
                }
                screens.on<entry::frmNewEntry>([&](entry::frmNewEntry* grid) {
                    for (int n = 1; n <= 73; ++n) {
                        answersShown += grid->EntryAnswers(n);
                    }
                    imagesUnderReview = {bmpInfo(rig.raw()), bmpInfo(rig.scan())};
                    grid->kit()->cmdMenuChoice(entry::frmNewEntry::ChoiceSave)->click();
                });
                QVERIFY(court->kit()->cmdMenuChoice(Court::ChoiceOK)->hasFocus());
                press(Qt::Key_Return);
            });
            QVERIFY(info->kit()->cmdMenuChoice(0)->hasFocus());
            info->txtDob->setText(QStringLiteral("04/19/2003"));
            press(Qt::Key_Return);
        });
    });
    rig.run();
    QVERIFY2(screens.missing.isEmpty(), qPrintable(screens.missing.join(QLatin1Char(' '))));
    QCOMPARE(rig.boxes->titles(), QStringList{"TOV Test Scan"});
    QCOMPARE(courtShown, (QStringList{"1", "0", "2", "0", "5", "1", "0", "3", "09/08/2026", ".14",
                                      "1", ".12"}));
    QCOMPARE(answersShown, values.answers);

    // Save appended the client with what was read.
    const QByteArray file = fakes::readAll(rig.dataFile());
    QCOMPARE(file.size(), (kClients.size() + 1) * 190);
    const records::ClientRecord r = records::ClientRecord::fromBytes(file.right(190));
    QCOMPARE(r.trimmed(Field::Name), QStringLiteral("Ames, Al"));
    QCOMPARE(r.trimmed(Field::Age), QStringLiteral("23"));
    QCOMPARE(r.trimmed(Field::DOB), QStringLiteral("04/19/2003"));
    QCOMPARE(r.trimmed(Field::Gender), QStringLiteral("2"));
    QCOMPARE(r.trimmed(Field::Race), QStringLiteral("3"));
    QCOMPARE(r.trimmed(Field::Marital), QStringLiteral("1"));
    QCOMPARE(r.trimmed(Field::Education), QStringLiteral("4"));
    QCOMPARE(r.trimmed(Field::SSN), QStringLiteral("321-54-0987"));
    QCOMPARE(r.trimmed(Field::DLNumber), QStringLiteral("A100-2000-3000"));
    QCOMPARE(r.trimmed(Field::DateOfPresentArrest), QStringLiteral("09/08/2026"));
    QCOMPARE(r.trimmed(Field::BAC), QStringLiteral(".14"));
    QCOMPARE(r.trimmed(Field::StBAC), QStringLiteral(".12"));
    QCOMPARE(r.trimmed(Field::Accidents), QStringLiteral("1"));
    QCOMPARE(r.trimmed(Field::DrugArrests), QStringLiteral("3"));
    QCOMPARE(r.get(Field::Responses), values.answers);
    QCOMPARE(rig.state().clients().ClientCount(), kClients.size() + 1);
    // The pair of images of this scan, 8 bits per pixel, there while the client was reviewed and
    // gone once saved.
    QCOMPARE(imagesUnderReview.size(), 2);
    QCOMPARE(imagesUnderReview[0].bits, 8);
    QCOMPARE(imagesUnderReview[1].bits, 8);
    QVERIFY(!QFile::exists(rig.raw()));
    QVERIFY(!QFile::exists(rig.scan()));
}

void TestScanProcedure::traceOnlyWhenSet_data() {
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<int>("traces");
    QTest::newRow("not set") << QByteArray("[Settings]\nNumLock=True\n") << 0;
    QTest::newRow("off") << QByteArray("[Settings]\nScanTrace=False\n") << 0;
    // One trace per digit column read.
    QTest::newRow("on") << QByteArray("[Settings]\nScanTrace=True\n") << 3;
}

void TestScanProcedure::traceOnlyWhenSet() {
    QFETCH(QByteArray, ini);
    QFETCH(int, traces);
    ScanRig rig(ini);
    QVERIFY(rig.started);
    // A short table: the first three digit columns of the social security number.
    QVERIFY(
        rig.scanItems({{100, 45, 10, 20, 0, 0}, {150, 45, 10, 20, 0, 0}, {200, 30, 10, 20, 0, 0}}));
    rig.scanner->page = boxesOnly();
    Screens screens;
    identify(screens, [&screens] {
        screens.on<intake::frmClientInfo>([](intake::frmClientInfo* info) {
            info->kit()->cmdMenuChoice(intake::frmClientInfo::ChoiceCancel)->click();
        });
    });
    rig.run();
    QVERIFY(screens.missing.isEmpty());
    int traced = 0;
    for (const auto& s : rig.boxes->shown) {
        if (s.text.startsWith(QLatin1String("ExtractVertNum Procedure......."))) {
            ++traced;
            QCOMPARE(s.title, QString());
            QCOMPARE(s.buttons, MessageBoxes::Buttons::Ok);
        }
    }
    QCOMPARE(traced, traces);
    // The reader wrote each field's base point back into the bank.
    const QList<QPoint> points = rig.basePoints();
    QCOMPARE(points.size(), 3);
    QCOMPARE(points[0], QPoint(71, 71));
    QCOMPARE(points[2], QPoint(173, 100));
}

// A page file's pages are tried in turn: a blank page, then a sheet on which one social security
// digit has two marks alike and item 9 is half filled. The review screens show those two in the
// doubt colour, with a help line that says why, and nothing else.
void TestScanProcedure::pagesInTurnDoubtsShown() {
    ScanRig rig;
    QVERIFY(rig.started);
    sheetgen::SheetValues values;
    values.ssn = QStringLiteral("123456789");
    values.gender = 1;
    values.arrestDate = QDate(2026, 9, 8);
    values.bac = QStringLiteral("14");
    values.counts = {0, 0, 0, 0, 0, 0, 0, 0};
    values.staffBac = QStringLiteral("12");
    values.staffPriorDUI = 0;
    values.answers = QString(73, QLatin1Char('1'));
    values.answers[8] = QLatin1Char('0');
    QImage sheet = sheetgen::RenderFilledSheet(values, {});
    {
        const scan::SheetGeometry g = scan::AnswerSheetGeometry();
        QPainter p(&sheet);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 40, 40));
        p.drawEllipse(QPointF(g.fields[3].bubble(7)) + QPointF(7.5, 7.5), 6.5, 6.5);
        p.drawEllipse(QPointF(g.fields[3].bubble(4)) + QPointF(7.5, 7.5), 6.5, 6.5);
        p.drawEllipse(QPointF(g.fields[40 + 8].bubble(1)) + QPointF(7.5, 7.5), 3.0, 3.0);
    }
    QImage blank(850, 1400, QImage::Format_RGB32);
    blank.fill(Qt::white);
    rig.scanner->page = blank;
    rig.scanner->morePages = {sheet, blank};
    const QColor doubt = ui::ScreenKit::DoubtColour();
    QStringList amber;
    QString ssnHelp;
    QString gridHelp;
    QList<QColor> row9;
    Screens screens;
    identify(screens, [&] {
        screens.on<intake::frmClientInfo>([&](intake::frmClientInfo* info) {
            QCOMPARE(info->txtSSN->text(), QStringLiteral("123-45-6789"));
            for (QWidget* w : info->findChildren<QWidget*>()) {
                if (w->palette().color(QPalette::Base) == doubt) {
                    amber << w->objectName();
                }
            }
            info->txtSSN->setFocus();
            ssnHelp = info->msgPanel()->text();
            info->txtDob->setText(QStringLiteral("N"));
            info->txtAge->setText(QStringLiteral("40"));
            for (intake::CodeListBox* list :
                 {info->cmbRace, info->cmbMarital, info->cmbEducation}) {
                list->setCurrentIndex(1);
            }
            screens.on<intake::frmCourtHistory>([&](intake::frmCourtHistory* court) {
                screens.on<entry::frmNewEntry>([&](entry::frmNewEntry* grid) {
                    QVERIFY(grid->isDoubtful(9) && !grid->isDoubtful(8));
                    grid->grdResponses(0)->setFocus();
                    for (int k = 0; k < 8; ++k) {
                        press(Qt::Key_Down); // to item 9
                    }
                    gridHelp = grid->msgPanel()->text();
                    press(Qt::Key_Down);
                    gridHelp += QLatin1Char('|') + grid->msgPanel()->text();
                    for (int c = 0; c < 3; ++c) {
                        row9 << grid->grdResponses(0)
                                    ->model()
                                    ->index(8, c)
                                    .data(Qt::BackgroundRole)
                                    .value<QBrush>()
                                    .color();
                    }
                    grid->kit()->cmdMenuChoice(entry::frmNewEntry::ChoiceCancel)->click();
                });
                court->kit()->cmdMenuChoice(intake::frmCourtHistory::ChoiceOK)->click();
            });
            info->kit()->cmdMenuChoice(intake::frmClientInfo::ChoiceOK)->click();
        });
    });
    rig.run();
    QVERIFY2(screens.missing.isEmpty(), qPrintable(screens.missing.join(QLatin1Char(' '))));
    QCOMPARE(rig.scanner->offered, 2);
    QCOMPARE(rig.boxes->titles(), QStringList{"TOV Test Scan"});
    QCOMPARE(amber, QStringList{QStringLiteral("txtSSN")});
    QCOMPARE(ssnHelp, QStringLiteral("Amber: unclear on the scanned sheet - check it, then press "
                                     "Enter."));
    QCOMPARE(gridHelp, QStringLiteral("Amber row: unclear on the scanned sheet - check it.|0=No "
                                      "answer, 1=True, 2=False, Tab=Next grid"));
    QCOMPARE(row9, (QList<QColor>{doubt, doubt, doubt}));
}

// The page images show the client's answers: owner-only while the scan's work goes on, and gone
// when it ends, whichever way it ends, unless the reader is being diagnosed.
void TestScanProcedure::imagesGoWithTheWork_data() {
    QTest::addColumn<QString>("ending"); // the screen cancelled, "save" or "refused"
    QTest::addColumn<bool>("trace");
    QTest::addColumn<bool>("kept");
    QTest::newRow("client saved") << "save" << false << false;
    QTest::newRow("client information cancelled") << "frmClientInfo" << false << false;
    QTest::newRow("court history cancelled") << "frmCourtHistory" << false << false;
    QTest::newRow("answer grid cancelled") << "frmNewEntry" << false << false;
    QTest::newRow("page refused") << "refused" << false << false;
    QTest::newRow("client saved, trace on") << "save" << true << true;
    QTest::newRow("page refused, trace on") << "refused" << true << true;
}

void TestScanProcedure::imagesGoWithTheWork() {
    QFETCH(QString, ending);
    QFETCH(bool, trace);
    QFETCH(bool, kept);
    ScanRig rig(trace ? QByteArray("[Settings]\nScanTrace=True\n")
                      : QByteArray("[Settings]\nNumLock=True\n"));
    QVERIFY(rig.started);
    QImage blank(850, 1400, QImage::Format_RGB32);
    blank.fill(Qt::white);
    rig.scanner->page = ending == QStringLiteral("refused") ? blank : savableSheet();
    QList<int> modesDuring;
    const auto note = [&] { modesDuring = {modeOf(rig.raw()), modeOf(rig.scan())}; };
    rig.boxes->onShow = [&](const fakes::FakeMessageBoxes::Shown& box) {
        if (box.title == QStringLiteral("Scan Error")) {
            note();
        }
    };
    // Each review screen is cancelled where the row stops, accepted otherwise.
    const auto stopsAt = [ending](ui::ModalScreen* s) {
        return ending == QString::fromLatin1(s->metaObject()->className()).section("::", -1);
    };
    Screens screens;
    identify(screens, [&] {
        screens.on<intake::frmClientInfo>([&](intake::frmClientInfo* info) {
            note();
            if (stopsAt(info)) {
                info->kit()->cmdMenuChoice(intake::frmClientInfo::ChoiceCancel)->click();
                return;
            }
            screens.on<intake::frmCourtHistory>([&](intake::frmCourtHistory* court) {
                if (stopsAt(court)) {
                    court->kit()->cmdMenuChoice(intake::frmCourtHistory::ChoiceCancel)->click();
                    return;
                }
                screens.on<entry::frmNewEntry>([&](entry::frmNewEntry* grid) {
                    grid->kit()
                        ->cmdMenuChoice(stopsAt(grid) ? entry::frmNewEntry::ChoiceCancel
                                                      : entry::frmNewEntry::ChoiceSave)
                        ->click();
                });
                court->kit()->cmdMenuChoice(intake::frmCourtHistory::ChoiceOK)->click();
            });
            info->txtDob->setText(QStringLiteral("04/19/1980"));
            info->kit()->cmdMenuChoice(intake::frmClientInfo::ChoiceOK)->click();
        });
    });
    const int clients = rig.state().clients().ClientCount();
    rig.run();
    QVERIFY2(screens.missing.isEmpty(), qPrintable(screens.missing.join(QLatin1Char(' '))));
    QCOMPARE(rig.state().clients().ClientCount(), clients + (ending == QStringLiteral("save")));
    QCOMPARE(modesDuring, (QList<int>{0600, 0600}));
    QCOMPARE(modeOf(rig.raw()), kept ? 0600 : -1);
    QCOMPARE(modeOf(rig.scan()), kept ? 0600 : -1);
}

QTEST_MAIN(TestScanProcedure)
#include "test_scanprocedure.moc"
