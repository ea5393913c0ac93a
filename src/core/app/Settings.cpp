#include "app/Settings.h"

#include "platform/AppError.h"
#include "platform/RegularFile.h"

#include <QDir>
#include <QSaveFile>

namespace tov::app {

namespace {
// Trims spaces only, as the settings values are stored.
QString trimSpaces(const QString& s) {
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && s[b] == QLatin1Char(' ')) {
        ++b;
    }
    while (e > b && s[e - 1] == QLatin1Char(' ')) {
        --e;
    }
    return s.mid(b, e - b);
}
} // namespace

Settings::Settings(const QString& programFolder)
    : programFolder_(programFolder), file_(programFolder + QLatin1Char('/') + FileName) {}

QString Settings::FilePath() const {
    return trimSpaces(file_.read(QStringLiteral("Path"), QStringLiteral("FilePath"),
                                 QStringLiteral("a:"), PathBuffer));
}

void Settings::setFilePath(const QString& folder) const {
    file_.write(QStringLiteral("Path"), QStringLiteral("FilePath"), folder);
}

QString Settings::GetINISndPath() const {
    return trimSpaces(file_.read(QStringLiteral("Path"), QStringLiteral("SndPath"),
                                 QStringLiteral("c:"), PathBuffer));
}

bool Settings::NumLock() const {
    return file_
        .read(QStringLiteral("Settings"), QStringLiteral("NumLock"), QStringLiteral("True"), 10)
        .startsWith(QLatin1String("Tru"), Qt::CaseSensitive);
}

void Settings::setNumLock(bool on) const {
    file_.write(QStringLiteral("Settings"), QStringLiteral("NumLock"),
                on ? QStringLiteral("True") : QStringLiteral("False"));
}

QString Settings::SystemDB() const {
    return file_.read(QStringLiteral("Options"), QStringLiteral("SystemDB"), QString(), PathBuffer);
}

void Settings::setSystemDB(const QString& path) const {
    file_.write(QStringLiteral("Options"), QStringLiteral("SystemDB"), path);
}

Publisher Settings::publisher() const {
    const QString name = file_.read(QStringLiteral("Settings"), QStringLiteral("Publisher"),
                                    QStringLiteral("Quillmark"), 20);
    return name.trimmed().compare(QLatin1String("Tessaran"), Qt::CaseInsensitive) == 0
               ? Publisher::Tessaran
               : Publisher::Quillmark;
}

ScanSource Settings::scanSource() const {
    const QString name = file_.read(QStringLiteral("Settings"), QStringLiteral("ScanSource"),
                                    QStringLiteral("SANE"), 20);
    return name.trimmed().compare(QLatin1String("File"), Qt::CaseInsensitive) == 0
               ? ScanSource::ImageFile
               : ScanSource::Sane;
}

QString Settings::scanDevice() const {
    return file_
        .read(QStringLiteral("Settings"), QStringLiteral("ScanDevice"), QString(), PathBuffer)
        .trimmed();
}

QString Settings::scanFolder() const {
    return resolve(
        file_.read(QStringLiteral("Settings"), QStringLiteral("ScanFolder"), QString(), PathBuffer)
            .trimmed());
}

bool Settings::scanTrace() const {
    return file_
        .read(QStringLiteral("Settings"), QStringLiteral("ScanTrace"), QStringLiteral("False"), 10)
        .startsWith(QLatin1String("Tru"), Qt::CaseSensitive);
}

QString Settings::accessCode() const {
    return file_.read(QStringLiteral("Settings"), QStringLiteral("AccessCode"), QString(), 256)
        .trimmed();
}

void Settings::setAccessCode(const QString& stored) const {
    file_.write(QStringLiteral("Settings"), QStringLiteral("AccessCode"), stored);
}

QString Settings::contentFolder() const {
    const QString folder =
        file_.read(QStringLiteral("Path"), QStringLiteral("ContentFolder"), QString(), PathBuffer)
            .trimmed();
    return folder.isEmpty() ? QStringLiteral("/var/lib/tov2sf/content") : resolve(folder);
}

bool Settings::accessCodeRequired() const {
    return file_
        .read(QStringLiteral("Settings"), QStringLiteral("AccessCodeRequired"),
              QStringLiteral("False"), 10)
        .startsWith(QLatin1String("Tru"), Qt::CaseSensitive);
}

int Settings::wrongAccessCodes() const {
    bool ok = false;
    const int count =
        file_.read(QStringLiteral("Settings"), QStringLiteral("WrongAccessCodes"), QString(), 10)
            .trimmed()
            .toInt(&ok);
    return ok && count > 0 ? count : 0;
}

void Settings::setWrongAccessCodes(int count) const {
    file_.write(QStringLiteral("Settings"), QStringLiteral("WrongAccessCodes"),
                QString::number(count));
}

QByteArray Settings::snapshot() const {
    try {
        return platform::ReadRegularFile(path(), platform::MaxSettingsBytes);
    } catch (const AppError&) {
        return {};
    }
}

void Settings::restore(const QByteArray& bytes) const {
    // As every write of the settings: a new file renamed over the old one, never half a file.
    QSaveFile out(path());
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        throw AppError(err::PathFileAccess,
                       QStringLiteral("Cannot write %1: %2").arg(path(), out.errorString()));
    }
}

QString Settings::resolve(const QString& folder) const {
    if (folder.isEmpty() || !QDir::isRelativePath(folder)) {
        return folder;
    }
    return QDir::cleanPath(programFolder_ + QLatin1Char('/') + folder);
}

} // namespace tov::app
