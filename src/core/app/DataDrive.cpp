#include "app/DataDrive.h"

#include "app/ProgramState.h"
#include "platform/AppError.h"
#include "platform/FileSystem.h"
#include "platform/MessageBoxes.h"
#include "platform/VolumeIdentity.h"
#include "platform/VolumeLock.h"

namespace tov::app {

using platform::MessageBoxes;
using Answer = MessageBoxes::Answer;
using Buttons = MessageBoxes::Buttons;
using Icon = MessageBoxes::Icon;

namespace {

const QString kWriteTestFile = QStringLiteral("checkWriteTest");
const QString CR = QStringLiteral("\r");

// A drive letter is named in capitals ("A:"); a folder path keeps its letters, since on this
// system "/media/Usb" and "/MEDIA/USB" are different places.
QString driveName(const QString& candidate) {
    const bool driveLetter = candidate.size() >= 2 && candidate[0].isLetter() &&
                             candidate[1] == QLatin1Char(':') &&
                             !candidate.contains(QLatin1Char('/'));
    return driveLetter ? candidate.toUpper() : candidate;
}

bool isNotFound(int number) {
    switch (number) {
    case err::BadFileName:
    case err::FileNotFound:
    case err::DeviceIo:
    case err::DriveNotReady:
    case err::PathNotFound:
    case err::DbFileNotFound:
    case err::DbInvalidPath:
    case err::DbCannotOpen:
        return true;
    default:
        return false;
    }
}

const QString kExitAdvice =
    QStringLiteral("If you wish to change test programs or data disks, you must first exit the "
                   "program currently running on your computer.  To exit the program, select the "
                   "Exit Application option on the Main Menu.  Wait for the disk drive light to "
                   "turn off, then change data disks and start the new program.");

} // namespace

DataDrive::DataDrive(ProgramState& state, Services services)
    : state_(state), services_(std::move(services)) {}

QString DataDrive::dataDiskChangedText() {
    return QStringLiteral("Original data disk not found!") + CR + CR +
           QStringLiteral("The data disk used when the program was started is no longer in the "
                          "floppy drive.") +
           CR + CR +
           QStringLiteral("It is VERY important that the data disk not be removed or changed "
                          "while the program is running.  Corruption of the client database "
                          "may occur, possibly making the data disk unusable.") +
           CR + CR + kExitAdvice + CR + CR +
           QStringLiteral("Please re-insert the original data disk and click OK.");
}

QString DataDrive::dataDiskNotFoundText() {
    return QStringLiteral("Original data disk still not found!") + CR + CR +
           QStringLiteral("The data disk used when the program was started is not in the floppy "
                          "drive.") +
           CR + CR +
           QStringLiteral("The test program must be closed and re-opened to use a different data "
                          "disk.") +
           CR + CR + kExitAdvice + CR + CR +
           QStringLiteral("This test program will now shut down.");
}

QString DataDrive::writeProtectedText() {
    return QStringLiteral("Data disk write protected!") + CR + CR +
           QStringLiteral("Set the data disk to writable and replace in drive.");
}

QString DataDrive::inUseText(const QString& user, const QString& host) {
    const QString who = user.isEmpty() ? QStringLiteral("another user") : user;
    const QString where = host.isEmpty() ? QStringLiteral("another computer") : host;
    return QStringLiteral("Data disk in use!") + CR + CR +
           QStringLiteral("The data disk is open in the test program of %1 on %2. Only one "
                          "program at a time may use a data disk.")
               .arg(who, where) +
           CR + CR +
           QStringLiteral("Ask for that program to be closed, then click Retry, or click Cancel "
                          "to choose another data disk.");
}

QString DataDrive::fullText() {
    return QStringLiteral("Data disk full!") + CR + CR +
           QStringLiteral("Clients can be viewed and printed, but nothing can be saved on this "
                          "data disk until room is made on it.");
}

bool DataDrive::SelectDataDrive(bool startupMode) {
    const QString fallback = state_.DataPath();
    bool useStored = startupMode;
    for (;;) {
        QString candidate = useStored ? state_.settings().FilePath() : QString();
        // A new installation names no data volume yet: the operator chooses one.
        if (candidate.isEmpty()) {
            candidate = services_.chooseDrive();
        }
        useStored = false;
        const Outcome outcome = tryCandidate(candidate, startupMode);
        if (outcome == Outcome::Accepted) {
            return true;
        }
        if (outcome == Outcome::GiveUp) {
            break;
        }
    }
    if (startupMode) {
        state_.endProgram();
        return false;
    }
    try {
        OpenDataDisk(fallback);
        if (services_.refreshClientList) {
            services_.refreshClientList();
        }
        return true;
    } catch (const AppError&) {
        services_.boxes.show(
            QStringLiteral("Reload of original data disk failed, aborting Program"), Buttons::Ok,
            Icon::None, QString());
        state_.endProgram();
        return false;
    }
}

DataDrive::Outcome DataDrive::tryCandidate(const QString& candidate, bool startupMode) {
    // Steps of the check; a failed step is the one repeated when the operator asks to retry.
    enum Step { Probe, Open, Accept, Done };
    const QString folder = state_.settings().resolve(candidate);
    int step = Probe;
    while (step != Done) {
        try {
            switch (step) {
            case Probe:
                if (candidate.isEmpty()) {
                    throw AppError(err::BadFileName, QStringLiteral("Bad file name or number"));
                }
                services_.fs.probeRead(records::ClientTable::filePathFor(folder));
                step = Open;
                break;
            case Open:
                OpenDataDisk(folder);
                step = Accept;
                break;
            case Accept:
                state_.settings().setFilePath(candidate);
                state_.setStartupDiskId(ReadDiskIdentity());
                state_.clients().LoadClientFile(folder);
                if (!startupMode && services_.refreshClientList) {
                    services_.refreshClientList();
                }
                if (full_) {
                    services_.boxes.show(fullText(), Buttons::Ok, Icon::Error,
                                         QStringLiteral("Data Disk Full"));
                }
                step = Done;
                break;
            }
        } catch (const AppError& e) {
            if (e.number() == err::VolumeInUse) {
                const Answer a =
                    services_.boxes.show(e.description(), Buttons::RetryCancel, Icon::Error,
                                         QStringLiteral("Data Disk In Use"));
                if (a == Answer::Retry) {
                    continue; // the same step again
                }
                return Outcome::Another;
            }
            if (isNotFound(e.number())) {
                const Answer a = services_.boxes.show(
                    QStringLiteral("No test information found on drive ") + driveName(candidate) +
                        QStringLiteral(", would you like to try another drive?"),
                    Buttons::YesNo, Icon::None, QString());
                return a == Answer::Yes ? Outcome::Another : Outcome::GiveUp;
            }
            if (e.number() == err::PermissionDenied) {
                const Answer a =
                    services_.boxes.show(writeProtectedText(), Buttons::OkCancel, Icon::Error,
                                         QStringLiteral("Data Disk Error"));
                if (a == Answer::Ok) {
                    continue; // the same step again
                }
                return Outcome::GiveUp;
            }
            if (e.number() == err::TooManyClients) {
                const Answer a = services_.boxes.show(
                    e.description() + CR + CR +
                        QStringLiteral("Would you like to try another drive?"),
                    Buttons::YesNo, Icon::Error, QStringLiteral("Data Disk Error"));
                return a == Answer::Yes ? Outcome::Another : Outcome::GiveUp;
            }
            platform::showAppError(services_.boxes, e, QString(), Icon::None);
            return Outcome::GiveUp;
        }
    }
    return Outcome::Accepted;
}

void DataDrive::OpenDataDisk(const QString& folder) {
    // Locked first: a second program must not even create the client file.
    platform::LockHolder holder;
    full_ = false;
    switch (services_.lock.take(folder, holder)) {
    case platform::VolumeLock::Result::Taken:
        break;
    case platform::VolumeLock::Result::HeldByOther:
        throw AppError(err::VolumeInUse, inUseText(holder.user, holder.host));
    case platform::VolumeLock::Result::ReadOnly:
        throw AppError(err::PermissionDenied, QStringLiteral("Permission denied"));
    case platform::VolumeLock::Result::NoRoom:
        // Not even a lock fits: nothing can be written, so nothing needs guarding.
        full_ = true;
        break;
    }
    state_.setDataPath(folder);
    state_.clients().LoadClientFile(folder);
    const QString testFile = folder + QLatin1Char('/') + kWriteTestFile;
    if (services_.fs.exists(testFile)) {
        services_.fs.remove(testFile);
    }
    try {
        services_.fs.writeNew(testFile, QByteArrayLiteral("test\n"));
    } catch (const AppError& e) {
        // A test file the write created before failing is not left on the volume.
        try {
            services_.fs.remove(testFile);
        } catch (const AppError&) {
            // Nothing was created (a write-protected volume) or the volume is gone.
        }
        if (e.number() != err::DiskFull) {
            throw;
        }
        full_ = true;
        return;
    }
    removeIfThere(testFile);
}

void DataDrive::removeIfThere(const QString& path) {
    // Removed without asking first: a failing look would leave the file behind for good.
    try {
        services_.fs.remove(path);
    } catch (const AppError& e) {
        if (e.number() != err::FileNotFound) {
            throw;
        }
    }
}

QString DataDrive::ReadDiskIdentity() {
    for (;;) {
        try {
            return services_.volumes.read(state_.DataPath()).trimmed();
        } catch (const AppError& e) {
            if (e.number() == err::DriveNotReady) {
                return {};
            }
            const Answer a = services_.boxes.show(
                QStringLiteral("Error #:%1 - %2").arg(e.number()).arg(e.description()),
                Buttons::RetryCancel, Icon::Error, QStringLiteral("Disk Serial Number Error"));
            if (a != Answer::Retry) {
                return {};
            }
        }
    }
}

int DataDrive::recordCountOnDisk() {
    try {
        return records::ClientTable::recordCountForLength(
            services_.fs.size(records::ClientTable::filePathFor(state_.DataPath())));
    } catch (const AppError&) {
        return -1; // no file: cannot match any count
    }
}

bool DataDrive::confirmSame(const std::function<bool()>& same) {
    if (same()) {
        return true;
    }
    services_.boxes.show(dataDiskChangedText(), Buttons::Ok, Icon::Error,
                         QStringLiteral("Data Disk Changed"));
    if (same()) {
        return true;
    }
    services_.boxes.show(dataDiskNotFoundText(), Buttons::Ok, Icon::Error,
                         QStringLiteral("Data Disk Not Found"));
    state_.endProgram();
    return false;
}

bool DataDrive::CheckDataDisk() {
    if (state_.ending()) {
        return false;
    }
    return confirmSame([this] { return ReadDiskIdentity() == state_.StartupDiskId(); }) &&
           confirmSame([this] { return recordCountOnDisk() == state_.clients().ClientCount(); });
}

} // namespace tov::app
