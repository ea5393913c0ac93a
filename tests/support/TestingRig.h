#pragma once

// A started program with a new client under way, and the keys a client types on the
// presentation screen.

#include "support/ProgramRig.h"
#include "support/ScreenDriver.h"
#include "testing/frmPresentQA.h"
#include "ui/ScreenKit.h"

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

namespace tov::fakes {

inline const QStringList kTwoClients = {QStringLiteral("Alder, Ann"), QStringLiteral("Birch, Bo")};

struct TestingRig : ProgramRig {
    explicit TestingRig(const QStringList& clients = kTwoClients) : ProgramRig(clients) {
        started = program->start();
    }

    // The new client as the client information screen leaves it: slot ClientCount + 1, filled in
    // memory only.
    void beginNewClient(const QString& name = QStringLiteral("Newcomer, Nell")) {
        auto& table = state().clients();
        table.setCurrentClient(table.ClientCount() + 1);
        records::ClientRecord& r = table.current();
        r.clear();
        r.set(records::Field::Name, name);
        r.set(records::Field::Age, u"41");
        r.set(records::Field::Responses, QString(73, QLatin1Char('0')));
        r.set(records::Field::EditCount, u"0");
        r.set(records::Field::NameDeleted, u"0");
    }

    QString bankPath() const { return programDir + QStringLiteral("/TOV2SF.MDB"); }

    // Changes the copied question bank.
    bool alterBank(const QStringList& statements) {
        bool ok = true;
        {
            QSqlDatabase db =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("alter-bank"));
            db.setDatabaseName(bankPath());
            ok = db.open();
            QSqlQuery q(db);
            for (const QString& s : statements) {
                if (ok && !q.exec(s)) {
                    qWarning() << s << q.lastError().text();
                    ok = false;
                }
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("alter-bank"));
        return ok;
    }

    // A sound folder holding an (empty) wave file for every name given, per language.
    QString makeSounds(const QString& language, const QStringList& names) {
        const QString base = root.filePath(QStringLiteral("snd"));
        const QString folder = base + QStringLiteral("/TOV2SF/Sound/") + language;
        QDir().mkpath(folder);
        for (const QString& n : names) {
            writeAll(folder + QLatin1Char('/') + n, QByteArray("RIFF"));
        }
        state().setSoundPath(base);
        return folder + QLatin1Char('/');
    }

    // The presentation screen with its questions open, shown and waiting on the client.
    std::unique_ptr<testing::frmPresentQA> present(const QString& language) {
        auto screen = std::make_unique<testing::frmPresentQA>(program->context(), &menu());
        screen->setLanguage(language);
        if (!screen->OpenQuestions() || !showScreen(screen.get())) {
            return nullptr;
        }
        return screen;
    }

    bool started = false;
};

// The client reads both instruction screens and arrives at item 1.
inline void passInstructions(testing::frmPresentQA* screen) {
    QVERIFY(screen->txtInstructions()->hasFocus());
    press(Qt::Key_Return);
    QVERIFY(screen->txtInstructions()->hasFocus());
    press(Qt::Key_Return);
    QVERIFY(screen->txtQuestion()->hasFocus());
}

// Answers the item shown with the answer at that position (1 = first), from the question box.
inline void answerItem(testing::frmPresentQA* screen, int code) {
    QVERIFY2(screen->txtQuestion()->hasFocus(),
             qPrintable(QStringLiteral("item %1: the question box has not the focus")
                            .arg(screen->ItemNumber())));
    for (int i = 0; i < code; ++i) {
        press(Qt::Key_Down);
    }
    QVERIFY(screen->kit()->cmdMenuChoice(code - 1)->hasFocus());
    press(Qt::Key_Return);
}

// Answers items from the one shown up to the last given; section 2 instructions are passed on
// the way.
inline void answerItems(testing::frmPresentQA* screen, const QString& codes, int first) {
    for (int n = first; n < first + codes.size(); ++n) {
        if (screen->txtInstructions()->hasFocus()) {
            press(Qt::Key_Return);
        }
        QCOMPARE(screen->ItemNumber(), n);
        answerItem(screen, codes.at(n - first).digitValue());
        if (QTest::currentTestFailed()) {
            return;
        }
    }
}

// 67 True/False answers and 6 multiple-choice ones, with every answer position used.
inline QString sampleResponses() {
    QString codes;
    for (int n = 1; n <= 67; ++n) {
        codes += n % 3 == 0 ? QLatin1Char('1') : QLatin1Char('2');
    }
    return codes + QStringLiteral("123443");
}

} // namespace tov::fakes
