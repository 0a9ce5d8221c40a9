// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "option.h"
#include "statewords.h"

#include <array>

// The four graph colours, each told once: the word the colour field holds, the option that
// chooses it, its English name (on the command line, in the CSV and to a screen reader),
// and the red, green and blue of the points plotted in it.
struct GraphColour {
    QStringView word;
    Option option;
    const char *name;
    int red;
    int green;
    int blue;
};

namespace GraphColours {

// In the order the command line's help lists them.
inline constexpr std::array<GraphColour, 4> All{{
    {ColourWord::černá, Option::opCerna, "black", 0, 0, 0},
    {ColourWord::červená, Option::opCervena, "red", 255, 0, 0},
    {ColourWord::zelená, Option::opzelená, "green", 0, 255, 0},
    {ColourWord::modrá, Option::opModra, "blue", 0, 0, 255},
}};

// The colour the field's word names, compared exactly; null for any other text.
constexpr const GraphColour *ofWord(QStringView word)
{
    for (const GraphColour &colour : All)
        if (colour.word == word)
            return &colour;
    return nullptr;
}

// The colour an option chooses; null for an option of another group.
constexpr const GraphColour *ofOption(Option option)
{
    for (const GraphColour &colour : All)
        if (colour.option == option)
            return &colour;
    return nullptr;
}

} // namespace GraphColours
