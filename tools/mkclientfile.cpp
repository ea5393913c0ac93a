// Builds a client record file from its readable text source: blocks of "Field = value" lines,
// one block per client, written record by record through the program's own record code.
#include "platform/AppError.h"
#include "platform/PosixFileSystem.h"
#include "records/ClientTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>

#include <cstdio>
#include <optional>

using namespace tov;

namespace {

std::optional<records::Field> fieldNamed(const QString& name) {
    for (const auto& l : records::kLayout) {
        if (name == QLatin1String(l.name)) {
            return l.field;
        }
    }
    return std::nullopt;
}

int fail(const QString& text) {
    std::fprintf(stderr, "mkclientfile: %s\n", qPrintable(text));
    return 1;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        return fail(QStringLiteral("usage: mkclientfile SOURCE.txt DATA-FOLDER"));
    }
    QFile source(QString::fromLocal8Bit(argv[1]));
    if (!source.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return fail(QStringLiteral("cannot read %1").arg(source.fileName()));
    }
    const QString folder = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(folder);
    QFile::remove(records::ClientTable::filePathFor(folder));

    platform::PosixFileSystem fs;
    records::ClientTable table(fs);
    try {
        table.LoadClientFile(folder);
        QTextStream in(&source);
        in.setEncoding(QStringConverter::Utf8);
        std::optional<records::ClientRecord> record;
        int lineNo = 0;
        auto flush = [&] {
            if (record) {
                const int slot = table.ClientCount() + 1;
                table.Clients(slot) = *record;
                table.PutClientRecord(slot);
                record.reset();
            }
        };
        while (!in.atEnd()) {
            const QString line = in.readLine();
            ++lineNo;
            if (line.trimmed().isEmpty()) {
                flush();
                continue;
            }
            if (line.startsWith(QLatin1Char('#'))) {
                continue;
            }
            const qsizetype eq = line.indexOf(QLatin1Char('='));
            const auto field = eq < 0 ? std::nullopt : fieldNamed(line.left(eq).trimmed());
            if (!field) {
                return fail(QStringLiteral("%1:%2: not a \"Field = value\" line")
                                .arg(source.fileName())
                                .arg(lineNo));
            }
            if (!record) {
                record.emplace();
            }
            record->set(*field, line.mid(eq + 1).trimmed());
        }
        flush();
    } catch (const AppError& e) {
        return fail(e.description());
    }
    return 0;
}
