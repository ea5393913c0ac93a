#include "intake/CourtRules.h"

#include <QtTest>

using namespace tov::intake;

class TestCourtRules : public QObject {
    Q_OBJECT

private slots:
    void counts_data();
    void counts();
    void bacs_data();
    void bacs();
    void arrestDates_data();
    void arrestDates();
    void storedBac_data();
    void storedBac();
};

void TestCourtRules::counts_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::newRow("0") << "0" << true;
    QTest::newRow("00") << "00" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("1") << "1" << true;
    QTest::newRow("99") << "99" << true;
    QTest::newRow("n") << "n" << true;
    QTest::newRow("N") << "N" << true;
    QTest::newRow("NA") << "NA" << false;
    QTest::newRow("5x") << "5x" << true;
    QTest::newRow("x5") << "x5" << false;
    QTest::newRow("-1") << "-1" << false;
    QTest::newRow(".5") << ".5" << true;
}

void TestCourtRules::counts() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(ValidateCount(text), valid);
}

void TestCourtRules::bacs_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::newRow(".08") << ".08" << true;
    QTest::newRow("0.08") << "0.08" << true;
    QTest::newRow("0") << "0" << false;
    QTest::newRow("1") << "1" << false;
    QTest::newRow("1.0") << "1.0" << false;
    QTest::newRow(".999") << ".999" << true;
    QTest::newRow("r") << "r" << true;
    QTest::newRow("R") << "R" << true;
    QTest::newRow("n") << "n" << true;
    QTest::newRow("NA") << "NA" << false;
    QTest::newRow("empty") << "" << false;
}

void TestCourtRules::bacs() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(ValidateBAC(text), valid);
}

void TestCourtRules::arrestDates_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("recognised");
    QTest::addColumn<QString>("padded");
    QTest::addColumn<bool>("monthDayOk");
    QTest::newRow("1/5/2005") << "1/5/2005" << true << "01/05/2005" << true;
    QTest::newRow("1/5/05") << "1/5/05" << true << "01/05/05" << true;
    QTest::newRow("01/15/2005") << "01/15/2005" << true << "01/15/2005" << true;
    QTest::newRow("12/5/2005") << "12/5/2005" << true << "12/05/2005" << true;
    QTest::newRow("02/29/2004") << "02/29/2004" << true << "02/29/2004" << true;
    QTest::newRow("02/30/2005") << "02/30/2005" << false << "02/30/2005" << false;
    QTest::newRow("day first 13/01/2005") << "13/01/2005" << true << "13/01/2005" << false;
    QTest::newRow("04/31/2005") << "04/31/2005" << false << "04/31/2005" << false;
    QTest::newRow("n") << "n" << true << "n" << false;
}

void TestCourtRules::arrestDates() {
    QFETCH(QString, text);
    QFETCH(bool, recognised);
    QFETCH(QString, padded);
    QFETCH(bool, monthDayOk);
    QCOMPARE(ValidateArrestDate(text), recognised);
    QCOMPARE(PadArrestDate(text), padded);
    QCOMPARE(ArrestMonthDayOk(padded), monthDayOk);
}

void TestCourtRules::storedBac_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored");
    QTest::newRow(".08") << ".08"
                         << ".08";
    QTest::newRow("NA") << "NA"
                        << "N";
    QTest::newRow("rn") << "rn"
                        << "N";
    QTest::newRow("r") << "r"
                       << "R";
    QTest::newRow("ref") << "ref"
                         << "R";
    QTest::newRow("empty") << ""
                           << "";
}

void TestCourtRules::storedBac() {
    QFETCH(QString, text);
    QFETCH(QString, stored);
    QCOMPARE(StoredBAC(text), stored);
}

QTEST_GUILESS_MAIN(TestCourtRules)
#include "test_courtrules.moc"
