#include "platform/AppError.h"
#include "platform/ErrnoErrors.h"
#include "platform/LocalSingleInstance.h"
#include "platform/MountedDriveList.h"
#include "platform/PosixFileSystem.h"
#include "platform/PosixVolumeIdentity.h"
#include "platform/X11KeyboardState.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>

using namespace tov;
using platform::PosixFileSystem;

namespace {

int errorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const AppError& e) {
        return e.number();
    }
    return 0;
}

} // namespace

class TestHostPlatform : public QObject {
    Q_OBJECT

private slots:
    void errnoMapping_data();
    void errnoMapping();
    void fileOperations();
    void missingFileOrFolder();
    void volumeIdentity();
    void driveListHasRoot();
    void singleInstanceAcrossTwoStarts();
    void numLockWithoutX11DoesNothing();
};

void TestHostPlatform::errnoMapping_data() {
    QTest::addColumn<int>("errnoValue");
    QTest::addColumn<int>("number");
    QTest::newRow("ENOENT") << ENOENT << err::FileNotFound;
    QTest::newRow("ENOTDIR") << ENOTDIR << err::PathNotFound;
    QTest::newRow("EROFS") << EROFS << err::PermissionDenied;
    QTest::newRow("EACCES") << EACCES << err::PermissionDenied;
    QTest::newRow("ENOMEDIUM") << ENOMEDIUM << err::DriveNotReady;
    QTest::newRow("ENXIO") << ENXIO << err::DriveNotReady;
    QTest::newRow("ENOSPC") << ENOSPC << err::DiskFull;
    QTest::newRow("EIO") << EIO << err::DeviceIo;
    QTest::newRow("ENAMETOOLONG") << ENAMETOOLONG << err::BadFileName;
}

void TestHostPlatform::errnoMapping() {
    QFETCH(int, errnoValue);
    QFETCH(int, number);
    QCOMPARE(platform::errorNumberFor(errnoValue), number);
}

void TestHostPlatform::fileOperations() {
    QTemporaryDir dir;
    PosixFileSystem fs;
    const QString path = dir.filePath("DATA401.TOV");
    QVERIFY(!fs.exists(path));
    QCOMPARE(fs.readOrCreate(path), QByteArray());
    QVERIFY(fs.exists(path));
    fs.writeAt(path, 0, "abc");
    fs.writeAt(path, 5, "xy");
    QCOMPARE(fs.size(path), 7);
    QCOMPARE(fs.readOrCreate(path), QByteArray("abc\0\0xy", 7));
    fs.writeAt(path, 1, "Z");
    QCOMPARE(fs.readOrCreate(path), QByteArray("aZc\0\0xy", 7));
    fs.probeRead(path);
    fs.writeNew(dir.filePath("t"), "test\n");
    fs.writeNew(dir.filePath("t"), "x");
    QCOMPARE(fs.size(dir.filePath("t")), 1);
    fs.remove(dir.filePath("t"));
    QVERIFY(!fs.exists(dir.filePath("t")));
}

void TestHostPlatform::missingFileOrFolder() {
    QTemporaryDir dir;
    PosixFileSystem fs;
    QCOMPARE(errorOf([&] { fs.probeRead(dir.filePath("absent")); }), err::FileNotFound);
    QCOMPARE(errorOf([&] { fs.probeRead(dir.filePath("nofolder/DATA401.TOV")); }),
             err::PathNotFound);
    QCOMPARE(errorOf([&] { fs.probeRead(dir.path()); }), err::BadFileName);
    QCOMPARE(errorOf([&] { fs.size(dir.filePath("absent")); }), err::FileNotFound);
    QCOMPARE(errorOf([&] { fs.remove(dir.filePath("absent")); }), err::FileNotFound);
    QCOMPARE(errorOf([&] { fs.writeAt(dir.filePath("nofolder/x"), 0, "a"); }), err::PathNotFound);
}

void TestHostPlatform::volumeIdentity() {
    QTemporaryDir a;
    QTemporaryDir b;
    platform::PosixVolumeIdentity ids;
    const QString first = ids.read(a.path());
    QVERIFY(!first.isEmpty());
    QCOMPARE(ids.read(a.path()), first);
    // Another folder made in its place under the same name reads as another disk.
    const QString other = ids.read(b.path());
    QVERIFY(other != first);
    const QString path = a.path();
    QVERIFY(QDir(path).removeRecursively());
    QCOMPARE(errorOf([&] { ids.read(path); }), err::DriveNotReady);
    // Another mounted file system reads as another disk.
    if (QFileInfo("/dev/shm").isDir()) {
        QVERIFY(ids.read("/dev/shm").section('-', 0, 1) != ids.read("/").section('-', 0, 1));
    }
}

void TestHostPlatform::driveListHasRoot() {
    platform::MountedDriveList list;
    const auto drives = list.drives();
    bool root = false;
    bool seenFixed = false;
    for (const auto& d : drives) {
        root = root || d.path == "/";
        QVERIFY(!d.path.startsWith("/proc"));
        QVERIFY(!d.path.startsWith("/sys"));
        // Removable media come first.
        QVERIFY(!(seenFixed && d.removable));
        seenFixed = seenFixed || !d.removable;
    }
    QVERIFY(root);
}

void TestHostPlatform::singleInstanceAcrossTwoStarts() {
    QTemporaryDir folder;
    platform::LocalSingleInstance first(folder.path());
    QVERIFY(!first.otherCopyRunning());
    int restores = 0;
    first.onRestoreRequested([&] { ++restores; });

    platform::LocalSingleInstance second(folder.path());
    QVERIFY(second.otherCopyRunning());
    second.restoreOtherCopy("Tovaline II - Short Form");
    QTRY_COMPARE(restores, 1);

    // A copy of the program in another folder runs on its own.
    QTemporaryDir elsewhere;
    platform::LocalSingleInstance other(elsewhere.path());
    QVERIFY(!other.otherCopyRunning());
}

void TestHostPlatform::numLockWithoutX11DoesNothing() {
    platform::X11KeyboardState keyboard;
    QVERIFY(!keyboard.numLock().has_value());
    keyboard.setNumLock(true);
    QVERIFY(!keyboard.numLock().has_value());
}

QTEST_MAIN(TestHostPlatform)
#include "test_hostplatform.moc"
