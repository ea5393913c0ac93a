#pragma once

namespace tov::records {

// The test's items: the first section true/false, the second with up to five answers. Every
// count and boundary of items in the program comes from here.
inline constexpr int kItemCount = 73;
inline constexpr int kTrueFalseItems = 67;

} // namespace tov::records
