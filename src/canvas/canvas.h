// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "strokecolour.h"

#include <QSize>

// The picture a run draws covers this many pixels, and the window's client area has this
// size, so that all of it is seen. The run lays it out from these numbers and never scales
// it to the window.
inline constexpr int PictureWidth = 800;
inline constexpr int PictureHeight = 581;
inline constexpr QSize PictureSize{PictureWidth, PictureHeight};

// The drawing operations a run uses. Positions are pixels of the window's client area;
// the pen width (1 to 3) holds until it is set again.
class Canvas
{
public:
    virtual ~Canvas() = default;

    virtual void setPenWidth(int width) = 0;

    // The run computes in double precision and hands positions on as single-precision
    // reals; this is the one place where they are narrowed.
    void line(double x1, double y1, double x2, double y2,
              StrokeColour colour = StrokeColour::fore())
    {
        drawLine(float(x1), float(y1), float(x2), float(y2), colour);
    }
    void circle(double x, double y, double radius, StrokeColour colour = StrokeColour::fore())
    {
        drawCircle(float(x), float(y), float(radius), colour);
    }

protected:
    virtual void drawLine(float x1, float y1, float x2, float y2, StrokeColour colour) = 0;
    virtual void drawCircle(float x, float y, float radius, StrokeColour colour) = 0;
};
