#pragma once

#include "platform/DriveList.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QLabel;
class QPushButton;

namespace tov::platform {
class MessageBoxes;
}

namespace tov::app {

// The dialog that asks which drive holds the data volume. NewDrive is the last drive chosen in
// the list, empty when the operator never changed the selection.
class frmDriveSelect : public QDialog {
    Q_OBJECT
public:
    static inline const QString OtherFolder = QStringLiteral("Other folder...");

    frmDriveSelect(const QList<platform::Drive>& drives, const QString& current,
                   platform::MessageBoxes& boxes, QWidget* parent = nullptr);

    const QString& NewDrive() const { return newDrive_; }
    // Asks for a folder that is not in the list; the default shows a folder dialog.
    void setFolderPicker(std::function<QString()> picker) { pickFolder_ = std::move(picker); }

    QComboBox* drDrive() const { return drDrive_; }
    QPushButton* cmdhelp() const { return cmdhelp_; }
    QPushButton* cmdDone() const { return cmdDone_; }

    static QString helpText();

private:
    void drDrive_Change(int index);

    platform::MessageBoxes& boxes_;
    QString newDrive_;
    QComboBox* drDrive_;
    QPushButton* cmdhelp_;
    QPushButton* cmdDone_;
    std::function<QString()> pickFolder_;
    int lastIndex_ = 0;
};

} // namespace tov::app
