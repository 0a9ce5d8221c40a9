// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "reflectionrun.h"

#include "completion.h"
#include "plotrecorder.h"
#include "runstart.h"
#include "scene.h"
#include "sweep.h"

ReflectionRun::ReflectionRun(SettingsStore &settings, Canvas &canvas, YesNoQuestion &question,
                             StepPacer &pacer, RunEndView &view, PlotRecorder &plots)
    : m_settings(settings)
    , m_canvas(canvas)
    , m_question(question)
    , m_pacer(pacer)
    , m_view(view)
    , m_plots(plots)
{}

void ReflectionRun::run()
{
    m_plots.runBegins(startRun(m_settings, m_canvas, m_question));
    const Scene scene = Scene::fromSettings(m_settings);
    drawStaticScene(scene, m_canvas);
    const SweepEnd sweep = runSweep(scene, m_settings, m_canvas, m_pacer, m_plots);
    completeRun(scene, sweep, m_canvas, m_view);
}
