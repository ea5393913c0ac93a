#include "platform/MountedDriveList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>

namespace tov::platform {

namespace {

bool isPseudo(const QStorageInfo& volume) {
    static const QList<QByteArray> pseudo = {
        "proc",    "sysfs",     "devtmpfs",    "devpts",  "cgroup",   "cgroup2", "securityfs",
        "debugfs", "tracefs",   "mqueue",      "pstore",  "bpf",      "autofs",  "configfs",
        "fusectl", "hugetlbfs", "binfmt_misc", "overlay", "squashfs", "nsfs"};
    const QString root = volume.rootPath();
    return pseudo.contains(volume.fileSystemType()) || root.startsWith(QLatin1String("/proc")) ||
           root.startsWith(QLatin1String("/sys")) || root.startsWith(QLatin1String("/dev")) ||
           root == QLatin1String("/run") || root.startsWith(QLatin1String("/run/user")) ||
           root.startsWith(QLatin1String("/boot")) || root == QLatin1String("/etc/hosts") ||
           root == QLatin1String("/etc/hostname") || root == QLatin1String("/etc/resolv.conf");
}

// /sys/block/sdb/removable for /dev/sdb1.
bool isRemovable(const QByteArray& device) {
    QString name = QFileInfo(QFile::decodeName(device)).canonicalFilePath();
    if (!name.startsWith(QLatin1String("/dev/"))) {
        return false;
    }
    name = name.mid(5);
    for (QString disk = name; !disk.isEmpty(); disk.chop(1)) {
        QFile flag(QStringLiteral("/sys/block/%1/removable").arg(disk));
        if (flag.open(QIODevice::ReadOnly)) {
            return flag.readAll().trimmed() == "1";
        }
    }
    return false;
}

} // namespace

QList<Drive> MountedDriveList::drives() {
    QList<Drive> result;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady() || isPseudo(volume)) {
            continue;
        }
        Drive drive;
        drive.path = volume.rootPath();
        drive.removable = isRemovable(volume.device());
        const QString name = volume.displayName();
        drive.label = name == drive.path
                          ? drive.path
                          : drive.path + QStringLiteral("  [") + name + QLatin1Char(']');
        result.append(drive);
    }
    std::stable_sort(result.begin(), result.end(),
                     [](const Drive& a, const Drive& b) { return a.removable && !b.removable; });
    return result;
}

} // namespace tov::platform
