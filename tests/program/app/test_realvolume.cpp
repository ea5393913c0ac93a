// The data volume on real mounts: ext2 images mounted on the data folder, with the host's own
// file system and volume identity. Needs root and loop devices; run in a private mount namespace
// (in_private_mounts.sh) so the mounts go with the test. Skipped where the machine cannot mount.

#include "app/DataDrive.h"
#include "platform/PosixFileSystem.h"
#include "platform/PosixVolumeIdentity.h"
#include "supervisor/DeleteNames.h"
#include "support/ProgramRig.h"

#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#include <unistd.h>

using namespace tov;
using fakes::ProgramRig;
using platform::MessageBoxes;

namespace {

const QStringList kVolumeA = {"ALPHA, ANN", "ALPHA, BEN", "ALPHA, CY"};
const QStringList kVolumeB = {"BRAVO, DEE", "BRAVO, EVE", "BRAVO, FAY"};

QByteArray fileOf(const QStringList& clients) {
    QByteArray file;
    for (const QString& c : clients) {
        file += fakes::clientRecord(c);
    }
    return file;
}

// Runs a command; its error output when it fails, else empty.
QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        const QString err = QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
        return program + QLatin1Char(' ') + args.join(QLatin1Char(' ')) + QStringLiteral(": ") +
               (err.isEmpty() ? QStringLiteral("failed") : err);
    }
    return {};
}

QString mountImage(const QString& image, const QString& folder, bool readOnly) {
    return run(QStringLiteral("mount"),
               {QStringLiteral("-o"), readOnly ? QStringLiteral("loop,ro") : QStringLiteral("loop"),
                image, folder});
}

QString unmount(const QString& folder) {
    return run(QStringLiteral("umount"), {folder});
}

// A mount on the data folder that is undone however the test ends.
struct MountGuard {
    QString folder;
    ~MountGuard() {
        while (unmount(folder).isEmpty()) {
        }
    }
};

// The program on the host's own file system and volume identity, with fake message boxes.
std::function<void(platform::Platform&)> realVolume() {
    return [](platform::Platform& p) {
        p.fs = std::make_unique<platform::PosixFileSystem>();
        p.volumes = std::make_unique<platform::PosixVolumeIdentity>();
    };
}

bool shownWithTitle(const fakes::FakeMessageBoxes& boxes, const QString& title) {
    return std::any_of(boxes.shown.begin(), boxes.shown.end(),
                       [&](const auto& b) { return b.title == title; });
}

} // namespace

class TestRealVolume : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void readOnlyVolumeRefused();
    void writableAfterProtectionRemoved();
    void swappedVolumeCaughtBeforeWrite();

private:
    QString makeImage(const QString& name, const QString& uuid, const QStringList& clients);

    QTemporaryDir images_;
    QString imageA_;
    QString imageB_;
};

QString TestRealVolume::makeImage(const QString& name, const QString& uuid,
                                  const QStringList& clients) {
    const QString content = images_.filePath(name + QStringLiteral("-content"));
    QDir().mkpath(content);
    fakes::writeAll(content + QStringLiteral("/DATA401.TOV"), fileOf(clients));
    const QString image = images_.filePath(name + QStringLiteral(".img"));
    const QString error = run(QStringLiteral("mkfs.ext2"),
                              {QStringLiteral("-q"), QStringLiteral("-F"), QStringLiteral("-L"),
                               name, QStringLiteral("-U"), uuid, QStringLiteral("-d"), content,
                               image, QStringLiteral("2048")});
    return error.isEmpty() ? image : QString();
}

void TestRealVolume::initTestCase() {
    const QString refused = qEnvironmentVariable("TOV_MOUNT_SKIP");
    if (!refused.isEmpty()) {
        QSKIP(qPrintable(QStringLiteral("no private mounts here: ") + refused));
    }
    if (::geteuid() != 0) {
        QSKIP("mounting images needs root");
    }
    if (QStandardPaths::findExecutable(QStringLiteral("mkfs.ext2")).isEmpty() &&
        QStandardPaths::findExecutable(QStringLiteral("mkfs.ext2"), {QStringLiteral("/sbin")})
            .isEmpty()) {
        QSKIP("mkfs.ext2 (e2fsprogs) is not installed");
    }
    imageA_ = makeImage(QStringLiteral("VOLA"),
                        QStringLiteral("0a0a0a0a-1111-4111-8111-0a0a0a0a0a0a"), kVolumeA);
    imageB_ = makeImage(QStringLiteral("VOLB"),
                        QStringLiteral("0b0b0b0b-2222-4222-8222-0b0b0b0b0b0b"), kVolumeB);
    QVERIFY2(!imageA_.isEmpty() && !imageB_.isEmpty(), "mkfs.ext2 could not make the images");
    const QString trial = images_.filePath(QStringLiteral("trial"));
    QDir().mkpath(trial);
    const QString error = mountImage(imageA_, trial, true);
    if (!error.isEmpty()) {
        QSKIP(qPrintable(QStringLiteral("cannot mount an ext2 image here: ") + error));
    }
    QCOMPARE(unmount(trial), QString());
}

void TestRealVolume::readOnlyVolumeRefused() {
    ProgramRig rig({}, QByteArray("[Settings]\nNumLock=True\n"), realVolume());
    QCOMPARE(mountImage(imageA_, rig.dataDir, true), QString());
    MountGuard mounted{rig.dataDir};
    rig.boxes->script({MessageBoxes::Answer::Cancel});
    QVERIFY(!rig.program->start());
    QVERIFY(!rig.boxes->shown.isEmpty());
    const auto& box = rig.boxes->shown.first();
    QCOMPARE(box.text, app::DataDrive::writeProtectedText());
    QVERIFY(box.text.startsWith(QStringLiteral("Data disk write protected!")));
    QCOMPARE(box.title, QStringLiteral("Data Disk Error"));
    QCOMPARE(box.buttons, MessageBoxes::Buttons::OkCancel);
    QCOMPARE(rig.ends, 1);
    QCOMPARE(fakes::readAll(rig.dataFile()), fileOf(kVolumeA));
}

void TestRealVolume::writableAfterProtectionRemoved() {
    ProgramRig rig({}, QByteArray("[Settings]\nNumLock=True\n"), realVolume());
    QCOMPARE(mountImage(imageA_, rig.dataDir, true), QString());
    MountGuard mounted{rig.dataDir};
    // The operator slides the tab to writable and puts the volume back, then answers OK.
    QString remount;
    rig.boxes->onShow = [&](const fakes::FakeMessageBoxes::Shown& b) {
        if (b.title == QStringLiteral("Data Disk Error") && remount.isEmpty()) {
            remount = unmount(rig.dataDir);
            remount += mountImage(imageA_, rig.dataDir, false);
            remount += QStringLiteral("done");
        }
    };
    QVERIFY(rig.program->start());
    QCOMPARE(remount, QStringLiteral("done"));
    QCOMPARE(rig.boxes->shown.size(), 1);
    QCOMPARE(rig.state().clients().ClientCount(), 3);
    QVERIFY(!QFile::exists(rig.dataDir + QStringLiteral("/checkWriteTest")));

    // A real write reaches the volume through the guard.
    rig.boxes->onShow = {};
    rig.boxes->script({MessageBoxes::Answer::Yes});
    QVERIFY(supervisor::DeleteNames(rig.program->context()));
    QCOMPARE(rig.boxes->shown.last().text,
             QStringLiteral("Process complete. Press Enter to continue."));
    QCOMPARE(unmount(rig.dataDir), QString());
    QCOMPARE(mountImage(imageA_, rig.dataDir, true), QString());
    const QByteArray after = fakes::readAll(rig.dataFile());
    QCOMPARE(after.size(), 3 * records::kRecordSize);
    for (int r = 0; r < 3; ++r) {
        const auto rec =
            records::ClientRecord::fromBytes(after.mid(qsizetype(r) * records::kRecordSize));
        QCOMPARE(rec.get(records::Field::NameDeleted), QStringLiteral("1"));
        QCOMPARE(supervisor::ShiftText(rec.get(records::Field::Name), 1),
                 records::ClientRecord::fromBytes(fakes::clientRecord(kVolumeA[r]))
                     .get(records::Field::Name));
    }
}

void TestRealVolume::swappedVolumeCaughtBeforeWrite() {
    ProgramRig rig({}, QByteArray("[Settings]\nNumLock=True\n"), realVolume());
    QCOMPARE(mountImage(imageB_, rig.dataDir, false), QString());
    MountGuard mounted{rig.dataDir};
    QVERIFY(rig.program->start());
    const QByteArray startB = fakes::readAll(rig.dataFile());
    QCOMPARE(rig.state().clients().ClientCount(), 3);

    // Another volume, with as many records, under the same folder.
    QCOMPARE(unmount(rig.dataDir), QString());
    QCOMPARE(mountImage(imageA_, rig.dataDir, false), QString());
    const QByteArray startA = fakes::readAll(rig.dataFile());
    QCOMPARE(startA.size(), startB.size());
    rig.boxes->shown.clear();
    rig.boxes->script({MessageBoxes::Answer::Yes});
    QVERIFY(!supervisor::DeleteNames(rig.program->context()));
    QVERIFY(shownWithTitle(*rig.boxes, QStringLiteral("Data Disk Changed")));
    QVERIFY(shownWithTitle(*rig.boxes, QStringLiteral("Data Disk Not Found")));
    QCOMPARE(rig.ends, 1);
    QCOMPARE(fakes::readAll(rig.dataFile()), startA);
    QVERIFY(!QFile::exists(rig.dataDir + QStringLiteral("/checkWriteTest")));

    // The volume the program started with is untouched as well.
    QCOMPARE(unmount(rig.dataDir), QString());
    QCOMPARE(mountImage(imageB_, rig.dataDir, true), QString());
    QCOMPARE(fakes::readAll(rig.dataFile()), startB);
}

QTEST_MAIN(TestRealVolume)
#include "test_realvolume.moc"
