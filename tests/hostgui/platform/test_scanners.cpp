#include "platform/ImageFileScanner.h"
#include "platform/SaneScanner.h"
#include "platform/ScanErrors.h"
#include "scan/PreparedPage.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <csignal>
#include <functional>

#include <pthread.h>
#include <sys/stat.h>

using namespace tov;
using platform::ErrorText;
using platform::ImageFileScanner;
using platform::SaneScanner;
using platform::ScanSettings;

// The SANE test device reads its page in a thread of its own and cancels that thread when a scan
// ends or fails. Cancelled inside the allocator, the thread keeps the allocator's lock and can
// never end, and the device then waits for it for ever. That is the device's fault, not the
// scanner's, so it is kept out of these tests: the device's library is bound to this program's
// pthread_cancel (the program exports it), which leaves the thread alone. The device closes the
// thread's pipe first, so the thread ends by itself at its next write, its SIGPIPE ignored.
extern "C" int pthread_cancel(pthread_t /*thread*/) {
    return 0;
}

namespace {

int errorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const AppError& e) {
        return e.number();
    }
    return 0;
}

int dpm(double dpi) {
    return qRound(dpi / 0.0254);
}

// A page of the given size: white, with a red block in its top-left quarter and a black one in
// its bottom-right quarter, so scaling keeps both colours in known places.
QImage samplePage(int width, int height) {
    QImage page(width, height, QImage::Format_RGB32);
    page.fill(Qt::white);
    for (int y = 0; y < height / 4; ++y) {
        for (int x = 0; x < width / 4; ++x) {
            page.setPixel(x, y, qRgb(255, 0, 0));
            page.setPixel(width - 1 - x, height - 1 - y, qRgb(0, 0, 0));
        }
    }
    return page;
}

// PNG bytes without their pHYs chunk: a file that says nothing of its resolution.
QByteArray withoutResolution(const QByteArray& png) {
    QByteArray out = png.left(8);
    qsizetype at = 8;
    while (at + 8 <= png.size()) {
        const auto length = qFromBigEndian<quint32>(png.constData() + at);
        const QByteArray type = png.mid(at + 4, 4);
        const qsizetype whole = 12 + qsizetype(length);
        if (type != "pHYs") {
            out += png.mid(at, whole);
        }
        at += whole;
    }
    return out;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// The test device's colour pattern has stripes of pure red, green and blue.
bool hasPureColours(const QImage& page) {
    bool red = false;
    bool green = false;
    bool blue = false;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            const QRgb p = page.pixel(x, y);
            red = red || (qRed(p) > 100 && qGreen(p) == 0 && qBlue(p) == 0);
            green = green || (qGreen(p) > 100 && qRed(p) == 0 && qBlue(p) == 0);
            blue = blue || (qBlue(p) > 100 && qRed(p) == 0 && qGreen(p) == 0);
        }
    }
    return red && green && blue;
}

// Rewrites the private SANE configuration: the backends listed and test.conf settings.
void configureSane(const QStringList& backends, const QStringList& testSettings = {}) {
    const QString folder = qEnvironmentVariable("SANE_CONFIG_DIR");
    writeFile(folder + QStringLiteral("/dll.conf"), backends.join(QLatin1Char('\n')).toUtf8());
    QStringList conf = {QStringLiteral("number_of_devices 2"),
                        QStringLiteral("mode Gray"),
                        QStringLiteral("depth 8"),
                        QStringLiteral("geometry_min 0.0"),
                        QStringLiteral("geometry_max 200.0"),
                        QStringLiteral("geometry_quant 1.0"),
                        QStringLiteral("resolution_min 1.0"),
                        QStringLiteral("resolution_max 1200.0"),
                        QStringLiteral("resolution_quant 1.0")};
    conf += testSettings;
    writeFile(folder + QStringLiteral("/test.conf"), conf.join(QLatin1Char('\n')).toUtf8());
}

} // namespace

class TestScanners : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void errorText_data();
    void errorText();
    void imageFiles_data();
    void imageFiles();
    void transparentPageOnWhite();
    void badFiles_data();
    void badFiles();
    void cancelledChoice();
    void saneAcquires_data();
    void saneAcquires();
    void saneThreePassAndSixteenBits();
    void saneFailures_data();
    void saneFailures();
    void saneWithoutDevice();
    void saneGivesUpOnSilence();
    void init();
    void cleanupTestCase();
};

// The SANE test device reads its page in a thread that it cancels asynchronously when the scan
// ends. A thread cancelled inside AddressSanitizer's allocator leaves the allocator's lock taken,
// and the next scan then waits for ever; so the scans through that device run only in the plain
// build. The error texts and the image-file source are checked in both.
void TestScanners::init() {
#if defined(__SANITIZE_ADDRESS__)
    if (QByteArray(QTest::currentTestFunction()).startsWith("sane")) {
        QSKIP("the SANE test device's reader thread cannot be cancelled under AddressSanitizer");
    }
#endif
}

void TestScanners::initTestCase() {
    std::signal(SIGPIPE, SIG_IGN);
    // The library reads it once per process, before its first use.
    const QString folder = QDir::temp().filePath(
        QStringLiteral("tov-sane-%1").arg(QCoreApplication::applicationPid()));
    QVERIFY(QDir().mkpath(folder));
    qputenv("SANE_CONFIG_DIR", folder.toUtf8());
}

void TestScanners::cleanupTestCase() {
    QDir(qEnvironmentVariable("SANE_CONFIG_DIR")).removeRecursively();
}

void TestScanners::errorText_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("first") << 20000 << "General failure";
    QTest::newRow("pair 20001") << 20001 << "Not enough memory available";
    QTest::newRow("pair 20003") << 20003 << "Not enough memory available";
    QTest::newRow("misspelt as shipped") << 20013 << "Invalid parmameter passed";
    QTest::newRow("sub-type") << 20012 << "Image format recognized, but sub-type not supported";
    QTest::newRow("gap 20016") << 20016 << "";
    QTest::newRow("gap 20020") << 20020 << "";
    QTest::newRow("range start") << 20030 << "Internal Error - Call LEAD";
    QTest::newRow("range end") << 20062 << "Internal Error - Call LEAD";
    QTest::newRow("palette 20064") << 20064 << "Fixed palette data not found";
    QTest::newRow("gap 20066") << 20066 << "";
    QTest::newRow("gap 20069") << 20069 << "";
    QTest::newRow("eol range start") << 20074 << "Premature end-of-line code";
    QTest::newRow("eol range end") << 20077 << "Premature end-of-line code";
    QTest::newRow("no source manager") << 20079 << "Twain source manager not found";
    QTest::newRow("no data source") << 20082 << "Twain no Data Source";
    QTest::newRow("apostrophe") << 20084 << "Twain DS or DSM reported error, app shouldn't";
    QTest::newRow("last") << 20090 << "Twain operation was cancelled";
    QTest::newRow("past the end") << 20091 << "";
    QTest::newRow("before the start") << 19999 << "";
    QTest::newRow("file error number") << 53 << "";
}

void TestScanners::errorText() {
    QFETCH(int, code);
    QFETCH(QString, text);
    QCOMPARE(ErrorText(code), text);
}

void TestScanners::imageFiles_data() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<double>("dpi");    // 0: the file states none
    QTest::addColumn<QSize>("decoded"); // the page as the scanner hands it on
    QTest::addColumn<QSize>("prepared");
    const QSize sheet(850, 1400);
    QTest::newRow("PNG at 200 dpi") << "png" << 1700 << 2800 << 200.0 << QSize(1700, 2800) << sheet;
    QTest::newRow("JPEG at 300 dpi")
        << "jpg" << 2550 << 4200 << 300.0 << QSize(1275, 2100) << sheet;
    QTest::newRow("BMP at 50 dpi") << "bmp" << 425 << 700 << 50.0 << QSize(425, 700) << sheet;
    QTest::newRow("TIFF at 150 dpi")
        << "tiff" << 1275 << 2100 << 150.0 << QSize(1275, 2100) << sheet;
    QTest::newRow("PNG at 100 dpi as it is") << "png" << 850 << 1400 << 100.0 << sheet << sheet;
    QTest::newRow("PNG without resolution")
        << "png" << 1200 << 1976 << 0.0 << QSize(1200, 1976) << QSize(850, 1400);
    // 2550 pixels at 72 dpi would be a page 35 inches wide: a default, not the scan's.
    QTest::newRow("JPEG with a default 72 dpi")
        << "jpg" << 2550 << 4200 << 72.0 << QSize(1275, 2100) << sheet;
    // Beyond the image reader's allocation limit whole: scaled down while decoding.
    QTest::newRow("JPEG at 600 dpi")
        << "jpg" << 5100 << 8400 << 600.0 << QSize(1700, 2800) << sheet;
}

void TestScanners::imageFiles() {
    QFETCH(QString, format);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(double, dpi);
    QFETCH(QSize, decoded);
    QFETCH(QSize, prepared);
    QImage page = samplePage(width, height);
    page.setDotsPerMeterX(dpm(dpi > 0 ? dpi : 100));
    page.setDotsPerMeterY(dpm(dpi > 0 ? dpi : 100));
    QByteArray bytes = encoded(page, qPrintable(format));
    QVERIFY(!bytes.isEmpty());
    if (dpi == 0) {
        bytes = withoutResolution(bytes);
    }
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("page.") + format);
    writeFile(path, bytes);

    int picks = 0;
    ImageFileScanner scanner([&] {
        ++picks;
        return path;
    });
    scanner.CheckAvailable();
    const QImage got = scanner.Acquire(ScanSettings{});
    QCOMPARE(picks, 1);
    QCOMPARE(got.size(), decoded);
    // The colours survive: red top-left, black bottom-right, white between.
    const QRgb red = got.pixel(decoded.width() / 8, decoded.height() / 8);
    QVERIFY2(qRed(red) > 200 && qGreen(red) < 60 && qBlue(red) < 60,
             qPrintable(QString::number(red, 16)));
    QVERIFY(qGray(got.pixel(decoded.width() - 20, decoded.height() - 20)) < 40);
    QVERIFY(qGray(got.pixel(decoded.width() / 2, decoded.height() / 2)) > 220);
    // Prepared at 100 dpi by the resolution the file states, or as a sheet-wide page.
    const scan::PreparedPage sheet = scan::PreparePage(got);
    QCOMPARE(sheet.marks.size(), prepared);
    QCOMPARE(sheet.marks.dotsPerMeterX(), dpm(100));
    QCOMPARE(sheet.resolutionStated, dpi > 0 && dpi != 72.0);
    QVERIFY(sheet.marks.pixelColor(prepared.width() / 2, prepared.height() / 2).value() > 220);
    QVERIFY(sheet.ink.pixelColor(prepared.width() - 10, prepared.height() - 10).value() < 40);
}

void TestScanners::transparentPageOnWhite() {
    QImage page(850, 1400, QImage::Format_ARGB32);
    page.fill(Qt::transparent);
    page.setPixel(10, 10, qRgba(0, 0, 0, 255));
    page.setDotsPerMeterX(dpm(100));
    page.setDotsPerMeterY(dpm(100));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("clear.png"));
    QVERIFY(page.save(path));
    const scan::PreparedPage got = scan::PreparePage(ImageFileScanner::Load(path));
    QCOMPARE(int(got.marks.constScanLine(100)[100]), 255);
    QCOMPARE(int(got.ink.constScanLine(10)[10]), 0);
}

void TestScanners::badFiles_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes"); // null: no file at all
    QTest::addColumn<int>("error");
    QTest::newRow("missing") << "missing.png" << QByteArray() << platform::scanerr::FileNotFound;
    QTest::newRow("text named .png")
        << "notes.png" << QByteArray("not an image\n") << platform::scanerr::InvalidFileFormat;
    QTest::newRow("GIF is no scan format")
        << "page.gif" << QByteArray::fromBase64("R0lGODlhAQABAIAAAP///wAAACwAAAAAAQABAAACAkQBADs=")
        << platform::scanerr::InvalidFileFormat;
    const QByteArray png = encoded(samplePage(850, 1400), "png");
    QTest::newRow("cut short") << "short.png" << png.left(png.size() / 2)
                               << platform::scanerr::ErrorReadingFile;
    QTest::newRow("a folder") << "folder.png" << QByteArray("<dir>")
                              << platform::scanerr::CannotOpenFile;
    QTest::newRow("a pipe") << "pipe.png" << QByteArray("<fifo>")
                            << platform::scanerr::CannotOpenFile;
    QTest::newRow("a PDF that is none") << "scan.pdf" << QByteArray("%PDF-1.4\nnothing more\n")
                                        << platform::scanerr::InvalidFileFormat;
}

void TestScanners::badFiles() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(int, error);
    QTemporaryDir dir;
    QString path = dir.filePath(name);
    if (bytes == "<dir>") {
        QVERIFY(QDir().mkpath(path));
    } else if (bytes == "<fifo>") {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (!bytes.isNull()) {
        writeFile(path, bytes);
    }
    ImageFileScanner scanner([&path] { return path; });
    try {
        scanner.Acquire(ScanSettings{});
        QFAIL("a page came from a bad file");
    } catch (const AppError& e) {
        QCOMPARE(e.number(), error);
        // The operator learns which file it was.
        QVERIFY(e.description().startsWith(ErrorText(error)));
        QVERIFY(e.description().contains(path));
    }
}

void TestScanners::cancelledChoice() {
    int picks = 0;
    ImageFileScanner scanner([&picks] {
        ++picks;
        return QString();
    });
    QCOMPARE(errorOf([&] { scanner.Acquire(ScanSettings{}); }),
             platform::scanerr::OperationCancelled);
    QCOMPARE(picks, 1);
}

void TestScanners::saneAcquires_data() {
    QTest::addColumn<QString>("picture");
    QTest::addColumn<bool>("colour");
    QTest::addColumn<int>("bits");
    QTest::addColumn<QStringList>("extra");
    QTest::addColumn<int>("grey"); // the grey of the page's middle; -1 for a coloured page
    QTest::newRow("black, colour") << "Solid black" << true << 8 << QStringList() << 0;
    QTest::newRow("white, colour") << "Solid white" << true << 8 << QStringList() << 255;
    QTest::newRow("white, grey") << "Solid white" << false << 8 << QStringList() << 255;
    QTest::newRow("black, line art") << "Solid black" << false << 1 << QStringList() << 0;
    QTest::newRow("white, line art") << "Solid white" << false << 1 << QStringList() << 255;
    QTest::newRow("colour pattern") << "Color pattern" << true << 8 << QStringList() << -1;
    // A hand scanner does not know the page's length before the end.
    QTest::newRow("length unknown")
        << "Solid black" << true << 8 << QStringList{QStringLiteral("hand-scanner true")} << 0;
}

void TestScanners::saneAcquires() {
    QFETCH(QString, picture);
    QFETCH(bool, colour);
    QFETCH(int, bits);
    QFETCH(QStringList, extra);
    QFETCH(int, grey);
    configureSane({QStringLiteral("test")},
                  QStringList{QStringLiteral("test-picture \"%1\"").arg(picture)} + extra);
    SaneScanner scanner;
    scanner.CheckAvailable();
    ScanSettings settings;
    settings.Colour = colour;
    settings.Bits = bits;
    const QImage page = scanner.Acquire(settings);
    QVERIFY(!page.isNull());
    QCOMPARE(page.format(), QImage::Format_RGB32);
    QCOMPARE(page.dotsPerMeterX(), dpm(100));
    // The test device's area ends at 200 mm; the legal page asked for is cut there. At 100 dpi
    // that is 787 pixels.
    if (extra.isEmpty()) {
        QVERIFY2(qAbs(page.width() - 787) <= 2, qPrintable(QString::number(page.width())));
        QVERIFY2(qAbs(page.height() - 787) <= 2, qPrintable(QString::number(page.height())));
    } else {
        QVERIFY(page.height() > 100);
    }
    const QRgb middle = page.pixel(page.width() / 2, page.height() / 2);
    if (grey >= 0) {
        QCOMPARE(middle, qRgb(grey, grey, grey));
        return;
    }
    QVERIFY2(hasPureColours(page), "the colour pattern lacks pure red, green or blue");
}

void TestScanners::saneThreePassAndSixteenBits() {
    const QString pattern = QStringLiteral("test-picture \"Color pattern\"");
    configureSane({QStringLiteral("test")}, {pattern});
    const QImage onePass = SaneScanner().Acquire(ScanSettings{});
    // Red, green and blue sent one after the other make the same page.
    configureSane({QStringLiteral("test")}, {pattern, QStringLiteral("three-pass true")});
    const QImage threePass = SaneScanner().Acquire(ScanSettings{});
    QCOMPARE(threePass, onePass);
    // Sixteen bits a sample (the device draws another pattern there) keep their colours.
    configureSane({QStringLiteral("test")}, {pattern});
    ScanSettings sixteen;
    sixteen.Bits = 16;
    const QImage deep = SaneScanner().Acquire(sixteen);
    QCOMPARE(deep.size(), onePass.size());
    QVERIFY(hasPureColours(deep));
}

void TestScanners::saneFailures_data() {
    QTest::addColumn<QString>("status");
    QTest::addColumn<int>("error");
    using namespace platform::scanerr;
    QTest::newRow("jammed") << "SANE_STATUS_JAMMED" << SourceReportedError;
    QTest::newRow("no documents") << "SANE_STATUS_NO_DOCS" << SourceReportedError;
    QTest::newRow("cover open") << "SANE_STATUS_COVER_OPEN" << SourceReportedError;
    QTest::newRow("input/output") << "SANE_STATUS_IO_ERROR" << SourceReportedError;
    QTest::newRow("cancelled") << "SANE_STATUS_CANCELLED" << OperationCancelled;
    QTest::newRow("busy") << "SANE_STATUS_DEVICE_BUSY" << SourceBusy;
    QTest::newRow("memory") << "SANE_STATUS_NO_MEM" << ScannerOutOfMemory;
    QTest::newRow("denied") << "SANE_STATUS_ACCESS_DENIED" << SourceReportedError;
    QTest::newRow("no data at all") << "SANE_STATUS_EOF" << PrematureEof;
}

void TestScanners::saneFailures() {
    QFETCH(QString, status);
    QFETCH(int, error);
    configureSane({QStringLiteral("test")},
                  {QStringLiteral("read-status-code \"%1\"").arg(status)});
    SaneScanner scanner;
    try {
        scanner.Acquire(ScanSettings{});
        QFAIL("a page came from a failing scan");
    } catch (const AppError& e) {
        QCOMPARE(e.number(), error);
        QVERIFY(e.description().startsWith(ErrorText(error)));
    }
    // The device was closed: the next scan works.
    configureSane({QStringLiteral("test")});
    QVERIFY(!scanner.Acquire(ScanSettings{}).isNull());
}

void TestScanners::saneWithoutDevice() {
    configureSane({});
    QCOMPARE(errorOf([] { SaneScanner().CheckAvailable(); }), SaneScanner::NoDataSource);
    QCOMPARE(errorOf([] { SaneScanner().Acquire(ScanSettings{}); }), SaneScanner::NoDataSource);
    // A device named in the settings that is not there.
    configureSane({QStringLiteral("test")});
    QCOMPARE(errorOf([] { SaneScanner(QStringLiteral("test:7")).CheckAvailable(); }),
             SaneScanner::NoDataSource);
    QCOMPARE(errorOf([] { SaneScanner(QStringLiteral("test:1")).CheckAvailable(); }), 0);
    QVERIFY(!SaneScanner(QStringLiteral("test:1")).Acquire(ScanSettings{}).isNull());
}

void TestScanners::saneGivesUpOnSilence() {
    using namespace std::chrono_literals;
    // A device that takes 200 ms for each 64 KiB of a page 200 x 300 pixels in colour (three
    // pieces), asked by a scanner that gives up after 20 ms of silence.
    configureSane({QStringLiteral("test")}, {QStringLiteral("read-delay true"),
                                             QStringLiteral("read-delay-duration 200000")});
    SaneScanner().CheckAvailable(); // the library is free: nothing left from earlier scans
    ScanSettings small;
    small.FrameTwips = QRect(0, 0, 2 * 1440, 3 * 1440);
    SaneScanner impatient({}, 20ms);
    QCOMPARE(errorOf([&] { impatient.Acquire(small); }), platform::scanerr::SourceReportedError);
    // The scan left behind still holds the library: a scanner that cannot wait finds it busy.
    QCOMPARE(errorOf([&] { impatient.CheckAvailable(); }), platform::scanerr::SourceBusy);
    // Once it has ended, the device scans again.
    configureSane({QStringLiteral("test")});
    QVERIFY(!SaneScanner().Acquire(ScanSettings{}).isNull());
}

QTEST_GUILESS_MAIN(TestScanners)
#include "test_scanners.moc"
