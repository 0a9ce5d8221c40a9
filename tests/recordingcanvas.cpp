// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "recordingcanvas.h"

QString describe(const Call &call)
{
    const auto colour = [&] {
        switch (call.colour.kind()) {
        case StrokeColour::Kind::Fore:
            return QStringLiteral("fore");
        case StrokeColour::Kind::InactiveBorder:
            return QStringLiteral("inactive border");
        case StrokeColour::Kind::ButtonFace:
            return QStringLiteral("button face");
        case StrokeColour::Kind::Rgb:
            break;
        }
        return QColor(call.colour.resolved()).name();
    };
    switch (call.kind) {
    case Call::Kind::PenWidth:
        return QStringLiteral("pen width %1").arg(call.value);
    case Call::Kind::Line:
        return QStringLiteral("line (%1, %2)-(%3, %4) %5")
            .arg(call.a, 0, 'g', 9)
            .arg(call.b, 0, 'g', 9)
            .arg(call.c, 0, 'g', 9)
            .arg(call.d, 0, 'g', 9)
            .arg(colour());
    case Call::Kind::Circle:
        return QStringLiteral("circle (%1, %2) r %3 %4")
            .arg(call.a, 0, 'g', 9)
            .arg(call.b, 0, 'g', 9)
            .arg(call.c)
            .arg(colour());
    case Call::Kind::Question:
        return QStringLiteral("question \"%1\"").arg(call.text);
    case Call::Kind::Step:
        return QStringLiteral("step done, count %1").arg(call.a);
    case Call::Kind::Picture:
        return QStringLiteral("picture shown");
    case Call::Kind::Label:
        return QStringLiteral("label %1 at (%2, %3)").arg(call.value).arg(call.a).arg(call.b);
    }
    return {};
}
