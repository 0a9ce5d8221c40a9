#pragma once

// The slow-down factor's range, the scroll bar's: 1 is the fastest, 30 the slowest.
namespace SlowDown {
inline constexpr int Fastest = 1;
inline constexpr int Slowest = 30;
} // namespace SlowDown
