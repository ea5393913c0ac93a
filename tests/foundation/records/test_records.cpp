#include "platform/AppError.h"
#include "records/ClientTable.h"
#include "records/Cp1252.h"
#include "records/DateText.h"
#include "records/Demographics.h"
#include "records/NumericValue.h"
#include "support/Fakes.h"
#include "support/Files.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace tov;
using records::ClientRecord;
using records::ClientTable;
using records::Field;

namespace {

using fakes::readAll;

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

ClientRecord sampleRecord() {
    ClientRecord r;
    r.set(Field::Name, u"Doe, Jane");
    r.set(Field::Age, u"34");
    r.set(Field::DOB, u"03/14/1992");
    r.set(Field::Gender, u"2");
    r.set(Field::Race, u"5");
    r.set(Field::Marital, u"3");
    r.set(Field::Education, u"4");
    r.set(Field::SSN, u"123-45-6789");
    r.set(Field::DLNumber, u"D123-4567-8901");
    r.set(Field::TestDate, u"12/07/2026");
    r.set(Field::PriorDUI, u"1");
    r.set(Field::COSupervision, u"0");
    r.set(Field::Reckless, u"2");
    r.set(Field::SSSuspend, u"3");
    r.set(Field::MViolations, u"12");
    r.set(Field::Accidents, u"N");
    r.set(Field::AlcoholArrests, u"0");
    r.set(Field::DrugArrests, u"1");
    r.set(Field::DateOfPresentArrest, u"11/01/2026");
    r.set(Field::BAC, u".118");
    r.set(Field::StPriorDUI, u"1");
    r.set(Field::StBAC, u"R");
    r.set(Field::Responses, QString(73, QLatin1Char('1')));
    r.set(Field::EditCount, u"0");
    r.set(Field::NameDeleted, u"0");
    return r;
}

} // namespace

class TestRecords : public QObject {
    Q_OBJECT

private slots:
    void layoutCoversRecordExactly();
    void fieldsLandAtTheirOffsets_data();
    void fieldsLandAtTheirOffsets();
    void sampleRecordBytes();
    void valuesArePaddedAndCut_data();
    void valuesArePaddedAndCut();
    void codePage_data();
    void codePage();
    void codePageKeepsEveryByte();
    void recordCount_data();
    void recordCount();
    void absentFileIsCreatedEmpty();
    void loadReadsRecordsInOrder();
    void partialLastRecordIsPadded();
    void moreThan51RecordsRefused();
    void putWritesOneRecordInPlace();
    void putAppendsAndGrowsCount();
    void putRefusesGapsAndBadSlots_data();
    void putRefusesGapsAndBadSlots();
    void putLeavesAnotherProgramsWork_data();
    void putLeavesAnotherProgramsWork();
    void clearLeavesFileUnchanged();
    void slotsOutsideTableRefused();
    void demographicCodes_data();
    void demographicCodes();
    void numericValue_data();
    void numericValue();
    void dates_data();
    void dates();
    void listPositions_data();
    void listPositions();
};

void TestRecords::layoutCoversRecordExactly() {
    int offset = 0;
    for (const auto& l : records::kLayout) {
        QCOMPARE(l.offset, offset);
        offset += l.width;
    }
    QCOMPARE(offset, 190);
}

void TestRecords::fieldsLandAtTheirOffsets_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("width");
    const int expected[][2] = {{0, 25},  {25, 3},   {28, 10}, {38, 1}, {39, 1},  {40, 1},  {41, 1},
                               {42, 11}, {53, 14},  {67, 10}, {77, 2}, {79, 2},  {81, 2},  {83, 2},
                               {85, 2},  {87, 2},   {89, 2},  {91, 2}, {93, 10}, {103, 5}, {108, 2},
                               {110, 5}, {115, 73}, {188, 1}, {189, 1}};
    for (int i = 0; i < records::kFieldCount; ++i) {
        QTest::newRow(records::kLayout[static_cast<std::size_t>(i)].name)
            << i << expected[i][0] << expected[i][1];
    }
}

void TestRecords::fieldsLandAtTheirOffsets() {
    QFETCH(int, field);
    QFETCH(int, offset);
    QFETCH(int, width);
    const auto f = static_cast<Field>(field);
    // A value one longer than the field, of a letter no other field holds.
    ClientRecord r;
    r.set(f, QString(width + 1, QLatin1Char('x')));
    const QByteArray bytes = r.bytes();
    QCOMPARE(bytes.size(), 190);
    QCOMPARE(bytes.indexOf('x'), offset);
    QCOMPARE(bytes.count('x'), width);
    QCOMPARE(bytes.count(' '), 190 - width);
}

void TestRecords::sampleRecordBytes() {
    const QByteArray expected =
        "Doe, Jane                34 03/14/1992"
        "2534123-45-6789D123-4567-890112/07/2026"
        "1 0 2 3 12N 0 1 11/01/2026.118 1 R    "
        "1111111111111111111111111111111111111111111111111111111111111111111111111"
        "00";
    QCOMPARE(expected.size(), 190);
    QCOMPARE(sampleRecord().bytes(), expected);
    QCOMPARE(ClientRecord::fromBytes(expected), sampleRecord());
}

void TestRecords::valuesArePaddedAndCut_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("trimmed");
    QTest::newRow("two letters") << "Al"
                                 << "Al" + QString(23, QLatin1Char(' ')) << "Al";
    QTest::newRow("exactly 25") << QString(25, QLatin1Char('a')) << QString(25, QLatin1Char('a'))
                                << QString(25, QLatin1Char('a'));
    QTest::newRow("26 cut to 25") << "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                  << "ABCDEFGHIJKLMNOPQRSTUVWXY"
                                  << "ABCDEFGHIJKLMNOPQRSTUVWXY";
    QTest::newRow("empty") << "" << QString(25, QLatin1Char(' ')) << "";
}

void TestRecords::valuesArePaddedAndCut() {
    QFETCH(QString, value);
    QFETCH(QString, stored);
    QFETCH(QString, trimmed);
    ClientRecord r;
    r.set(Field::Name, value);
    QCOMPARE(r.get(Field::Name), stored);
    QCOMPARE(r.trimmed(Field::Name), trimmed);
}

// Each character is one byte; what the code page lacks is stored as "?", and FirstUnstorable
// names the first such character so the screens can refuse it.
void TestRecords::codePage_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("readBack");
    QTest::addColumn<QString>("unstorable");
    QTest::newRow("n tilde") << QStringLiteral("Peña")
                             << QByteArray("Pe\xf1"
                                           "a")
                             << "Peña"
                             << "";
    QTest::newRow("e acute") << QStringLiteral("José") << QByteArray("Jos\xe9") << "José"
                             << "";
    QTest::newRow("euro and quotes")
        << QStringLiteral("€“”") << QByteArray("\x80\x93\x94") << QStringLiteral("€“”") << "";
    QTest::newRow("question mark itself") << "Who?" << QByteArray("Who?") << "Who?"
                                          << "";
    QTest::newRow("outside code page") << QStringLiteral("Łódź")
                                       << QByteArray("?\xf3"
                                                     "d?")
                                       << QStringLiteral("?ód?") << QStringLiteral("Ł");
    QTest::newRow("outside basic plane is one ?")
        << QStringLiteral("a\U0001F600b") << QByteArray("a?b") << "a?b"
        << QStringLiteral("\U0001F600");
    QTest::newRow("cyrillic") << QStringLiteral("Иван") << QByteArray("????") << "????"
                              << QStringLiteral("И");
}

void TestRecords::codePage() {
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, readBack);
    QFETCH(QString, unstorable);
    QCOMPARE(records::toCp1252(text), bytes);
    QCOMPARE(records::fromCp1252(bytes), readBack);
    QCOMPARE(records::FirstUnstorable(text), unstorable);

    // Through a record and the file, each character stays one byte.
    QTemporaryDir dir;
    fakes::FaultyFileSystem fs;
    ClientTable table(fs);
    table.LoadClientFile(dir.path());
    table.Clients(1).set(Field::Name, text);
    table.PutClientRecord(1);
    QCOMPARE(readAll(table.filePath()).left(bytes.size()), bytes);
    ClientTable again(fs);
    again.LoadClientFile(dir.path());
    QCOMPARE(again.Clients(1).trimmed(Field::Name), readBack);
}

void TestRecords::codePageKeepsEveryByte() {
    QByteArray all;
    for (int b = 0; b < 256; ++b) {
        all.append(static_cast<char>(b));
    }
    QCOMPARE(records::toCp1252(records::fromCp1252(all)), all);
    QCOMPARE(records::FirstUnstorable(records::fromCp1252(all)), QString());
}

void TestRecords::recordCount_data() {
    QTest::addColumn<qint64>("length");
    QTest::addColumn<int>("count");
    QTest::newRow("empty") << qint64(0) << 0;
    QTest::newRow("94 bytes") << qint64(94) << 0;
    QTest::newRow("95 bytes, half rounds to even 0") << qint64(95) << 0;
    QTest::newRow("96 bytes") << qint64(96) << 1;
    QTest::newRow("190") << qint64(190) << 1;
    QTest::newRow("285, 1.5 rounds to 2") << qint64(285) << 2;
    QTest::newRow("380") << qint64(380) << 2;
    QTest::newRow("475, 2.5 rounds to 2") << qint64(475) << 2;
    QTest::newRow("665, 3.5 rounds to 4") << qint64(665) << 4;
    QTest::newRow("51 records") << qint64(51 * 190) << 51;
}

void TestRecords::recordCount() {
    QFETCH(qint64, length);
    QFETCH(int, count);
    QCOMPARE(ClientTable::recordCountForLength(length), count);
}

void TestRecords::absentFileIsCreatedEmpty() {
    QTemporaryDir dir;
    fakes::FaultyFileSystem fs;
    ClientTable table(fs);
    table.LoadClientFile(dir.path());
    QCOMPARE(table.ClientCount(), 0);
    QCOMPARE(table.CurrentClient(), 0);
    QVERIFY(QFile::exists(dir.filePath("DATA401.TOV")));
    QCOMPARE(QFileInfo(dir.filePath("DATA401.TOV")).size(), 0);
}

void TestRecords::loadReadsRecordsInOrder() {
    QTemporaryDir dir;
    ClientRecord a = sampleRecord();
    ClientRecord b = sampleRecord();
    b.set(Field::Name, u"Second, Sam");
    writeFile(dir.filePath("DATA401.TOV"), a.bytes() + b.bytes());
    fakes::FaultyFileSystem fs;
    ClientTable table(fs);
    table.LoadClientFile(dir.path());
    QCOMPARE(table.ClientCount(), 2);
    QCOMPARE(table.CurrentClient(), 1);
    QCOMPARE(table.Clients(1), a);
    QCOMPARE(table.Clients(2).trimmed(Field::Name), QStringLiteral("Second, Sam"));
    QCOMPARE(table.Clients(2).bytes().mid(25), a.bytes().mid(25));
}

void TestRecords::partialLastRecordIsPadded() {
    QTemporaryDir dir;
    writeFile(dir.filePath("DATA401.TOV"), sampleRecord().bytes() + QByteArray(100, 'z'));
    fakes::FaultyFileSystem fs;
    ClientTable table(fs);
    table.LoadClientFile(dir.path());
    QCOMPARE(table.ClientCount(), 2);
    QCOMPARE(table.Clients(2).bytes(), QByteArray(100, 'z') + QByteArray(90, ' '));
}

void TestRecords::moreThan51RecordsRefused() {
    QTemporaryDir dir;
    const QString path = dir.filePath("DATA401.TOV");
    QByteArray many;
    for (int i = 0; i < 52; ++i) {
        many += sampleRecord().bytes();
    }
    writeFile(path, many);
    fakes::FaultyFileSystem fs;
    ClientTable table(fs);
    // A table loaded before stays as it was.
    QTemporaryDir other;
    writeFile(other.filePath("DATA401.TOV"), sampleRecord().bytes());
    table.LoadClientFile(other.path());
    try {
        table.LoadClientFile(dir.path());
        QFAIL("a file of 52 records was loaded");
    } catch (const AppError& e) {
        QCOMPARE(e.number(), err::TooManyClients);
        QVERIFY(e.description().contains(QLatin1String("52 client records")));
        QVERIFY(e.description().contains(QLatin1String("51")));
    }
    QCOMPARE(table.ClientCount(), 1);
    QCOMPARE(table.filePath(), other.filePath("DATA401.TOV"));
    QCOMPARE(fs.calls(fakes::FaultyFileSystem::Op::WriteAt), 0);
    QCOMPARE(readAll(path), many);
}

void TestRecords::putWritesOneRecordInPlace() {
    QTemporaryDir dir;
    const QString path = dir.filePath("DATA401.TOV");
    const QByteArray three = sampleRecord().bytes().replace(0, 3, "AAA") +
                             sampleRecord().bytes().replace(0, 3, "BBB") +
                             sampleRecord().bytes().replace(0, 3, "CCC");
    writeFile(path, three);
    fakes::FaultyFileSystem fs;
    ClientTable table(fs);
    table.LoadClientFile(dir.path());
    table.Clients(2).set(Field::Age, u"99");
    table.PutClientRecord(2);
    QByteArray expected = three;
    expected.replace(190 + 25, 3, "99 ");
    QCOMPARE(readAll(path), expected);
    QCOMPARE(table.ClientCount(), 3);
}

void TestRecords::putAppendsAndGrowsCount() {
    QTemporaryDir dir;
    fakes::FaultyFileSystem fs;
    ClientTable table(fs);
    table.LoadClientFile(dir.path());
    table.Clients(1) = sampleRecord();
    table.PutClientRecord(1);
    QCOMPARE(table.ClientCount(), 1);
    table.Clients(2) = sampleRecord();
    table.Clients(2).set(Field::Name, u"Next");
    table.PutClientRecord(2);
    QCOMPARE(table.ClientCount(), 2);
    QCOMPARE(readAll(table.filePath()).size(), 380);
    QCOMPARE(readAll(table.filePath()).mid(190, 4), QByteArray("Next"));
}

void TestRecords::putRefusesGapsAndBadSlots_data() {
    QTest::addColumn<int>("slot");
    QTest::newRow("slot 0") << 0;
    QTest::newRow("gap after the last record") << 3;
    QTest::newRow("slot 52") << 52;
    QTest::newRow("negative") << -1;
}

void TestRecords::putRefusesGapsAndBadSlots() {
    QFETCH(int, slot);
    QTemporaryDir dir;
    writeFile(dir.filePath("DATA401.TOV"), sampleRecord().bytes());
    fakes::FaultyFileSystem fs;
    ClientTable table(fs);
    table.LoadClientFile(dir.path());
    QVERIFY_THROWS_EXCEPTION(AppError, table.PutClientRecord(slot));
    QCOMPARE(readAll(table.filePath()), sampleRecord().bytes());
    QCOMPARE(table.ClientCount(), 1);
}

// Two records loaded; then, behind the table's back, the file is changed as another program
// would change it; then the table writes a slot. Written only where the file is as the table
// knows it.
void TestRecords::putLeavesAnotherProgramsWork_data() {
    QTest::addColumn<QString>("meanwhile"); // "" nothing, "edit1", "edit2", "append", "cut2"
    QTest::addColumn<int>("slot");
    QTest::addColumn<bool>("written");
    QTest::newRow("nothing changed: rewrite") << "" << 1 << true;
    QTest::newRow("nothing changed: append") << "" << 3 << true;
    QTest::newRow("the record was edited") << "edit1" << 1 << false;
    QTest::newRow("another record was edited") << "edit1" << 2 << true;
    QTest::newRow("the last record was edited") << "edit2" << 2 << false;
    QTest::newRow("a client was appended: append") << "append" << 3 << false;
    QTest::newRow("a client was appended: rewrite") << "append" << 1 << false;
    QTest::newRow("the last record was cut off") << "cut2" << 2 << false;
}

void TestRecords::putLeavesAnotherProgramsWork() {
    QFETCH(QString, meanwhile);
    QFETCH(int, slot);
    QTemporaryDir dir;
    const QString path = dir.filePath("DATA401.TOV");
    ClientRecord other = sampleRecord();
    other.set(Field::Name, u"Roe, Rita");
    writeFile(path, sampleRecord().bytes() + other.bytes());
    fakes::FaultyFileSystem fs;
    ClientTable table(fs);
    table.LoadClientFile(dir.path());
    QByteArray changed = readAll(path);
    if (meanwhile.startsWith(QLatin1String("edit"))) {
        changed.replace(qsizetype(meanwhile.back().digitValue() - 1) * 190, 9, "Poe, Paul");
    } else if (meanwhile == QLatin1String("append")) {
        changed += other.bytes();
    } else if (meanwhile == QLatin1String("cut2")) {
        changed.chop(190);
    }
    writeFile(path, changed);
    table.Clients(slot) = sampleRecord();
    table.Clients(slot).set(Field::Age, u"77");
    QFETCH(bool, written);
    if (written) {
        table.PutClientRecord(slot);
        QCOMPARE(readAll(path).mid(qsizetype(slot - 1) * 190, 190), table.Clients(slot).bytes());
        // What this table wrote is what it knows: a second write goes through.
        table.PutClientRecord(slot);
        return;
    }
    try {
        table.PutClientRecord(slot);
        QFAIL("written over another program's work");
    } catch (const AppError& e) {
        QCOMPARE(e.number(), err::RecordChanged);
        QCOMPARE(e.description(),
                 QStringLiteral("The client file on the data disk was changed by another program "
                                "since it was read, so nothing has been saved. Exit the program "
                                "and start it again to see the changes."));
    }
    QCOMPARE(readAll(path), changed);
    QCOMPARE(table.ClientCount(), 2);
}

void TestRecords::clearLeavesFileUnchanged() {
    QTemporaryDir dir;
    writeFile(dir.filePath("DATA401.TOV"), sampleRecord().bytes());
    fakes::FaultyFileSystem fs;
    ClientTable table(fs);
    table.LoadClientFile(dir.path());
    table.ClearClientRecord();
    QCOMPARE(table.Clients(1).bytes(), QByteArray(190, ' '));
    QCOMPARE(readAll(table.filePath()), sampleRecord().bytes());
    QCOMPARE(fs.calls(fakes::FaultyFileSystem::Op::WriteAt), 0);
}

void TestRecords::slotsOutsideTableRefused() {
    fakes::FaultyFileSystem fs;
    ClientTable table(fs);
    QVERIFY_THROWS_EXCEPTION(AppError, table.Clients(52));
    QVERIFY_THROWS_EXCEPTION(AppError, table.Clients(-1));
    QVERIFY_THROWS_EXCEPTION(AppError, table.setCurrentClient(52));
    table.Clients(51).set(Field::Name, u"last slot");
    QCOMPARE(table.Clients(51).trimmed(Field::Name), QStringLiteral("last slot"));
}

void TestRecords::demographicCodes_data() {
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("gender 2") << records::genderList() << "2"
                              << "Female";
    QTest::newRow("gender 0") << records::genderList() << "0"
                              << "N/A";
    QTest::newRow("education 1") << records::educationList() << "1"
                                 << "8th grade or less";
    QTest::newRow("race 8") << records::raceList() << "8"
                            << "Hispanic, Cuban";
    QTest::newRow("race 9") << records::raceList() << "9"
                            << "Other";
    QTest::newRow("marital 5") << records::maritalList() << "5"
                               << "Widowed";
    QTest::newRow("unknown code") << records::maritalList() << "7"
                                  << "N/A";
    QTest::newRow("blank code") << records::genderList() << " "
                                << "N/A";
}

void TestRecords::demographicCodes() {
    QFETCH(QStringList, list);
    QFETCH(QString, code);
    QFETCH(QString, text);
    QCOMPARE(records::codeText(list, code), text);
}

void TestRecords::numericValue_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("digits") << "12" << 12.0;
    QTest::newRow("leading blanks") << "   7" << 7.0;
    QTest::newRow("point five") << ".5" << 0.5;
    QTest::newRow("BAC") << "0.08 " << 0.08;
    QTest::newRow("trailing letters") << "5x" << 5.0;
    QTest::newRow("N") << "N" << 0.0;
    QTest::newRow("R") << "R" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("blanks") << "   " << 0.0;
    QTest::newRow("lone point") << "." << 0.0;
    QTest::newRow("negative") << "-3" << -3.0;
    QTest::newRow("sign only") << "-" << 0.0;
    QTest::newRow("date") << "01/05/2005" << 1.0;
    QTest::newRow("exponent") << "1e2" << 100.0;
    QTest::newRow("letter e without digits") << "2ex" << 2.0;
    QTest::newRow("two points") << "1.2.3" << 1.2;
    QTest::newRow("blank inside") << "1 2" << 1.0;
}

void TestRecords::numericValue() {
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(records::NumericValue(text), value);
}

void TestRecords::dates_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("date"); // invalid: not a date
    QTest::addColumn<bool>("monthFirst");
    QTest::newRow("mm/dd/yyyy") << "01/05/2005" << QDate(2005, 1, 5) << true;
    QTest::newRow("m/d/yyyy") << "1/5/2005" << QDate(2005, 1, 5) << true;
    QTest::newRow("mm/dd/yy 05") << "01/05/05" << QDate(2005, 1, 5) << true;
    QTest::newRow("yy 29 is 2029") << "12/31/29" << QDate(2029, 12, 31) << true;
    QTest::newRow("yy 30 is 1930") << "1/1/30" << QDate(1930, 1, 1) << true;
    QTest::newRow("yy 99 is 1999") << "1/1/99" << QDate(1999, 1, 1) << true;
    QTest::newRow("blanks around") << "  02/29/2004 " << QDate(2004, 2, 29) << true;
    QTest::newRow("dashes") << "3-4-1990" << QDate(1990, 3, 4) << true;
    QTest::newRow("leap day 2004") << "02/29/2004" << QDate(2004, 2, 29) << true;
    QTest::newRow("no leap day 2005") << "02/29/2005" << QDate() << false;
    QTest::newRow("02/30") << "02/30/2005" << QDate() << false;
    QTest::newRow("april 31") << "04/31/2005" << QDate() << false;
    QTest::newRow("day first") << "13/01/2005" << QDate(2005, 1, 13) << false;
    QTest::newRow("month 13 day 45") << "13/45/1990" << QDate() << false;
    QTest::newRow("day 45") << "01/45/1990" << QDate() << false;
    QTest::newRow("month 0") << "00/10/1990" << QDate() << false;
    QTest::newRow("two parts") << "01/2005" << QDate() << false;
    QTest::newRow("letters") << "ab/cd/efgh" << QDate() << false;
    QTest::newRow("three-digit year") << "1/1/200" << QDate() << false;
    QTest::newRow("mixed separators") << "1/5-2005" << QDate() << false;
    QTest::newRow("N") << "N" << QDate() << false;
    QTest::newRow("empty") << "" << QDate() << false;
}

void TestRecords::dates() {
    QFETCH(QString, text);
    QFETCH(QDate, date);
    QFETCH(bool, monthFirst);
    const auto d = records::RecogniseDate(text);
    QCOMPARE(d.has_value(), date.isValid());
    if (d) {
        QCOMPARE(d->date, date);
        QCOMPARE(!d->dayFirst, monthFirst);
    }
    QCOMPARE(records::IsMonthDayYear(text), monthFirst);
}

void TestRecords::listPositions_data() {
    QTest::addColumn<int>("list");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("position");
    using records::CodeList;
    QTest::newRow("gender 2") << int(CodeList::Gender) << "2" << 2;
    QTest::newRow("gender Female") << int(CodeList::Gender) << "Female" << 2;
    QTest::newRow("gender n") << int(CodeList::Gender) << "n" << 0;
    QTest::newRow("gender N/A") << int(CodeList::Gender) << "N/A" << 0;
    QTest::newRow("gender 3") << int(CodeList::Gender) << "3" << -1;
    QTest::newRow("gender empty") << int(CodeList::Gender) << "" << -1;
    QTest::newRow("race 7") << int(CodeList::Race) << "7" << 7;
    QTest::newRow("race Hispanic, Cuban") << int(CodeList::Race) << "Hispanic, Cuban" << 8;
    QTest::newRow("race Hispanic, P.R.") << int(CodeList::Race) << "Hispanic, P.R." << 6;
    QTest::newRow("race Hispanic, Mexican") << int(CodeList::Race) << "Hispanic, Mexican" << 7;
    QTest::newRow("race Alaskan") << int(CodeList::Race) << "Alaskan Native" << 2;
    QTest::newRow("race Asian") << int(CodeList::Race) << "Asian, P. Islander" << 3;
    QTest::newRow("race Other") << int(CodeList::Race) << "Other" << 9;
    QTest::newRow("race N alone") << int(CodeList::Race) << "N" << -1;
    QTest::newRow("race N/A") << int(CodeList::Race) << "N/A" << 0;
    QTest::newRow("marital Separated") << int(CodeList::Marital) << "Separated" << 4;
    QTest::newRow("marital Single") << int(CodeList::Marital) << "Single" << 1;
    QTest::newRow("marital 5") << int(CodeList::Marital) << "5" << 5;
    QTest::newRow("marital 6") << int(CodeList::Marital) << "6" << -1;
    QTest::newRow("education 8th") << int(CodeList::Education) << "8th grade or less" << 1;
    QTest::newRow("education Some college") << int(CodeList::Education) << "Some college" << 4;
    QTest::newRow("education College graduate")
        << int(CodeList::Education) << "College graduate" << 5;
    QTest::newRow("education 0") << int(CodeList::Education) << "0" << 0;
}

void TestRecords::listPositions() {
    QFETCH(int, list);
    QFETCH(QString, text);
    QFETCH(int, position);
    QCOMPARE(records::ListPosition(records::CodeList(list), text), position);
    // Every entry maps back to its own position.
    const QStringList& all = records::entries(records::CodeList(list));
    for (int i = 0; i < all.size(); ++i) {
        QCOMPARE(records::ListPosition(records::CodeList(list), all[i]), i);
    }
}

QTEST_GUILESS_MAIN(TestRecords)
#include "test_records.moc"
