#pragma once

#include "platform/AppError.h"
#include "platform/Printer.h"
#include "support/ProgramRig.h"

#include <QDir>
#include <QFile>
#include <QList>

namespace tov::fakes {

// A program whose folder holds the scoring tables and texts, with the clients given; with
// `demonstration`, the build's manifest too, which names them demonstration content.
struct ReportRig : ProgramRig {
    explicit ReportRig(const QStringList& clients, bool demonstration = false)
        : ProgramRig(clients) {
        const QDir built(qEnvironmentVariable("TOV_PROGRAM_DIR"));
        QStringList names = built.entryList({QStringLiteral("*.TXT")}, QDir::Files);
        if (demonstration) {
            names << QStringLiteral("content.json");
        }
        for (const QString& name : names) {
            QFile::copy(built.filePath(name), QDir(programDir).filePath(name));
        }
        started = program->start();
    }
    QString programFile(const QString& name) const { return QDir(programDir).filePath(name); }
    bool started = false;
    // The printer the program prints on.
    FakePrinter& printer = *fakePrinter;
};

} // namespace tov::fakes
