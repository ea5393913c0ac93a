#include "platform/AppError.h"
#include "platform/QtWavePlayer.h"

#include <QAudioDevice>
#include <QDir>
#include <QFile>
#include <QMediaDevices>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <cmath>

using namespace tov;
using platform::QtWavePlayer;

namespace {

// What the test runs against: "none" (no sound server at all) or "null" (a private server whose
// only output is a silent null sink).
QString audio() {
    return qEnvironmentVariable("TOV_AUDIO", QStringLiteral("none"));
}

// A mono 16-bit wave of a tone, long enough to be caught playing.
QByteArray toneWave(int milliseconds) {
    const int rate = 22050;
    const int samples = rate * milliseconds / 1000;
    QByteArray data(qsizetype{samples} * 2, '\0');
    for (int i = 0; i < samples; ++i) {
        const auto v = static_cast<qint16>(8000 * std::sin(2 * M_PI * 440 * i / rate));
        qToLittleEndian(v, data.data() + qsizetype{2} * i);
    }
    QByteArray wave("RIFF");
    auto u32 = [&wave](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        wave.append(b, 4);
    };
    auto u16 = [&wave](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        wave.append(b, 2);
    };
    u32(36 + data.size());
    wave += "WAVEfmt ";
    u32(16);
    u16(1);
    u16(1);
    u32(rate);
    u32(rate * 2);
    u16(2);
    u16(16);
    wave += "data";
    u32(data.size());
    return wave + data;
}

int errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const AppError& e) {
        return e.number();
    }
    return 0;
}

} // namespace

class TestQtWavePlayer : public QObject {
    Q_OBJECT

private slots:
    void deviceAsTheHostHasIt();
    void filesThatCannotPlay_data();
    void filesThatCannotPlay();
    void playsAndIsCutOff();
};

void TestQtWavePlayer::deviceAsTheHostHasIt() {
    QtWavePlayer player;
    player.setDeviceType(QStringLiteral("WaveAudio"));
    if (audio() == QLatin1String("none")) {
        QVERIFY(QMediaDevices::audioOutputs().isEmpty());
        QCOMPARE(player.error(), 68);
        QTemporaryDir dir;
        const QString path = dir.filePath("a.wav");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(toneWave(100));
        f.close();
        QCOMPARE(errorOf([&] { player.open(path); }), 68);
        QCOMPARE(errorOf([&] { player.play(); }), 57);
        player.close();
    } else {
        QCOMPARE(player.error(), 0);
    }
    // Only wave audio is driven.
    player.setDeviceType(QStringLiteral("CDAudio"));
    QVERIFY(player.error() > 0);
}

void TestQtWavePlayer::filesThatCannotPlay_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("error");
    QTest::newRow("missing") << "missing.wav" << 53;
    QTest::newRow("a folder") << "folder.wav" << 75;
}

void TestQtWavePlayer::filesThatCannotPlay() {
    if (audio() == QLatin1String("none")) {
        QSKIP("needs a sound device");
    }
    QFETCH(QString, name);
    QFETCH(int, error);
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("folder.wav");
    QtWavePlayer player;
    player.setDeviceType(QStringLiteral("WaveAudio"));
    QCOMPARE(errorOf([&] { player.open(dir.filePath(name)); }), error);
}

void TestQtWavePlayer::playsAndIsCutOff() {
    if (audio() == QLatin1String("none")) {
        QSKIP("needs a sound device");
    }
    QTemporaryDir dir;
    for (const char* name : {"first.wav", "second.wav"}) {
        QFile f(dir.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(toneWave(3000));
    }
    QtWavePlayer player;
    player.setDeviceType(QStringLiteral("WaveAudio"));
    QCOMPARE(player.error(), 0);
    player.open(dir.filePath("first.wav"));
    QElapsedTimer started;
    started.start();
    player.play();
    // Playing does not hold the caller up (opening may take a while on a busy machine).
    QVERIFY(started.elapsed() < 1000);
    QTRY_VERIFY_WITH_TIMEOUT(player.position() > 0, 5000);
    player.open(dir.filePath("second.wav"));
    QCOMPARE(player.position(), 0);
    player.play();
    QTRY_VERIFY_WITH_TIMEOUT(player.position() > 0, 5000);
    player.close();
    QVERIFY(!player.isPlaying());
}

QTEST_MAIN(TestQtWavePlayer)
#include "test_qtwaveplayer.moc"
