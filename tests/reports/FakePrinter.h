#pragma once

#include "platform/AppError.h"
#include "platform/Printer.h"
#include "platform/ProgramRig.h"

#include <QDir>
#include <QFile>
#include <QList>

namespace tov::fakes {

// Keeps every job it is given; set `failure` to make it refuse as a missing printer does.
class FakePrinter final : public platform::Printer {
public:
    void print(const platform::PrintJob& job) override {
        if (!failure.isEmpty()) {
            throw AppError(err::DriveNotReady, failure);
        }
        printed << job;
    }
    void printToPdf(const platform::PrintJob& job, const QString& path) override {
        pdfs << job;
        pdfPaths << path;
    }

    QList<platform::PrintJob> printed;
    QList<platform::PrintJob> pdfs;
    QStringList pdfPaths;
    QString failure;
};

// A program whose folder holds the scoring tables and texts, with the clients given.
struct ReportRig : ProgramRig {
    explicit ReportRig(const QStringList& clients) : ProgramRig(clients) {
        const QDir built(qEnvironmentVariable("TOV_PROGRAM_DIR"));
        for (const QString& name : built.entryList({QStringLiteral("*.TXT")}, QDir::Files)) {
            QFile::copy(built.filePath(name), QDir(programDir).filePath(name));
        }
        started = program->start();
    }
    QString programFile(const QString& name) const { return QDir(programDir).filePath(name); }
    bool started = false;
    FakePrinter printer;
};

} // namespace tov::fakes
