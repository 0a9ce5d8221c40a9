// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class Canvas;
class PlotRecorder;
class RunEndView;
class SettingsStore;
class StepPacer;
class YesNoQuestion;

// Everything one press of Start does, from the question to the labels, synchronously. What
// it plots is also told to the plot recorder.
class ReflectionRun
{
public:
    ReflectionRun(SettingsStore &settings, Canvas &canvas, YesNoQuestion &question,
                  StepPacer &pacer, RunEndView &view, PlotRecorder &plots);

    void run();

private:
    SettingsStore &m_settings;
    Canvas &m_canvas;
    YesNoQuestion &m_question;
    StepPacer &m_pacer;
    RunEndView &m_view;
    PlotRecorder &m_plots;
};
