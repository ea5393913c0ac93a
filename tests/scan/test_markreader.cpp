// The mark reader on small hand-made pages: the mark test, the box searches, the three field
// readers, the dates and the page preparation.
#include "scan/MarkReader.h"
#include "scan/ScanImage.h"
#include "scan/SheetPainter.h"

#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <limits>

using namespace tov::scan;

namespace {

QImage whitePage(int w = 850, int h = 400) {
    QImage image(w, h, QImage::Format_Grayscale8);
    image.fill(255);
    return image;
}

void blacken(QImage& image, const QRect& rect, uchar value = 0) {
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            image.scanLine(y)[x] = value;
        }
    }
}

// n dark pixels in the first rows of the window at (x, y), `side` wide.
void darkPixels(QImage& image, int x, int y, int side, int n) {
    for (int k = 0; k < n; ++k) {
        image.scanLine(y + k / side)[x + k % side] = 0;
    }
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

    void isMarkedThresholds_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("dark");
        QTest::addColumn<bool>("marked");
        QTest::newRow("bubble 10") << 14 << 10 << true;
        QTest::newRow("bubble 9") << 14 << 9 << false;
        QTest::newRow("box 20") << 8 << 20 << true;
        QTest::newRow("box 19") << 8 << 19 << false;
    }
    void isMarkedThresholds() {
        QFETCH(int, n);
        QFETCH(int, dark);
        const int side = n == 8 ? 8 : 15;
        QImage page = whitePage(200, 200);
        darkPixels(page, 50, 50, side, dark);
        // Ink just outside the window on the right and below must not count.
        blacken(page, QRect(50 + side, 50, 5, side + 5));
        blacken(page, QRect(50, 50 + side, side, 5));
        const ImagePixels pixels(page);
        MarkReader reader(pixels);
        PolarPoint p;
        p.x = 50;
        p.y = 50;
        QFETCH(bool, marked);
        QCOMPARE(reader.IsMarked(p, n), marked);
        QCOMPARE(reader.Darkness(), dark);
    }

    void outsideThePageIsNotWhite() {
        const QImage page = whitePage(100, 100);
        const ImagePixels pixels(page);
        QVERIFY(pixels.isWhite(99, 99));
        QVERIFY(!pixels.isWhite(100, 50));
        QVERIFY(!pixels.isWhite(-1, 0));
        // A window half off the page: the outside half counts as ink.
        QCOMPARE(pixels.countNotWhite(90, 0, 20, 10), 100);
        QCOMPARE(pixels.countNotWhite(1000000, 1000000, 15, 15), 225);
    }

    void anchorSearch_data() {
        QTest::addColumn<QList<QRect>>("ink");
        QTest::addColumn<QPoint>("anchor");
        // The dark edge fills the whole search width of its rows: no white pixel is met before
        // row 11, so the edge is passed over and the box is found.
        QTest::newRow("dark edge before the first white")
            << QList<QRect>{QRect(0, 0, 60, 11), QRect(25, 50, 20, 20)} << QPoint(25, 50);
        // White is met in row 0 (x 15); from then on every dark pixel is tested, even in the
        // edge that began before it.
        QTest::newRow("latch is not reset per row")
            << QList<QRect>{QRect(0, 0, 15, 30), QRect(25, 50, 20, 20)} << QPoint(5, 1);
        // A box whose lower part lies further left: the anchor keeps its first y and takes the
        // lowest x.
        QTest::newRow("lowest x") << QList<QRect>{QRect(30, 50, 20, 10), QRect(27, 60, 20, 10)}
                                  << QPoint(27, 50);
        QTest::newRow("speckles are no box")
            << QList<QRect>{QRect(10, 10, 2, 2), QRect(12, 14, 3, 3), QRect(25, 50, 20, 20)}
            << QPoint(25, 50);
    }
    void anchorSearch() {
        QFETCH(QList<QRect>, ink);
        QImage page = whitePage();
        for (const QRect& r : ink) {
            blacken(page, r);
        }
        const ImagePixels pixels(page);
        MarkReader reader(pixels);
        QVERIFY(reader.FindAnchorBox());
        QFETCH(QPoint, anchor);
        QCOMPARE(QPoint(reader.anchor().x, reader.anchor().y), anchor);
    }

    void noBoxes() {
        QImage page = whitePage();
        blacken(page, QRect(46, 50, 20, 20)); // right of the anchor search
        VectorScanItems items;
        QCOMPARE(ReadAnswerSheet(page, items, QDate(2026, 12, 8)).outcome,
                 SheetOutcome::NoAnchorBox);
        blacken(page, QRect(25, 50, 20, 20));
        blacken(page, QRect(25 + 795, 50, 20, 20)); // right of the reference search
        QCOMPARE(ReadAnswerSheet(page, items, QDate(2026, 12, 8)).outcome,
                 SheetOutcome::NoReferenceBox);
    }

    void turnedSheet() {
        // The reference lies 20 pixels lower than the anchor: turned clockwise.
        QImage page = whitePage(850, 700);
        blacken(page, QRect(20, 30, 20, 20));
        blacken(page, QRect(20 + 776, 30 + 20, 20, 20));
        const ImagePixels pixels(page);
        MarkReader reader(pixels);
        QVERIFY(reader.FindAnchorBox());
        reader.MoveOriginToAnchor();
        QVERIFY(reader.FindReferenceBox());
        QCOMPARE(QPoint(reader.reference().x, reader.reference().y), QPoint(776, 20));
        const double angle = std::atan(20.0 / 776.0) * 180.0 / 3.14159265358979;
        QVERIFY(reader.SheetAngle() > 0);
        QVERIFY(std::abs(reader.SheetAngle() - angle) < 1e-4);

        // A field straight below the anchor on the table turns with the sheet.
        VectorScanItems items({rowAt(0, 500, 0, 0, 1, 20), rowAt(300, 0, 0, 0, 1, 20)});
        items.MoveFirst();
        QString target;
        reader.ExtractVertNum(items, target);
        items.MoveNext();
        reader.ExtractVertNum(items, target);
        const auto& base = items.basePoints();
        QVERIFY(base[0].stored && base[1].stored);
        QCOMPARE(base[0].X, int(std::lround(500 * std::cos((90 + angle) * M_PI / 180))));
        QCOMPARE(base[0].X, -13);
        QCOMPARE(base[0].y, 500);
        QCOMPARE(base[1].X, 300);
        QCOMPARE(base[1].y, 8);
    }

    void stepFollowsTheTurn_data() {
        QTest::addColumn<bool>("vertical");
        QTest::newRow("column") << true;
        QTest::newRow("row") << false;
    }
    void stepFollowsTheTurn() {
        // Turned by atan(99 / 770) = 7.33 degrees: bubble 2 of a 100-pixel step lies
        // round(200 x cos 7.33) = 198 pixels along the field, straight down or right of the
        // base point (no sideways drift). A two-pixel line there is seen only at 198, not at 200.
        QFETCH(bool, vertical);
        QImage page = whitePage(1100, 800);
        blacken(page, QRect(20, 30, 20, 20));
        blacken(page, QRect(20 + 770, 30 + 99, 20, 20));
        PolarPoint base;
        const ScanItemRow row =
            vertical ? rowAt(300, 100, 0, 0, 3, 100) : rowAt(300, 100, 3, 100, 0, 0);
        base.r = float(row.r);
        base.theta = float(row.theta + std::atan(99.0 / 770.0) * 180 / M_PI);
        ToCartesian(base);
        const QPoint at =
            QPoint(20 + base.x, 30 + base.y) + (vertical ? QPoint(0, 198) : QPoint(198, 0));
        blacken(page, vertical ? QRect(at, QSize(15, 2)) : QRect(at, QSize(2, 15)));
        const ImagePixels pixels(page);
        MarkReader reader(pixels);
        QVERIFY(reader.FindAnchorBox());
        reader.MoveOriginToAnchor();
        QVERIFY(reader.FindReferenceBox());
        VectorScanItems items({row});
        items.MoveFirst();
        QString target;
        if (vertical) {
            reader.ExtractVertNum(items, target);
        } else {
            reader.ExtractHorizNum(items, target, 0);
        }
        QCOMPARE(target, QStringLiteral("2"));
        QCOMPARE(items.basePoints()[0].X, int(base.x));
    }

    void fieldReaders_data() {
        QTest::addColumn<int>("reader"); // 0 vertical, 1 choice, 2 count, 3 answer
        QTest::addColumn<QList<int>>("filled");
        QTest::addColumn<QList<int>>("darkness");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("answer: darker fourth wins")
            << 3 << QList<int>{1, 3} << QList<int>{120, 180} << "12"
            << "124";
        QTest::newRow("answer: darker second wins")
            << 3 << QList<int>{1, 3} << QList<int>{180, 120} << ""
            << "2";
        QTest::newRow("digit: tie goes to the lower index")
            << 0 << QList<int>{2, 5} << QList<int>{150, 150} << "12"
            << "122";
        QTest::newRow("digit: index 10 gives two characters")
            << 0 << QList<int>{10} << QList<int>{100} << ""
            << "10";
        QTest::newRow("digit: none") << 0 << QList<int>{} << QList<int>{} << "1"
                                     << "1N";
        QTest::newRow("choice: one") << 1 << QList<int>{2} << QList<int>{90} << ""
                                     << "3";
        QTest::newRow("choice: none replaces") << 1 << QList<int>{} << QList<int>{} << "7"
                                               << "0";
        QTest::newRow("count: none") << 2 << QList<int>{} << QList<int>{} << ""
                                     << "N";
        QTest::newRow("count: first bubble is 0") << 2 << QList<int>{0} << QList<int>{225} << ""
                                                  << "0";
        QTest::newRow("answer: none") << 3 << QList<int>{} << QList<int>{} << "21"
                                      << "210";
        QTest::newRow("below the threshold") << 3 << QList<int>{0} << QList<int>{9} << ""
                                             << "0";
    }
    void fieldReaders() {
        QFETCH(int, reader);
        QFETCH(QList<int>, filled);
        QFETCH(QList<int>, darkness);
        QFETCH(QString, before);
        QString target = before;
        const bool vertical = reader == 0;
        const int count = vertical ? 12 : 4;
        const int step = 20;
        QImage page = whitePage(400, 400);
        for (int k = 0; k < filled.size(); ++k) {
            const int i = filled[k];
            const int x = 40 + (vertical ? 0 : step * i);
            const int y = 60 + (vertical ? step * i : 0);
            darkPixels(page, x, y, 15, darkness[k]);
        }
        const ImagePixels pixels(page);
        MarkReader r(pixels);
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
    }

    void readsPastTheEndContributeNothing() {
        const QImage page = whitePage(200, 200);
        const ImagePixels pixels(page);
        MarkReader r(pixels);
        VectorScanItems items;
        items.MoveFirst();
        QString target = QStringLiteral("12");
        r.ExtractVertNum(items, target);
        r.ExtractHorizNum(items, target, 1);
        QCOMPARE(target, QStringLiteral("12"));
    }

    void corruptTableStaysBounded() {
        // A huge bubble count over a step of 0 must end (the window never changes).
        QImage page = whitePage(200, 200);
        const ImagePixels pixels(page);
        MarkReader r(pixels);
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
        QCOMPARE(target.size(), 3);
    }

    void traceOnlyWhenGiven() {
        QImage page = whitePage(200, 200);
        const ImagePixels pixels(page);
        QStringList messages;
        MarkReader r(pixels, [&messages](const QString& m) { messages << m; });
        VectorScanItems items({rowAt(10, 0, 2, 20, 2, 20), rowAt(10, 0, 2, 20, 2, 20)});
        items.MoveFirst();
        QString target = QStringLiteral("4");
        r.ExtractVertNum(items, target);
        r.ReadHorizChoice(items, target);
        r.ExtractHorizNum(items, target, 0);
        QCOMPARE(messages, QStringList({"ExtractVertNum Procedure.......4 10",
                                        "ExtractHorizNum Procedure.......0 10"}));
        MarkReader silent(pixels);
        silent.ExtractVertNum(items, target); // no trace function: nothing to call
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
