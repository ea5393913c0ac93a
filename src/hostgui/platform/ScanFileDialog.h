#pragma once

#include "platform/ImageFileScanner.h"

namespace tov::platform {

// The operator's choice of a scanned page file, in a file dialog worked from the keyboard (type
// or pick a name, Enter), opening in the folder given or, after the first choice, in the folder
// of the file chosen last.
ImageFileScanner::PickFile ScanFileDialog(const QString& startFolder);

} // namespace tov::platform
