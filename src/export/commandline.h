// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "settings/option.h"

#include <QString>
#include <QStringList>

#include <optional>

// What the program was asked to do on its command line. Reading it writes nothing (it
// only looks whether two names lead to the same file), so every case can be tried without
// starting the program.
struct CommandLine {
    enum class Action { Window, Render, Help, Version };

    Action action = Action::Window;
    // The presets, as the options and the scroll bar value they stand for.
    std::optional<Option> frequency;
    std::optional<Option> length;
    std::optional<Option> colour;
    std::optional<int> speed;
    bool start = false;
    // Window: the zoom asked for (within ZoomRange), and full screen.
    std::optional<double> zoom;
    bool fullscreen = false;
    // Render: the picture and the CSV, either of which may be empty, and the pixel ratio.
    QString picturePath;
    QString csvPath;
    int scale = 1;
    // One line naming the bad argument and what is allowed; empty when all is well.
    QString error;

    // Qt's own options (-platform, -style, -visual and the like) are Qt's to know: before Qt
    // has seen the line, options this program does not know and stray arguments are let
    // through; after it has taken its own off, they are errors.
    enum class Stage { BeforeToolkit, AfterToolkit };

    // The arguments, the program first.
    static CommandLine parse(const QStringList &arguments, Stage stage = Stage::AfterToolkit);
    // The same from main()'s bytes, where a name that is not valid UTF-8 is refused, as
    // it could not be written under the name given.
    static CommandLine parse(int argc, const char *const *argv, Stage stage = Stage::AfterToolkit);
    static QString helpText();
    static QString versionText();
};
