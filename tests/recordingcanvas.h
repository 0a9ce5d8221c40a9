// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "canvas/canvas.h"
#include "run/curvelog.h"
#include "run/runendview.h"
#include "run/steppacer.h"
#include "run/yesnoquestion.h"
#include "settings/memorysettingsstore.h"

#include <QMetaType>
#include <QString>

#include <functional>
#include <vector>

Q_DECLARE_METATYPE(StrokeColour)
Q_DECLARE_METATYPE(StateField)
Q_DECLARE_METATYPE(YesNoQuestion::Answer)

// One call a run made, as the tests compare them.
struct Call {
    enum class Kind { PenWidth, Line, Circle, Question, Step, Picture, Label };

    Kind kind = Kind::Line;
    float a = 0, b = 0, c = 0, d = 0;
    StrokeColour colour = StrokeColour::fore();
    int value = 0;
    QString text;

    static Call penWidth(int width)
    {
        Call call;
        call.kind = Kind::PenWidth;
        call.value = width;
        return call;
    }
    static Call line(double x1, double y1, double x2, double y2,
                     StrokeColour colour = StrokeColour::fore())
    {
        return {Kind::Line, float(x1), float(y1), float(x2), float(y2), colour, 0, {}};
    }
    static Call circle(double x, double y, double radius,
                       StrokeColour colour = StrokeColour::fore())
    {
        return {Kind::Circle, float(x), float(y), float(radius), 0, colour, 0, {}};
    }

    bool operator==(const Call &other) const
    {
        return kind == other.kind && a == other.a && b == other.b && c == other.c && d == other.d &&
               colour == other.colour && value == other.value && text == other.text;
    }
};

QString describe(const Call &call);

// Logs every call a run makes, in order: strokes, the question, step ends and the
// run-end items; the plotted points go to its curve log. Answers the question as told.
class RecordingCanvas : public Canvas,
                        public YesNoQuestion,
                        public StepPacer,
                        public RunEndView,
                        public CurveLog
{
public:
    void setPenWidth(int width) override { calls.push_back(Call::penWidth(width)); }
    void drawLine(float x1, float y1, float x2, float y2, StrokeColour colour) override
    {
        calls.push_back({Call::Kind::Line, x1, y1, x2, y2, colour, 0, {}});
    }
    void drawCircle(float x, float y, float radius, StrokeColour colour) override
    {
        calls.push_back({Call::Kind::Circle, x, y, radius, 0, colour, 0, {}});
    }
    Answer ask(const QString &text) override
    {
        Call call;
        call.kind = Call::Kind::Question;
        call.text = text;
        calls.push_back(call);
        return answer;
    }
    void stepDone(double delayCount) override
    {
        Call call;
        call.kind = Call::Kind::Step;
        call.a = float(delayCount);
        calls.push_back(call);
        delayCounts.push_back(delayCount);
        if (onStep)
            onStep(int(delayCounts.size()));
    }
    void showThicknessPicture() override
    {
        Call call;
        call.kind = Call::Kind::Picture;
        calls.push_back(call);
    }
    void showLabel(Label label, double left, double top) override
    {
        Call call;
        call.kind = Call::Kind::Label;
        call.value = int(label);
        call.a = float(left);
        call.b = float(top);
        calls.push_back(call);
    }

    std::vector<Call> calls;
    std::vector<double> delayCounts;
    Answer answer = Answer::Yes;
    std::function<void(int stepsDone)> onStep;
};
