// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The slow-down factor's range, the scroll bar's: 1 is the fastest, 30 the slowest.
namespace SlowDown {
inline constexpr int Fastest = 1;
inline constexpr int Slowest = 30;
} // namespace SlowDown
