#include "app/frmDriveSelect.h"

#include "platform/AppError.h"
#include "platform/ConfidentialFile.h"
#include "platform/MessageBoxes.h"
#include "records/ClientTable.h"
#include "ui/Geometry.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tov::app {

namespace {
const QString CR = QStringLiteral("\r");
} // namespace

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
    int initial = -1;
    int firstRemovable = -1;
    for (const platform::Drive& d : drives) {
        drDrive_->addItem(d.label, d.path);
        const int index = drDrive_->count() - 1;
        drDrive_->setItemData(index, d.label, Qt::ToolTipRole);
        if (!current.isEmpty() && QDir::cleanPath(d.path) == QDir::cleanPath(current)) {
            initial = index;
        }
        if (d.removable && firstRemovable < 0) {
            firstRemovable = index;
        }
    }
    drDrive_->addItem(OtherFolder);
    drDrive_->addItem(NewVolume);
    // A volume in use that is a folder, not a drive of the list, is offered as it was chosen.
    if (initial < 0 && !current.isEmpty() && QFileInfo(current).isDir()) {
        initial = addFolder(QDir::cleanPath(current));
    }
    // A first start: the stick if there is one, else nothing, and Done waits for a choice.
    if (initial < 0) {
        initial = firstRemovable;
    }
    drDrive_->setPlaceholderText(
        QStringLiteral("Choose a drive, Other folder... or %1").arg(NewVolume));
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
    cmdDone_->setEnabled(initial >= 0);
    connect(drDrive_, &QComboBox::currentIndexChanged, this,
            [this](int index) { cmdDone_->setEnabled(index >= 0); });
    // What Done is pressed on is the choice, the drive the dialog started on included.
    connect(cmdDone_, &QPushButton::clicked, this, [this] {
        newDrive_ = drDrive_->currentData().toString();
        accept();
    });

    pickFolder_ = [this] {
        return QFileDialog::getExistingDirectory(this, QStringLiteral("Data Folder"));
    };
    pickNewFolder_ = [this] {
        return QFileDialog::getExistingDirectory(this, QStringLiteral("New Data Volume"),
                                                 QDir::homePath());
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

QString frmDriveSelect::newVolumeQuestion(const QString& folder) {
    return QStringLiteral("Make a new, empty data volume in this folder?") + CR + CR + folder + CR +
           CR +
           QStringLiteral("The program puts an empty client file (DATA401.TOV) there and opens "
                          "it. Clients added from now on are kept there.");
}

QString frmDriveSelect::volumeThereText(const QString& folder) {
    return QStringLiteral("This folder already holds a data volume:") + CR + CR + folder + CR + CR +
           QStringLiteral("Its client file (DATA401.TOV) is left as it is. To use it, choose "
                          "Other folder... and this folder. For a new data volume, choose or "
                          "make another folder.");
}

QString frmDriveSelect::newVolumeFailedText(const QString& folder, const AppError& e) {
    return QStringLiteral("No data volume could be made in this folder:") + CR + CR + folder + CR +
           CR + platform::ErrorText(e.number(), e.description());
}

int frmDriveSelect::addFolder(const QString& folder) {
    for (int i = 0; i < drDrive_->count() - 2; ++i) {
        if (QDir::cleanPath(drDrive_->itemData(i).toString()) == QDir::cleanPath(folder)) {
            return i;
        }
    }
    const int index = drDrive_->count() - 2;
    drDrive_->insertItem(index, QDir::toNativeSeparators(folder), folder);
    drDrive_->setItemData(index, QDir::toNativeSeparators(folder), Qt::ToolTipRole);
    return index;
}

QString frmDriveSelect::makeNewVolume() {
    using Buttons = platform::MessageBoxes::Buttons;
    using Icon = platform::MessageBoxes::Icon;
    const QString title = QStringLiteral("New Data Volume");
    QString folder = pickNewFolder_ ? pickNewFolder_() : QString();
    if (folder.isEmpty()) {
        return {};
    }
    const QString shown = QDir::toNativeSeparators(folder);
    const QString file = records::ClientTable::filePathFor(folder);
    const QFileInfo there(file);
    // Refused before the question: a client file already there is never made anew.
    if (there.exists() || there.isSymLink()) {
        boxes_.show(volumeThereText(shown), Buttons::Ok, Icon::Information, title);
        return {};
    }
    if (boxes_.show(newVolumeQuestion(shown), Buttons::YesNo, Icon::Question, title) !=
        platform::MessageBoxes::Answer::Yes) {
        return {};
    }
    try {
        // Made by this call or not at all: one put there meanwhile is left alone.
        if (!platform::CreateConfidentialFile(file)) {
            boxes_.show(volumeThereText(shown), Buttons::Ok, Icon::Information, title);
            return {};
        }
    } catch (const AppError& e) {
        boxes_.show(newVolumeFailedText(shown, e), Buttons::Ok, Icon::Error, title);
        return {};
    }
    return folder;
}

void frmDriveSelect::drDrive_Change(int index) {
    const bool fixedEntry = !drDrive_->itemData(index).isValid();
    if (fixedEntry && drDrive_->itemText(index) == NewVolume) {
        const QString folder = makeNewVolume();
        if (folder.isEmpty()) {
            drDrive_->setCurrentIndex(lastIndex_);
            return;
        }
        drDrive_->setCurrentIndex(addFolder(folder));
        lastIndex_ = drDrive_->currentIndex();
        newDrive_ = folder;
        accept();
        return;
    }
    if (fixedEntry && drDrive_->itemText(index) == OtherFolder) {
        const QString folder = pickFolder_ ? pickFolder_() : QString();
        if (folder.isEmpty()) {
            drDrive_->setCurrentIndex(lastIndex_);
            return;
        }
        drDrive_->setCurrentIndex(addFolder(folder));
    }
    lastIndex_ = drDrive_->currentIndex();
    newDrive_ = drDrive_->currentData().toString();
}

} // namespace tov::app
