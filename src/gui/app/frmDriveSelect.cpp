#include "app/frmDriveSelect.h"

#include "platform/MessageBoxes.h"
#include "ui/Geometry.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tov::app {

frmDriveSelect::frmDriveSelect(const QList<platform::Drive>& drives, const QString& current,
                               platform::MessageBoxes& boxes, QWidget* parent)
    : QDialog(parent), boxes_(boxes), drDrive_(new QComboBox(this)),
      cmdhelp_(new QPushButton(QStringLiteral("Help"), this)),
      cmdDone_(new QPushButton(QStringLiteral("Done"), this)) {
    setObjectName(QStringLiteral("frmDriveSelect"));
    setWindowTitle(QStringLiteral("Select Drive"));
    setModal(true);

    auto* label1 = new QLabel(
        QStringLiteral(" Choose the drive associated with the data disk. (Usually A: or F:)"),
        this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setMinimumWidth(label1->sizeHint().width());

    drDrive_->setObjectName(QStringLiteral("drDrive"));
    drDrive_->setMinimumWidth(ui::twips(5400));
    // A folder may be as long as the system allows: the list keeps the dialog's width and shows
    // a long one cut in the middle, whole in its tip.
    drDrive_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    drDrive_->setMinimumContentsLength(48);
    drDrive_->view()->setTextElideMode(Qt::ElideMiddle);
    int initial = 0;
    for (const platform::Drive& d : drives) {
        drDrive_->addItem(d.label, d.path);
        drDrive_->setItemData(drDrive_->count() - 1, d.label, Qt::ToolTipRole);
        if (!current.isEmpty() && QDir::cleanPath(d.path) == QDir::cleanPath(current)) {
            initial = drDrive_->count() - 1;
        }
    }
    drDrive_->addItem(OtherFolder);
    drDrive_->setCurrentIndex(initial);
    lastIndex_ = initial;
    connect(drDrive_, &QComboBox::activated, this, &frmDriveSelect::drDrive_Change);

    cmdhelp_->setObjectName(QStringLiteral("cmdhelp"));
    cmdhelp_->setAutoDefault(false);
    cmdDone_->setObjectName(QStringLiteral("cmdDone"));
    cmdDone_->setDefault(true);
    connect(cmdhelp_, &QPushButton::clicked, this, [this] {
        boxes_.show(helpText(), platform::MessageBoxes::Buttons::Ok,
                    platform::MessageBoxes::Icon::None, QString());
    });
    connect(cmdDone_, &QPushButton::clicked, this, &QDialog::accept);

    pickFolder_ = [this] {
        return QFileDialog::getExistingDirectory(this, QStringLiteral("Data Folder"));
    };

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdhelp_);
    buttons->addWidget(cmdDone_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(ui::twips(240), ui::twips(240), ui::twips(240), ui::twips(240));
    layout->setSpacing(ui::twips(180));
    layout->addWidget(label1);
    layout->addWidget(drDrive_);
    layout->addLayout(buttons);
    drDrive_->setFocus();
}

QString frmDriveSelect::helpText() {
    return QStringLiteral("Use the dropdown box to select the drive that the floppy data \r\n"
                          "diskette or USB Flash Drive is in. Floppy drives are usually A: or\r\n"
                          "B: and USB drives are usually F: or G:");
}

void frmDriveSelect::drDrive_Change(int index) {
    if (drDrive_->itemText(index) == OtherFolder && !drDrive_->itemData(index).isValid()) {
        const QString folder = pickFolder_ ? pickFolder_() : QString();
        if (folder.isEmpty()) {
            drDrive_->setCurrentIndex(lastIndex_);
            return;
        }
        drDrive_->insertItem(index, QDir::toNativeSeparators(folder), folder);
        drDrive_->setItemData(index, QDir::toNativeSeparators(folder), Qt::ToolTipRole);
        drDrive_->setCurrentIndex(index);
    }
    lastIndex_ = drDrive_->currentIndex();
    newDrive_ = drDrive_->currentData().toString();
}

} // namespace tov::app
