// The mark reader on hand-made pages: the box searches, the placement of the sheet, the
// judgement of marks against the page, the three field readers, the refusals, the dates and the
// page preparation.
#include "platform/ScanErrors.h"
#include "scan/MarkJudge.h"
#include "scan/MarkReader.h"
#include "scan/PageFile.h"
#include "scan/PreparedPage.h"
#include "scan/ScanImage.h"
#include "scan/SheetGeometry.h"
#include "scan/SheetPainter.h"
#include "support/Files.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <limits>

using namespace tov::scan;

namespace {

const QDate Today(2026, 12, 8);

QImage whitePage(int w = 850, int h = 1400) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDotsPerMeterX(3937);
    image.setDotsPerMeterY(3937);
    return image;
}

void blacken(QImage& image, const QRect& rect, int grey = 0) {
    QPainter p(&image);
    p.fillRect(rect, QColor(grey, grey, grey));
}

// A filled bubble: a disc of the given grey centred in the 15 x 15 window at `window`.
void fill(QImage& image, QPointF window, int grey, double radius = 6.5) {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(grey, grey, grey));
    p.drawEllipse(window + QPointF(7.5, 7.5), radius, radius);
}

// The two boxes of the sheet, turned by `angle` degrees about the page's centre and scaled by
// `scale` about it, moved by `offset`.
QTransform sheetOnPage(double angle = 0, double scale = 1, QPointF offset = {}) {
    return QTransform()
        .translate(offset.x(), offset.y())
        .translate(425, 700)
        .rotate(angle)
        .scale(scale, scale)
        .translate(-425, -700);
}

QImage boxesPage(const QTransform& t = {}, int w = 850, int h = 1400) {
    QImage page = whitePage(w, h);
    QPainter p(&page);
    p.setRenderHint(QPainter::Antialiasing);
    p.setTransform(t);
    const SheetGeometry g = AnswerSheetGeometry();
    p.fillRect(g.anchorBox, Qt::black);
    p.fillRect(g.referenceBox, Qt::black);
    return page;
}

// The whole sheet printed (in greyscale when `grey`, so the print shows), with every answer
// row's first bubble but item 5's marked in `markGrey`, so the page has marks to learn its
// client's pencil from.
QImage printedSheet(bool grey = false, int markGrey = 60, bool markAnswers = true) {
    QImage page = whitePage();
    QPainter p(&page);
    PrintStyle style;
    if (grey) {
        style.ink = QColor(120, 120, 120);
    }
    PaintAnswerSheet(p, AnswerSheetGeometry(), style);
    p.end();
    if (markAnswers) {
        const SheetGeometry g = AnswerSheetGeometry();
        for (std::size_t f = 40; f < g.fields.size(); ++f) {
            if (f != 44) {
                fill(page, g.fields[f].bubble(0), markGrey);
            }
        }
    }
    return grey ? page.convertToFormat(QImage::Format_Grayscale8) : page;
}

SheetReading readSheet(const QImage& page) {
    VectorScanItems items(AnswerSheetGeometry().ScanItemRows());
    return ReadAnswerSheet(page, items, Today);
}

ScanItemRow rowAt(int x, int y, int dimX, double dx, int dimY, double dy) {
    ScanItemRow row;
    row.r = std::hypot(double(x), double(y));
    row.theta = std::atan2(double(y), double(x)) * 180.0 / 3.14159265358979;
    row.DimX = dimX;
    row.dx = dx;
    row.DimY = dimY;
    row.dy = dy;
    return row;
}

} // namespace

class TestMarkReader : public QObject {
    Q_OBJECT

private slots:
    void polarRounding_data() {
        QTest::addColumn<float>("r");
        QTest::addColumn<float>("theta");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::newRow("half to even, down") << 2.5F << 0.0F << 2 << 0;
        QTest::newRow("half to even, up") << 3.5F << 0.0F << 4 << 0;
        QTest::newRow("negative half") << 2.5F << 180.0F << -2 << 0;
        QTest::newRow("straight down") << 10.0F << 90.0F << 0 << 10;
        QTest::newRow("turned") << 500.0F << 91.5F << -13 << 500;
        QTest::newRow("beyond 16 bits") << 1e9F << 0.0F << 32767 << 0;
    }
    void polarRounding() {
        QFETCH(float, r);
        QFETCH(float, theta);
        PolarPoint p;
        p.r = r;
        p.theta = theta;
        ToCartesian(p);
        QFETCH(int, x);
        QCOMPARE(int(p.x), x);
        QFETCH(int, y);
        QCOMPARE(int(p.y), y);
    }

    void polarFromCartesian() {
        PolarPoint p;
        p.x = 0;
        p.y = 7;
        ToPolar(p);
        QCOMPARE(p.theta, 90.0F);
        QCOMPARE(p.r, 7.0F);
        p.x = 776;
        p.y = 20;
        ToPolar(p);
        QVERIFY(std::abs(p.theta - 1.4763) < 1e-3);
    }

    void boxes_data() {
        QTest::addColumn<QImage>("page");
        QTest::addColumn<int>("outcome"); // SheetOutcome after both searches
        QTest::addColumn<double>("angle");
        QTest::addColumn<double>("scale");
        QTest::addColumn<QPointF>("corner"); // where the anchor box's corner pixel lies
        const auto add = [](const char* name, const QImage& page, SheetOutcome outcome,
                            const QTransform& t = {}, double angle = 0, double scale = 1) {
            const QPointF corner = t.map(QPointF(25.5, 50.5)) - QPointF(0.5, 0.5);
            QTest::newRow(name) << page << int(outcome) << angle << scale << corner;
        };
        add("straight", boxesPage(), SheetOutcome::Read);
        for (const double a : {3.0, -3.0}) {
            add(a > 0 ? "turned 3 degrees about the centre" : "turned back 3 degrees",
                boxesPage(sheetOnPage(a)), SheetOutcome::Read, sheetOnPage(a), a);
        }
        add("fit to page", boxesPage(sheetOnPage(0, 0.94)), SheetOutcome::Read,
            sheetOnPage(0, 0.94), 0, 0.94);
        // The reference box runs off the page's right edge: half of it is enough.
        const QTransform off = sheetOnPage(0, 1, {39, 39});
        add("10 mm off the guide", boxesPage(off), SheetOutcome::Read, off);
        QImage lid = boxesPage();
        blacken(lid, QRect(0, 0, 14, 1400)); // a dark scanner lid along the page
        blacken(lid, QRect(0, 0, 850, 6));
        add("dark lid at the edges", lid, SheetOutcome::Read);
        const QTransform moved = sheetOnPage(0, 1, {20, 40});
        QImage decoys = boxesPage(moved);
        fill(decoys, QPointF(2, 2), 0, 8);          // a filled bubble: round, not a box
        QPainter(&decoys).drawRect(10, 40, 21, 21); // a write-in box: hollow
        add("round and hollow shapes are no boxes", decoys, SheetOutcome::Read, moved);
        add("no boxes", whitePage(), SheetOutcome::NoAnchorBox);
        QImage one = whitePage();
        blacken(one, QRect(25, 50, 20, 20));
        add("anchor only", one, SheetOutcome::NoReferenceBox);
        blacken(one, QRect(801, 50, 34, 34));
        add("reference of another size", one, SheetOutcome::NoReferenceBox);
    }
    void boxes() {
        QFETCH(QImage, page);
        QFETCH(int, outcome);
        QFETCH(double, angle);
        QFETCH(double, scale);
        const PreparedPage prepared = PreparePage(page);
        MarkReader reader(prepared);
        if (!reader.FindAnchorBox()) {
            QCOMPARE(outcome, int(SheetOutcome::NoAnchorBox));
            return;
        }
        reader.MoveOriginToAnchor();
        if (!reader.FindReferenceBox()) {
            QCOMPARE(outcome, int(SheetOutcome::NoReferenceBox));
            return;
        }
        QCOMPARE(outcome, int(SheetOutcome::Read));
        QVERIFY2(std::abs(reader.SheetAngle() - angle) < 0.05,
                 qPrintable(QString::number(reader.SheetAngle())));
        QVERIFY2(std::abs(reader.SheetScale() - scale) < 0.003,
                 qPrintable(QString::number(reader.SheetScale())));
        QFETCH(QPointF, corner);
        const QPointF anchor(reader.anchor().x, reader.anchor().y);
        QVERIFY2((anchor - corner).manhattanLength() <= 1.5,
                 qPrintable(QStringLiteral("%1,%2").arg(anchor.x()).arg(anchor.y())));
    }

    void turnedSheet() {
        // The reference lies 20 pixels lower than the anchor: turned clockwise, and every base
        // point turns with it about the anchor box corner.
        QImage page = whitePage(850, 700);
        blacken(page, QRect(20, 30, 20, 20));
        blacken(page, QRect(20 + 776, 30 + 20, 20, 20));
        const PreparedPage prepared = PreparePage(page);
        MarkReader reader(prepared);
        QVERIFY(reader.FindAnchorBox());
        reader.MoveOriginToAnchor();
        QVERIFY(reader.FindReferenceBox());
        QCOMPARE(QPoint(reader.reference().x, reader.reference().y), QPoint(776, 20));
        const double angle = std::atan(20.0 / 776.0) * 180.0 / 3.14159265358979;
        QVERIFY(std::abs(reader.SheetAngle() - angle) < 1e-3);
        QCOMPARE(QPoint(reader.anchor().x, reader.anchor().y), QPoint(20, 30));

        VectorScanItems items({rowAt(0, 500, 0, 0, 1, 20), rowAt(300, 0, 0, 0, 1, 20)});
        items.MoveFirst();
        QString target;
        reader.ExtractVertNum(items, target);
        items.MoveNext();
        reader.ExtractVertNum(items, target);
        const auto& base = items.basePoints();
        QVERIFY(base[0].stored && base[1].stored);
        QCOMPARE(base[0].X, -13);
        QCOMPARE(base[0].y, 500);
        QCOMPARE(base[1].X, 300);
        QCOMPARE(base[1].y, 8);
    }

    void refusals_data() {
        QTest::addColumn<QImage>("page");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("message");
        QTest::newRow("a white strip cut off by the scanner")
            << whitePage(850, 100) << int(SheetOutcome::NoAnchorBox) << "Anchor Box not found";
        QTest::newRow("the top of a sheet only")
            << printedSheet().copy(0, 0, 850, 1000) << int(SheetOutcome::PageTooShort)
            << "Page too short for the answer sheet (cut off at the bottom)";
        QImage reduced = whitePage();
        QPainter(&reduced).drawImage(QRectF(64, 105, 722, 1190), printedSheet());
        QTest::newRow("printed at 85%") << reduced << int(SheetOutcome::ScaleOutOfRange)
                                        << "Answer sheet printed at 85% of actual size (90% to "
                                           "105% can be read)";
        QImage enlarged = whitePage();
        QPainter(&enlarged).drawImage(QRectF(-34, -20, 918, 1512), printedSheet());
        QTest::newRow("printed at 108%") << enlarged << int(SheetOutcome::ScaleOutOfRange)
                                         << "Answer sheet printed at 108% of actual size (90% to "
                                            "105% can be read)";
        // Turned 5 degrees about the top: the bottom left corner runs off the page.
        QImage left = whitePage();
        {
            QPainter p(&left);
            p.translate(425, 0);
            p.rotate(5);
            p.translate(-425, 0);
            p.drawImage(0, 0, printedSheet());
        }
        QTest::newRow("the sheet's corner off the page")
            << left << int(SheetOutcome::SheetOffPage) << "Answer sheet not wholly on the page";
    }
    void refusals() {
        QFETCH(QImage, page);
        const SheetReading reading = readSheet(page);
        QFETCH(int, outcome);
        QCOMPARE(int(reading.outcome), outcome);
        QFETCH(QString, message);
        QCOMPARE(RefusalText(reading), message);
        QCOMPARE(reading.values, ScannedSheet{});
    }

    // Item 5's bubbles as filled on a sheet whose other items are all marked firmly (or, with
    // `light`, lightly): what item 5 reads as, and whether it is doubtful.
    void marksJudgedAgainstThePage_data() {
        QTest::addColumn<bool>("grey");        // a greyscale scan: the print shows
        QTest::addColumn<int>("others");       // grey of the marks on the other items
        QTest::addColumn<QList<int>>("greys"); // item 5's T and F bubbles: 255 = left empty
        QTest::addColumn<QList<double>>("radii");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("doubtful");
        using G = QList<int>;
        using R = QList<double>;
        QTest::newRow("firm mark") << false << 60 << G{255, 40} << R{0, 6.5} << "2" << false;
        QTest::newRow("light pencil on a light page")
            << false << 175 << G{255, 170} << R{0, 6.5} << "2" << false;
        QTest::newRow("erasure on a firm page")
            << false << 60 << G{215, 255} << R{6.5, 0} << "0" << false;
        QTest::newRow("1 mm dot") << false << 60 << G{60, 255} << R{2.0, 0} << "0" << false;
        QTest::newRow("half a bubble filled")
            << false << 60 << G{50, 255} << R{3.0, 0} << "0" << true;
        QTest::newRow("faint mark on a firm page")
            << false << 60 << G{150, 255} << R{6.5, 0} << "1" << true;
        QTest::newRow("two marks alike: the first, with doubt")
            << false << 60 << G{50, 50} << R{6.5, 6.5} << "1" << true;
        QTest::newRow("two marks: the darker wins")
            << false << 60 << G{110, 20} << R{6.5, 6.5} << "2" << false;
        QTest::newRow("greyscale print in empty bubbles")
            << true << 60 << G{255, 255} << R{0, 0} << "0" << false;
        QTest::newRow("greyscale, firm mark")
            << true << 60 << G{40, 255} << R{6.5, 0} << "1" << false;
    }
    void marksJudgedAgainstThePage() {
        QFETCH(bool, grey);
        QFETCH(int, others);
        QFETCH(QList<int>, greys);
        QFETCH(QList<double>, radii);
        QImage page = printedSheet(grey, others).convertToFormat(QImage::Format_RGB32);
        const SheetField item5 = AnswerSheetGeometry().fields[40 + 4];
        for (int i = 0; i < 2; ++i) {
            if (greys[i] < 255) {
                fill(page, item5.bubble(i), greys[i], radii[i]);
            }
        }
        const QImage blank = grey ? page.convertToFormat(QImage::Format_Grayscale8) : page;
        const SheetReading reading = readSheet(blank);
        QCOMPARE(reading.outcome, SheetOutcome::Read);
        QFETCH(QString, answer);
        QCOMPARE(reading.values.ScannedAnswers.mid(4, 1), answer);
        QCOMPARE(reading.values.ScannedAnswers.left(4), QStringLiteral("1111"));
        QFETCH(bool, doubtful);
        QCOMPARE(reading.doubtful.contains(QStringLiteral("item5")), doubtful);
        QCOMPARE(reading.doubtful.size(), doubtful ? 1 : 0);
    }

    // The line between marked and not, learned from the page's bubbles: half way to this
    // client's typical mark, but never so light that an erasure's smudge crosses it, even on a
    // page of more erasures than marks.
    void markLine_data() {
        QTest::addColumn<QList<int>>("learned"); // the page's bubble levels, darkness 0..255
        QTest::addColumn<int>("grey");           // a bubble filled with this grey on white
        QTest::addColumn<bool>("marked");
        QTest::addColumn<bool>("nearLine");
        const QList<int> firm(50, 200);
        const QList<int> light(50, 90);
        const QList<int> erased = QList<int>(14, 40) + QList<int>(3, 100);
        QTest::newRow("erasure on a firm page") << firm << 215 << false << false;
        QTest::newRow("light pencil on a light page") << light << 185 << true << false;
        QTest::newRow("erasure on a light page") << light << 215 << false << true;
        QTest::newRow("erasure among more erasures than marks") << erased << 212 << false << true;
        QTest::newRow("light pencil among them") << erased << 185 << true << false;
        QTest::newRow("light pencil, one of the page's two marks")
            << QList<int>{70, 200} << 185 << true << false;
        QTest::newRow("an erasure, the page's only mark") << QList<int>{40} << 215 << false << true;
    }
    void markLine() {
        QImage marks(31, 31, QImage::Format_Grayscale8);
        marks.fill(255);
        QFETCH(int, grey);
        {
            QPainter p(&marks);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(grey, grey, grey));
            p.drawEllipse(QPointF(15.5, 15.5), 7, 7);
        }
        MarkJudge judge(marks, PageLevels{255, 0});
        QFETCH(QList<int>, learned);
        std::vector<MarkJudge::Bubble> sheet;
        for (const int level : learned) {
            MarkJudge::Bubble b;
            b.level = level;
            sheet.push_back(b);
        }
        judge.learnMarks(sheet);
        const MarkJudge::Bubble b = judge.measure(QPointF(15.5, 15.5), 4.5);
        QFETCH(bool, marked);
        QCOMPARE(b.marked, marked);
        QFETCH(bool, nearLine);
        QCOMPARE(b.nearLine, nearLine);
    }

    void fieldReaders_data() {
        QTest::addColumn<int>("reader"); // 0 vertical, 1 choice, 2 count, 3 answer
        QTest::addColumn<QList<int>>("filled");
        QTest::addColumn<QList<int>>("greys");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<bool>("doubtful"); // two marks alike
        QTest::newRow("answer: darker fourth wins")
            << 3 << QList<int>{1, 3} << QList<int>{90, 20} << "12"
            << "124" << false;
        QTest::newRow("answer: darker second wins")
            << 3 << QList<int>{1, 3} << QList<int>{20, 90} << ""
            << "2" << false;
        // Either side of the near tie: the lighter mark 72 % or 77 % as dark as the darker.
        QTest::newRow("answer: second mark clearly lighter")
            << 3 << QList<int>{1, 3} << QList<int>{20, 85} << ""
            << "2" << false;
        QTest::newRow("answer: second mark nearly as dark")
            << 3 << QList<int>{1, 3} << QList<int>{20, 74} << ""
            << "2" << true;
        QTest::newRow("digit: tie goes to the lower index")
            << 0 << QList<int>{2, 5} << QList<int>{40, 40} << "12"
            << "122" << true;
        QTest::newRow("digit: index 10 gives two characters")
            << 0 << QList<int>{10} << QList<int>{0} << ""
            << "10" << false;
        QTest::newRow("digit: none") << 0 << QList<int>{} << QList<int>{} << "1"
                                     << "1N" << false;
        QTest::newRow("choice: one") << 1 << QList<int>{2} << QList<int>{30} << ""
                                     << "3" << false;
        QTest::newRow("choice: none replaces") << 1 << QList<int>{} << QList<int>{} << "7"
                                               << "0" << false;
        QTest::newRow("count: none") << 2 << QList<int>{} << QList<int>{} << ""
                                     << "N" << false;
        QTest::newRow("count: first bubble is 0") << 2 << QList<int>{0} << QList<int>{0} << ""
                                                  << "0" << false;
        QTest::newRow("answer: none") << 3 << QList<int>{} << QList<int>{} << "21"
                                      << "210" << false;
    }
    void fieldReaders() {
        QFETCH(int, reader);
        QFETCH(QList<int>, filled);
        QFETCH(QList<int>, greys);
        QFETCH(QString, before);
        QString target = before;
        const bool vertical = reader == 0;
        const int count = vertical ? 12 : 4;
        const int step = 20;
        QImage page = whitePage(400, 400);
        blacken(page, QRect(300, 300, 20, 20)); // black for the page's levels
        for (int k = 0; k < filled.size(); ++k) {
            const int i = filled[k];
            fill(page, QPointF(40 + (vertical ? 0 : step * i), 60 + (vertical ? step * i : 0)),
                 greys[k]);
        }
        const PreparedPage prepared = PreparePage(page, 100);
        MarkReader r(prepared);
        VectorScanItems items(
            {vertical ? rowAt(40, 60, 0, 0, count, step) : rowAt(40, 60, count, step, 0, 0)});
        items.MoveFirst();
        switch (reader) {
        case 0:
            r.ExtractVertNum(items, target);
            break;
        case 1:
            r.ReadHorizChoice(items, target);
            break;
        default:
            r.ExtractHorizNum(items, target, reader == 2 ? 0 : 1);
            break;
        }
        QFETCH(QString, after);
        QCOMPARE(target, after);
        QCOMPARE(items.basePoints()[0].X, 40);
        QCOMPARE(items.basePoints()[0].y, 60);
        QFETCH(bool, doubtful);
        QCOMPARE(r.LastFieldDoubtful(), doubtful);
    }

    void readsPastTheEndContributeNothing() {
        const PreparedPage page = PreparePage(whitePage(200, 200), 100);
        MarkReader r(page);
        VectorScanItems items;
        items.MoveFirst();
        QString target = QStringLiteral("12");
        r.ExtractVertNum(items, target);
        r.ExtractHorizNum(items, target, 1);
        QCOMPARE(target, QStringLiteral("12"));
    }

    void corruptTableStaysBounded() {
        // A huge bubble count over a step of 0 must end (the window never changes); positions
        // that are no numbers, or far off the page, read as paper.
        const PreparedPage page = PreparePage(whitePage(200, 200), 100);
        MarkReader r(page);
        ScanItemRow row = rowAt(10, 10, 2000000000, 0, 2000000000, 0);
        ScanItemRow nan = row;
        nan.r = std::nan("");
        ScanItemRow huge = row;
        huge.r = 1e300;
        huge.theta = -1e300;
        huge.dx = std::numeric_limits<double>::infinity();
        VectorScanItems items({row, nan, huge});
        items.MoveFirst();
        QString target;
        r.ExtractVertNum(items, target);
        QCOMPARE(target, QStringLiteral("N"));
        items.MoveNext();
        r.ExtractHorizNum(items, target, 1);
        QCOMPARE(target, QStringLiteral("N0"));
        items.MoveNext();
        r.ExtractHorizNum(items, target, 0);
        QCOMPARE(target, QStringLiteral("N0N"));
        // The same rows and a column far beyond the page's edge as a whole sheet's table: not
        // wholly on the page, so refused.
        QImage sheet = boxesPage();
        VectorScanItems table({row, nan, huge, rowAt(3000, 10, 0, 0, 2, 20)});
        QCOMPARE(ReadAnswerSheet(sheet, table, Today).outcome, SheetOutcome::SheetOffPage);
    }

    void traceOnlyWhenGiven() {
        const PreparedPage page = PreparePage(whitePage(200, 200), 100);
        QStringList messages;
        MarkReader r(page, [&messages](const QString& m) { messages << m; });
        VectorScanItems items({rowAt(10, 0, 2, 20, 2, 20), rowAt(10, 0, 2, 20, 2, 20)});
        items.MoveFirst();
        QString target = QStringLiteral("4");
        r.ExtractVertNum(items, target);
        r.ReadHorizChoice(items, target);
        r.ExtractHorizNum(items, target, 0);
        QCOMPARE(messages, QStringList({"ExtractVertNum Procedure.......4 10",
                                        "ExtractHorizNum Procedure.......0 10"}));
        MarkReader silent(page);
        silent.ExtractVertNum(items, target); // no trace function: nothing to call
    }

    void pagePreparation_data() {
        QTest::addColumn<QImage>("page");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("stated");
        QTest::addColumn<int>("marks");
        QTest::addColumn<int>("ink");
        const auto page = [](int w, int h, double dpi, QColor c,
                             QImage::Format f = QImage::Format_RGB32) {
            QImage image(w, h, f == QImage::Format_Mono ? QImage::Format_Grayscale8 : f);
            image.fill(c);
            if (f == QImage::Format_Mono) {
                image = image.convertToFormat(f);
            }
            if (dpi > 0) {
                image.setDotsPerMeterX(qRound(dpi / 0.0254));
                image.setDotsPerMeterY(qRound(dpi / 0.0254));
            }
            return image;
        };
        const QSize sheet(850, 1400);
        QTest::newRow("drop-out print at 100 dpi")
            << page(850, 1400, 100, SheetInk()) << sheet << true << 235 << 70;
        QTest::newRow("pencil at 300 dpi")
            << page(2550, 4200, 300, QColor(90, 90, 94)) << sheet << true << 94 << 90;
        QTest::newRow("grey page, no resolution: as wide as the sheet")
            << page(1700, 2800, 0, QColor(128, 128, 128), QImage::Format_Grayscale8) << sheet
            << false << 128 << 128;
        QTest::newRow("black and white at 200 dpi")
            << page(1700, 2800, 200, Qt::black, QImage::Format_Mono) << sheet << true << 0 << 0;
        QTest::newRow("transparent lies on white")
            << page(850, 1400, 100, Qt::transparent, QImage::Format_ARGB32) << sheet << true << 255
            << 255;
        QTest::newRow("72 dpi stated on a 200 dpi scan is no resolution")
            << page(1700, 2800, 72, Qt::white) << sheet << false << 255 << 255;
    }
    void pagePreparation() {
        QFETCH(QImage, page);
        const PreparedPage prepared = PreparePage(page);
        QFETCH(QSize, size);
        QCOMPARE(prepared.marks.size(), size);
        QCOMPARE(prepared.ink.size(), size);
        QFETCH(bool, stated);
        QCOMPARE(prepared.resolutionStated, stated);
        QFETCH(int, marks);
        QFETCH(int, ink);
        QCOMPARE(int(prepared.marks.constScanLine(700)[400]), marks);
        QCOMPARE(int(prepared.ink.constScanLine(700)[400]), ink);
        QVERIFY(PreparePage(QImage()).isNull());
        // A sliver taken as a sheet-wide page would be gigabytes: no page.
        QVERIFY(PreparePage(QImage(1, 3000, QImage::Format_RGB32)).isNull());
    }

    // A page file's pages hold no more pixels than the caller allows, whatever the format:
    // scaled down while decoded, or refused.
    void pageFileCap_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QSizeF>("inches");
        QTest::addColumn<qint64>("cap");
        QTest::addColumn<QSize>("page");       // empty: refused as too large
        QTest::addColumn<QByteArray>("bytes"); // the file as it is, when not drawn
        QTest::newRow("PDF page within the cap: 200 dpi")
            << "a.pdf" << QSizeF(1, 1.5) << qint64(200 * 300) << QSize(200, 300) << QByteArray();
        QTest::newRow("PDF legal page over the cap: rendered smaller")
            << "b.pdf" << QSizeF(8.5, 14) << qint64(128 * 128) << QSize(99, 164) << QByteArray();
        QTest::newRow("PNG over the cap: refused")
            << "c.png" << QSizeF(1, 1.5) << qint64(100 * 100) << QSize() << QByteArray();
        // A damaged header that tells the reader no size; the page decoded is 32 x 8320.
        QTest::newRow("BMP without a size over the cap: refused")
            << "d.bmp" << QSizeF() << qint64(128 * 128) << QSize()
            << QByteArray(
                   "\x42\x4d\x52\xf3\x00\x00\x00\x00\x00\x00\x82\x00\x20\x00\x6c\x00\x00\x00\x20"
                   "\x00\x00\x00\x80\xdf"
                   "\xff\xff\x01\x00\x01\x00\x00\x00\x00\x00\xd0\xff\xff\xff\xff\xff\xff\x59\x55"
                   "\x00\x00\x00\x00\x00"
                   "\x00\x00\x00\x00\x00\x00\x00\x00\x84\x00\x00\x00\xff\x00\x00\xff\x00\x00\x00"
                   "\x00\x4d\x52\xf3\x00"
                   "\x00\x00\x00\x00\x00\x82\x00\x20\x00\x6c\x00\x00\x00\x20\x00\x00\x00\x34\x00"
                   "\x00\x00\x01\x59\x55"
                   "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\xff\x00\x00\xff\xff"
                   "\x59\x55\x00\x00\x00"
                   "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x84\x00\x00\x00\xff\x00\x00\xff\x00"
                   "\x00\x00\x00\x4d\x52"
                   "\xf3\x00\x00\x00\x00\x00\x00\x82\x00\x20\x00\x6c\x00\x00\x00\x20\x00\x00\x00"
                   "\x34\x00\x00\x00\x01"
                   "\x59\x55\x00\xff\x26\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff",
                   186);
    }
    void pageFileCap() {
        QFETCH(QString, file);
        QFETCH(QSizeF, inches);
        QTemporaryDir dir;
        const QString path = dir.filePath(file);
        QFETCH(QByteArray, bytes);
        if (!bytes.isEmpty()) {
            tov::fakes::writeAll(path, bytes);
        } else if (file.endsWith(QLatin1String(".pdf"))) {
            QPdfWriter pdf(path);
            pdf.setPageLayout(
                QPageLayout(QPageSize(inches, QPageSize::Inch, {}, QPageSize::ExactMatch),
                            QPageLayout::Portrait, QMarginsF()));
            QPainter p(&pdf);
            p.fillRect(QRect(0, 0, 50, 50), Qt::black);
        } else {
            QImage image(qRound(inches.width() * 200), qRound(inches.height() * 200),
                         QImage::Format_RGB32);
            image.fill(Qt::white);
            QVERIFY(image.save(path));
        }
        QFETCH(qint64, cap);
        PageFile pages(path, cap);
        QCOMPARE(pages.pageCount(), 1);
        const QImage got = pages.page(0);
        QFETCH(QSize, page);
        QCOMPARE(got.isNull(), page.isEmpty());
        QCOMPARE(got.size(), page.isEmpty() ? QSize(0, 0) : page);
        QCOMPARE(pages.error(), page.isEmpty() ? tov::platform::scanerr::NotEnoughMemory : 0);
    }

    void century_data() {
        QTest::addColumn<QString>("read");
        QTest::addColumn<QString>("full");
        QTest::addColumn<QString>("age");
        QTest::newRow("this year") << "03/04/26"
                                   << "03/04/2026"
                                   << "0";
        QTest::newRow("next year is past") << "03/04/27"
                                           << "03/04/1927"
                                           << "99";
        QTest::newRow("born 2000") << "01/01/00"
                                   << "01/01/2000"
                                   << "26";
        QTest::newRow("born 1965") << "12/31/65"
                                   << "12/31/1965"
                                   << "61";
        QTest::newRow("blank columns") << "NN/NN/NN"
                                       << "NN/NN/19NN"
                                       << "N";
        QTest::newRow("no such day") << "02/30/90"
                                     << "02/30/1990"
                                     << "N";
    }
    void century() {
        const QDate today(2026, 12, 8);
        QFETCH(QString, read);
        QFETCH(QString, full);
        const QString date = WithCentury(read, today);
        QCOMPARE(date, full);
        QFETCH(QString, age);
        QCOMPARE(AgeFrom(date, today), age);
    }

    void preparation_data() {
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<int>("value");
        QTest::newRow("paper") << QColor(Qt::white) << 255;
        QTest::newRow("sheet ink") << SheetInk() << 255;
        QTest::newRow("black box") << QColor(Qt::black) << 0;
        QTest::newRow("faint pencil") << QColor(110, 110, 110) << 0;
        QTest::newRow("light stray mark") << QColor(200, 200, 200) << 255;
        QTest::newRow("blue 138") << QColor(0, 0, 138) << 255;
        QTest::newRow("blue 137") << QColor(255, 255, 137) << 0;
    }
    void preparation() {
        QFETCH(QColor, colour);
        QFETCH(int, value);
        for (QImage::Format format :
             {QImage::Format_RGB32, QImage::Format_RGB888, QImage::Format_ARGB32_Premultiplied}) {
            QImage raw(4, 3, format);
            raw.fill(colour);
            const QImage prepared = PrepareScan(raw);
            QCOMPARE(prepared.format(), QImage::Format_Grayscale8);
            QCOMPARE(prepared.size(), QSize(4, 3));
            QCOMPARE(int(prepared.constScanLine(2)[3]), value);
        }
    }

    void contrast() {
        QCOMPARE(ContrastValue(128, 800), 128);
        QCOMPARE(ContrastValue(118, 800), 78);
        QCOMPARE(ContrastValue(20, 800), 0);
        QCOMPARE(ContrastValue(200, -500), 164);
        QCOMPARE(ContrastValue(100, 1000), 0);
    }

    void eightBitBitmap() {
        QTemporaryDir dir;
        QImage page = whitePage(13, 7); // odd width: rows are padded
        blacken(page, QRect(2, 1, 3, 2));
        const QString path = dir.filePath(QStringLiteral("scan.bmp"));
        QVERIFY(SaveEightBitBmp(page, path));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray head = f.read(30);
        QCOMPARE(head.left(2), QByteArray("BM"));
        QCOMPARE(int(uchar(head[28])), 8); // bits per pixel
        const QImage back(path);
        QCOMPARE(back.size(), page.size());
        QCOMPARE(back.depth(), 8);
        QCOMPARE(qGray(back.pixel(3, 2)), 0);
        QCOMPARE(qGray(back.pixel(12, 6)), 255);
        QVERIFY(!SaveEightBitBmp(page, dir.filePath(QStringLiteral("no/such/folder.bmp"))));
    }
};

QTEST_MAIN(TestMarkReader)
#include "test_markreader.moc"
