#pragma once

#include "platform/DriveList.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QLabel;
class QPushButton;

namespace tov {
class AppError;
}
namespace tov::platform {
class MessageBoxes;
}

namespace tov::app {

// The dialog that asks which drive holds the data volume. It starts on the current volume when
// the list has it, else on the first removable one (a new user's stick), else on none: the
// system's own disk is never offered as the likely choice. NewDrive is the last drive chosen in
// the list, the one shown when Done is pressed; empty when none was. A new data volume made
// here is chosen at once.
class frmDriveSelect : public QDialog {
    Q_OBJECT
public:
    static inline const QString OtherFolder = QStringLiteral("Other folder...");
    static inline const QString NewVolume = QStringLiteral("New data volume...");

    frmDriveSelect(const QList<platform::Drive>& drives, const QString& current,
                   platform::MessageBoxes& boxes, QWidget* parent = nullptr);

    const QString& NewDrive() const { return newDrive_; }
    // Asks for a folder that is not in the list; the default shows a folder dialog.
    void setFolderPicker(std::function<QString()> picker) { pickFolder_ = std::move(picker); }
    // Asks for the folder of a new data volume; the default shows a folder dialog that can
    // make one.
    void setNewVolumePicker(std::function<QString()> picker) { pickNewFolder_ = std::move(picker); }

    QComboBox* drDrive() const { return drDrive_; }
    QPushButton* cmdhelp() const { return cmdhelp_; }
    QPushButton* cmdDone() const { return cmdDone_; }

    static QString helpText();
    static QString newVolumeQuestion(const QString& folder);
    static QString volumeThereText(const QString& folder);
    static QString newVolumeFailedText(const QString& folder, const AppError& e);

private:
    void drDrive_Change(int index);
    // The folder of a new, empty data volume made here; empty when none was made.
    QString makeNewVolume();
    // The folder's entry in the list, put in before the two last entries when it has none.
    int addFolder(const QString& folder);

    platform::MessageBoxes& boxes_;
    QString newDrive_;
    QComboBox* drDrive_;
    QPushButton* cmdhelp_;
    QPushButton* cmdDone_;
    std::function<QString()> pickFolder_;
    std::function<QString()> pickNewFolder_;
    int lastIndex_ = 0;
};

} // namespace tov::app
