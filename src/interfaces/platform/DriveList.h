#pragma once

#include <QList>
#include <QString>

namespace tov::platform {

// A place the data volume can be: a mounted volume or a folder.
struct Drive {
    QString path;  // the candidate used for file names
    QString label; // how the drive list shows it
    bool removable = false;
};

class DriveList {
public:
    virtual ~DriveList() = default;
    // The drives of the computer, removable ones first.
    virtual QList<Drive> drives() = 0;
};

} // namespace tov::platform
