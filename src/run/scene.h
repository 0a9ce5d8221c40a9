// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "canvas/canvas.h"

class SettingsStore;

// Where everything of a run's picture lies, in canvas pixels. Computed afresh by every run
// from fixed layout constants and three settings; never scaled to the window.
struct Scene {
    // The picture's area, which the run start wipes too.
    static constexpr double AreaWidth = PictureWidth;
    static constexpr double AreaHeight = PictureHeight;
    // The two settings the geometry below follows, as read for this run.
    double RelativeFrequency = 1;
    double RelativeLength = 1;
    // The back arrow's turn per pixel of thickness, in radians.
    double PhaseStep = 0;
    double FrontArrowLength = 50;
    double BackArrowLength = 0;
    double DialX = 0;
    double DialY = 0;
    double GraphLeft = 0;
    double GraphTop = 0;
    double GraphBottom = 0;
    double GraphRight = 0;
    double SheetLeft = 30;
    double SheetRight = 0;
    double FrontY = 0;
    double SourceX = 0;
    double SourceY = 0;
    double DetectorX = 0;
    double DetectorY = 0;
    double ReflectX = 0;

    static Scene compute(double relativeFrequency, double relativeLength, double sourceShift);
    // Reads relative frequency, relative length and source shift, in that order. A text
    // that is no number counts as that setting's start-up value.
    static Scene fromSettings(const SettingsStore &settings);
};

// The ten strokes every run draws once before the sweep: axes, dial, front arrow at
// rest, front surface, source and detector, the incoming front path, reference lines.
void drawStaticScene(const Scene &scene, Canvas &canvas);
