#include "platform/ScanFileDialog.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include <memory>

namespace tov::platform {

ImageFileScanner::PickFile ScanFileDialog(const QString& startFolder) {
    auto folder = std::make_shared<QString>(startFolder.isEmpty() ? QDir::homePath() : startFolder);
    return [folder]() -> QString {
        // The scan runs under the hourglass; the choice needs the ordinary pointer.
        int hourglasses = 0;
        while (QApplication::overrideCursor() != nullptr) {
            QApplication::restoreOverrideCursor();
            ++hourglasses;
        }
        QFileDialog dialog(QApplication::activeWindow(),
                           QStringLiteral("Open Scanned Answer Sheet"), *folder,
                           QStringLiteral("Scanned pages (*.png *.jpg *.jpeg *.bmp *.tif *.tiff "
                                          "*.pdf *.PNG *.JPG *.JPEG *.BMP *.TIF *.TIFF *.PDF)"));
        dialog.setObjectName(QStringLiteral("dlgScanFile"));
        // The built-in dialog is the same on every desktop and starts in the file name box.
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        QString chosen;
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            chosen = dialog.selectedFiles().constFirst();
            *folder = QFileInfo(chosen).absolutePath();
        }
        for (int i = 0; i < hourglasses; ++i) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
        }
        return chosen;
    };
}

} // namespace tov::platform
