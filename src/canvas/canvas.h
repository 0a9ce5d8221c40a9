#pragma once

#include "strokecolour.h"

// The drawing operations a run uses. Positions are pixels of the window's client area,
// as single-precision reals; the pen width (1 to 3) holds until it is set again.
class Canvas
{
public:
    virtual ~Canvas() = default;

    virtual void setPenWidth(int width) = 0;
    virtual void line(float x1, float y1, float x2, float y2,
                      StrokeColour colour = StrokeColour::fore()) = 0;
    virtual void circle(float x, float y, float radius,
                        StrokeColour colour = StrokeColour::fore()) = 0;
};
