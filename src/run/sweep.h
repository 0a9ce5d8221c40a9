#pragma once

class Canvas;
class SettingsStore;
class StepPacer;
struct Scene;

// The back surface's row after the sweep and the one before it.
struct SweepEnd {
    int Thickness = 0;
    double BackY = 0;
    double PrevBackY = 0;
};

// One step of the sweep at the given thickness, without the wait.
void drawSweepStep(const Scene &scene, int thickness, const SettingsStore &settings,
                   Canvas &canvas);

// Thickness 0 to 300, one step each; each step is shown and paced before the next.
SweepEnd runSweep(const Scene &scene, const SettingsStore &settings, Canvas &canvas,
                  StepPacer &pacer);
