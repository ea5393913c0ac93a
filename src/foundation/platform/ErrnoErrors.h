#pragma once

#include "platform/AppError.h"

#include <QString>

namespace tov::platform {

// The program's error number for a system errno, as the file messages show it.
int errorNumberFor(int errnoValue);
// The words the file messages give an error number; a number the messages have no words for
// takes the system's words for errnoValue.
QString errorTextFor(int number, int errnoValue);
// The error a failed system call reports; `what` (a path, say), when given, follows the words
// in parentheses.
AppError errnoError(int errnoValue, const QString& what = {});

} // namespace tov::platform
