// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class Canvas;
class PlotRecorder;
class SettingsStore;
class StepPacer;
struct Scene;

// What the completion takes over from the sweep: Thickness one past the last step, and
// the row of the back surface one step before the last.
struct SweepEnd {
    int Thickness = 0;
    double PrevBackY = 0;
};

// Thickness 0 to 300, one step each; each step is shown and paced before the next. Every
// point plotted is told to the recorder.
SweepEnd runSweep(const Scene &scene, const SettingsStore &settings, Canvas &canvas,
                  StepPacer &pacer, PlotRecorder &plots);
