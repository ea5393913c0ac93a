#include "support/Fakes.h"
#include "testing/PromptPlayer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace tov;
using testing::PromptPlayer;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// A player on the fakes, with an English sound folder holding the files named.
struct Player {
    QTemporaryDir root;
    fakes::FakeWavePlayer wave;
    fakes::FaultyFileSystem fs;
    fakes::FakeMessageBoxes boxes;
    PromptPlayer prompts{&wave, fs, boxes};
    QString folder;

    explicit Player(const QStringList& files = {"Inst0.wav", "Q01.wav", "True.wav", "False.wav"}) {
        folder = PromptPlayer::soundFolder(root.path(), QStringLiteral("English"));
        QDir().mkpath(folder);
        for (const QString& f : files) {
            writeFile(folder + f, "RIFF");
        }
        prompts.setFolder(folder);
    }
};

} // namespace

class TestPromptPlayer : public QObject {
    Q_OBJECT

private slots:
    void soundFolder_data();
    void soundFolder();
    void initSoundSetsWaveAudio();
    void unusableDeviceSilencesEverything();
    void eachPromptCutsOffTheOneBefore();
    void stopClosesThePlayer();
    void missingFilesAreSilent_data();
    void missingFilesAreSilent();
    void absentFolderIsSilent();
    void errorsWhilePlaying_data();
    void errorsWhilePlaying();
    void noPlayerIsSilent();
};

void TestPromptPlayer::soundFolder_data() {
    QTest::addColumn<QString>("soundPath");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("folder");
    QTest::newRow("English") << "/opt/agency"
                             << "English"
                             << "/opt/agency/TOV2SF/Sound/English/";
    QTest::newRow("Spanish") << "/opt/agency"
                             << "Spanish"
                             << "/opt/agency/TOV2SF/Sound/Spanish/";
    QTest::newRow("trailing slash") << "/media/c/"
                                    << "English"
                                    << "/media/c/TOV2SF/Sound/English/";
}

void TestPromptPlayer::soundFolder() {
    QFETCH(QString, soundPath);
    QFETCH(QString, language);
    QFETCH(QString, folder);
    QCOMPARE(PromptPlayer::soundFolder(soundPath, language), folder);
}

void TestPromptPlayer::initSoundSetsWaveAudio() {
    Player p;
    p.prompts.InitSound();
    QCOMPARE(p.wave.deviceType, QStringLiteral("WaveAudio"));
    QVERIFY(p.prompts.SoundOn());
    p.prompts.PlayPrompt("Inst0.wav");
    QCOMPARE(p.wave.played, QStringList{p.folder + "Inst0.wav"});
    QCOMPARE(p.wave.playing, p.folder + "Inst0.wav");
}

void TestPromptPlayer::unusableDeviceSilencesEverything() {
    Player p;
    p.wave.deviceError = 68;
    p.prompts.InitSound();
    QVERIFY(!p.prompts.SoundOn());
    p.prompts.PlayPrompt("Inst0.wav");
    p.prompts.PlayPrompt("Q01.wav");
    QVERIFY(p.wave.played.isEmpty());
    QVERIFY(p.boxes.shown.isEmpty());
}

void TestPromptPlayer::eachPromptCutsOffTheOneBefore() {
    Player p;
    p.prompts.InitSound();
    p.wave.calls.clear();
    p.prompts.PlayPrompt("Q01.wav");
    p.prompts.PlayPrompt("True.wav");
    p.prompts.PlayPrompt("False.wav");
    QCOMPARE(p.wave.played,
             QStringList({p.folder + "Q01.wav", p.folder + "True.wav", p.folder + "False.wav"}));
    // Every start is preceded by a close, which stops what was playing.
    int opens = 0;
    for (int i = 0; i < p.wave.calls.size(); ++i) {
        if (p.wave.calls[i].startsWith("open ")) {
            ++opens;
            QVERIFY(i > 0);
            QCOMPARE(p.wave.calls[i - 1], QStringLiteral("close"));
        }
    }
    QCOMPARE(opens, 3);
    QCOMPARE(p.wave.playing, p.folder + "False.wav");
}

void TestPromptPlayer::stopClosesThePlayer() {
    Player p;
    p.prompts.InitSound();
    p.prompts.PlayPrompt("Q01.wav");
    p.prompts.StopPrompt();
    QVERIFY(p.wave.playing.isEmpty());
    QCOMPARE(p.wave.calls.last(), QStringLiteral("close"));
}

void TestPromptPlayer::missingFilesAreSilent_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("no such file") << "Q02.wav";
    QTest::newRow("a null audio name") << ".wav";
    QTest::newRow("empty name") << "";
}

void TestPromptPlayer::missingFilesAreSilent() {
    QFETCH(QString, name);
    Player p;
    p.prompts.InitSound();
    p.prompts.PlayPrompt("Q01.wav");
    p.prompts.PlayPrompt(name);
    QCOMPARE(p.wave.played, QStringList{p.folder + "Q01.wav"});
    // The prompt before is stopped all the same.
    QVERIFY(p.wave.playing.isEmpty());
    QVERIFY(p.boxes.shown.isEmpty());
}

void TestPromptPlayer::absentFolderIsSilent() {
    Player p;
    p.prompts.setFolder(PromptPlayer::soundFolder("/nonexistent/drive", "English"));
    p.prompts.InitSound();
    p.prompts.PlayPrompt("Inst0.wav");
    QVERIFY(p.wave.played.isEmpty());
    QVERIFY(p.boxes.shown.isEmpty());
    QVERIFY(p.prompts.SoundOn());
}

void TestPromptPlayer::errorsWhilePlaying_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<bool>("onOpen");
    QTest::addColumn<bool>("message");
    for (int n : {52, 53, 57, 68, 75, 76}) {
        QTest::addRow("%d on open", n) << n << true << false;
        QTest::addRow("%d on play", n) << n << false << false;
    }
    QTest::newRow("5 on open") << 5 << true << true;
    QTest::newRow("61 on play") << 61 << false << true;
    QTest::newRow("71 on open") << 71 << true << true;
}

void TestPromptPlayer::errorsWhilePlaying() {
    QFETCH(int, number);
    QFETCH(bool, onOpen);
    QFETCH(bool, message);
    Player p;
    p.prompts.InitSound();
    (onOpen ? p.wave.openFailures : p.wave.playFailures)["Q01.wav"] = number;
    p.prompts.PlayPrompt("Q01.wav");
    QVERIFY(p.wave.played.isEmpty());
    QCOMPARE(p.boxes.shown.size(), message ? 1 : 0);
    if (message) {
        QCOMPARE(p.boxes.shown[0].title, QStringLiteral("Sound Error"));
        QVERIFY(p.boxes.shown[0].text.startsWith(QStringLiteral("Error %1:scripted").arg(number)));
        QCOMPARE(p.boxes.shown[0].icon, platform::MessageBoxes::Icon::Error);
    }
    // The sound stays on: the next prompt is tried.
    QVERIFY(p.prompts.SoundOn());
    p.prompts.PlayPrompt("True.wav");
    QCOMPARE(p.wave.played, QStringList{p.folder + "True.wav"});
}

void TestPromptPlayer::noPlayerIsSilent() {
    QTemporaryDir root;
    fakes::FaultyFileSystem fs;
    fakes::FakeMessageBoxes boxes;
    PromptPlayer prompts(nullptr, fs, boxes);
    prompts.InitSound();
    QVERIFY(!prompts.SoundOn());
    prompts.PlayPrompt("Inst0.wav");
    prompts.StopPrompt();
    QVERIFY(boxes.shown.isEmpty());
}

QTEST_GUILESS_MAIN(TestPromptPlayer)
#include "test_promptplayer.moc"
