#pragma once

// A whole program on fake host services, in a temporary program folder with a temporary data
// volume, for the screen tests.

#include "app/Program.h"
#include "support/Fakes.h"
#include "support/Files.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <QtTest>

#include <functional>
#include <memory>

namespace tov::fakes {

inline QByteArray clientRecord(const QString& name) {
    records::ClientRecord r;
    r.set(records::Field::Name, name);
    r.set(records::Field::Responses, QString(73, QLatin1Char('1')));
    r.set(records::Field::EditCount, u"0");
    r.set(records::Field::NameDeleted, u"0");
    return r.bytes();
}

// Saves a picture of a screen where the tests keep their screenshots.
inline void saveShot(QWidget* w, const QString& name) {
    const QString dir = qEnvironmentVariable("TOV_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
        QDir().mkpath(dir);
        w->grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
    }
}

// Acts on the modal dialog that is about to open, then closes it if the action left it open, so a
// failed check inside the action can never leave the test waiting on a dialog.
template <typename Dialog, typename Action> void whenModal(Action action) {
    QTimer::singleShot(0, [action] {
        QWidget* shown = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<Dialog*>(shown)) {
            action(dialog);
        } else {
            QFAIL("the expected dialog is not on screen");
        }
        if (auto* open = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            open != nullptr && open == shown) {
            open->done(QDialog::Rejected);
        }
    });
}

struct ProgramRig {
    QTemporaryDir root;
    QString programDir = root.filePath(QStringLiteral("TOV2SF"));
    QString dataDir = root.filePath(QStringLiteral("data"));
    FaultyFileSystem* fs = nullptr;
    FakeVolumeIdentity* volumes = nullptr;
    FakeVolumeLock* lock = nullptr;
    FakeMessageBoxes* boxes = nullptr;
    FakeKeyboardState* keyboard = nullptr;
    FakeSingleInstance* instance = nullptr;
    FakeClock* clock = nullptr;
    FakeDriveList* drives = nullptr;
    FakeWavePlayer* wave = nullptr;
    FakeScanner* scanner = nullptr;
    FakePrinter* fakePrinter = nullptr;
    FakeEndRequests* endRequests = nullptr;
    std::unique_ptr<app::Program> program;
    int ends = 0;
    // The program's own way of ending, for a test that runs the program's event loop.
    std::function<void()> programEnd;

    // Clients named in the data volume's file; ini text for the program folder. `host` may put
    // real services in place of fakes before the program is made; the pointer to a fake it
    // replaced is then null.
    // `sharedData` puts the data volume in a folder of the test's own, whose client file (if
    // there is one) is left as it is: two rigs, or a rig and another program, on one volume.
    // `content` says where the content set comes from (the program folder's own files unless
    // set).
    explicit ProgramRig(const QStringList& clients,
                        const QByteArray& ini = QByteArray("[Settings]\nNumLock=True\n"),
                        const std::function<void(platform::Platform&)>& host = {},
                        const QString& sharedData = {}, content::ContentPlaces content = {}) {
        if (!sharedData.isEmpty()) {
            dataDir = sharedData;
        }
        QDir().mkpath(programDir);
        QDir().mkpath(dataDir);
        const QString built = qEnvironmentVariable("TOV_PROGRAM_DIR");
        QFile::copy(built + QStringLiteral("/zevltd.mda"),
                    programDir + QStringLiteral("/zevltd.mda"));
        QFile::copy(built + QStringLiteral("/TOV2SF.MDB"),
                    programDir + QStringLiteral("/TOV2SF.MDB"));
        writeAll(programDir + QStringLiteral("/tov2sf.ini"),
                 ini + "[Path]\nFilePath=" + dataDir.toUtf8() + "\n");
        QByteArray file;
        for (const QString& c : clients) {
            file += clientRecord(c);
        }
        if (sharedData.isEmpty() || !QFile::exists(dataFile())) {
            writeAll(dataFile(), file);
        }

        platform::Platform p;
        auto fsOwned = std::make_unique<FaultyFileSystem>();
        fs = fsOwned.get();
        p.fs = std::move(fsOwned);
        auto vols = std::make_unique<FakeVolumeIdentity>();
        volumes = vols.get();
        volumes->ids[dataDir] = QStringLiteral("DATA-VOL");
        p.volumes = std::move(vols);
        auto lk = std::make_unique<FakeVolumeLock>();
        lock = lk.get();
        p.lock = std::move(lk);
        auto bx = std::make_unique<FakeMessageBoxes>();
        boxes = bx.get();
        p.boxes = std::move(bx);
        auto kb = std::make_unique<FakeKeyboardState>();
        keyboard = kb.get();
        p.keyboard = std::move(kb);
        auto si = std::make_unique<FakeSingleInstance>();
        instance = si.get();
        p.instance = std::move(si);
        auto ck = std::make_unique<FakeClock>();
        clock = ck.get();
        p.clock = std::move(ck);
        auto dl = std::make_unique<FakeDriveList>();
        drives = dl.get();
        p.drives = std::move(dl);
        auto wp = std::make_unique<FakeWavePlayer>();
        wave = wp.get();
        p.wave = std::move(wp);
        auto sc = std::make_unique<FakeScanner>();
        scanner = sc.get();
        p.scanner = std::move(sc);
        auto pr = std::make_unique<FakePrinter>();
        fakePrinter = pr.get();
        p.printer = std::move(pr);
        auto er = std::make_unique<FakeEndRequests>();
        endRequests = er.get();
        p.endRequests = std::move(er);
        if (host) {
            host(p);
            fs = p.fs.get() == fs ? fs : nullptr;
            volumes = p.volumes.get() == volumes ? volumes : nullptr;
            lock = p.lock.get() == lock ? lock : nullptr;
            fakePrinter = p.printer.get() == fakePrinter ? fakePrinter : nullptr;
            endRequests = p.endRequests.get() == endRequests ? endRequests : nullptr;
        }
        program = std::make_unique<app::Program>(programDir, std::move(p), std::move(content));
        // The test decides what ending means; the event loop is its own.
        programEnd = state().EndProgram();
        state().setEndProgram([this] { ++ends; });
    }

    QString dataFile() const { return dataDir + QStringLiteral("/DATA401.TOV"); }
    QString iniFile() const { return programDir + QStringLiteral("/tov2sf.ini"); }
    app::ProgramState& state() { return program->state(); }
    ui::frmMainMenu& menu() { return program->mainMenu(); }
};

} // namespace tov::fakes
