#pragma once

namespace tov::platform {

// The program's error number for a system errno, as the file messages show it.
int errorNumberFor(int errnoValue);

} // namespace tov::platform
