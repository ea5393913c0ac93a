#pragma once

namespace tov::records {

// True when low <= value <= high, both ends included.
template <typename T> constexpr bool InRange(T value, T low, T high) {
    return low <= value && value <= high;
}

} // namespace tov::records
