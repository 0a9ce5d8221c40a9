// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QImage>
#include <QRect>

// The 16 x 143 picture with the words "thickness of the glass" that stands beside the
// sheet at the end of a run. At a device pixel ratio of 1 a fixed bitmap, so it is the same
// on every machine; at a higher one the words are drawn at that resolution in the same
// two colours, covering exactly the device pixels that filling `place` on the canvas does.
QImage thicknessPicture(const QRect &place, qreal devicePixelRatio);
