// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The window's zoom: from 1 to 4 in quarter steps, so that the window's layout, laid out
// on a grid of 4 pixels, lands on whole device pixels at every step.
namespace ZoomRange {
inline constexpr double Smallest = 1;
inline constexpr double Step = 0.25;
inline constexpr double Largest = 4;
} // namespace ZoomRange
