// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>

// The colour a stroke is drawn in: the canvas's fore colour, an explicit RGB value, or one
// of the two system colours that the run erases with. Both system colours equal the
// window's background grey, which is what makes erasing by overdrawing work.
class StrokeColour
{
public:
    enum class Kind { Fore, Rgb, InactiveBorder, ButtonFace };

    constexpr StrokeColour() = default;

    static constexpr StrokeColour fore() { return StrokeColour(Kind::Fore, 0); }
    static constexpr StrokeColour rgb(int r, int g, int b)
    {
        return StrokeColour(Kind::Rgb, qRgb(r, g, b));
    }
    // The background grey as an explicit RGB value rather than a system colour.
    static constexpr StrokeColour backgroundGrey()
    {
        return StrokeColour(Kind::Rgb, BackgroundGrey);
    }
    static constexpr StrokeColour inactiveBorder() { return StrokeColour(Kind::InactiveBorder, 0); }
    static constexpr StrokeColour buttonFace() { return StrokeColour(Kind::ButtonFace, 0); }

    constexpr Kind kind() const { return m_kind; }
    // The value the pixels take.
    constexpr QRgb resolved() const
    {
        switch (m_kind) {
        case Kind::Fore:
            return ForeColour;
        case Kind::Rgb:
            return m_rgb;
        case Kind::InactiveBorder:
        case Kind::ButtonFace:
            return BackgroundGrey;
        }
        return m_rgb;
    }

    constexpr bool operator==(const StrokeColour &) const = default;

    static constexpr QRgb ForeColour = qRgb(0, 0, 0);
    static constexpr QRgb BackgroundGrey = qRgb(192, 192, 192);

private:
    constexpr StrokeColour(Kind kind, QRgb rgb)
        : m_kind(kind)
        , m_rgb(rgb)
    {}

    Kind m_kind = Kind::Fore;
    QRgb m_rgb = 0;
};
