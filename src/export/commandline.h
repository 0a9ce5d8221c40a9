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
    // Window: the zoom asked for (1 to 4 in quarter steps), and full screen.
    static constexpr double ZoomStep = 0.25;
    static constexpr double LargestZoom = 4;
    std::optional<double> zoom;
    bool fullscreen = false;
    // The sound of the curve switched on (it starts off, so that a room of computers is quiet).
    bool sound = false;
    // Render: the picture and the CSV, either of which may be empty, and the pixel ratio.
    QString picturePath;
    QString csvPath;
    int scale = 1;
    // Qt's own options that choose where the window goes: the last -platform and -display
    // given, and -platformpluginpath; empty when not given.
    QString platform;
    QString display;
    QString platformPluginPath;
    // One line naming the bad argument and what is allowed; empty when all is well.
    QString error;

    // Qt's own options (-platform, -style, -display and the like) are Qt's to use: before Qt
    // has seen the line they are taken off it here, each with its value (a missing value or
    // a display name without a colon is a bad argument), and the rest is read as after
    // Qt has taken them off, where anything else is an error.
    enum class Stage { BeforeToolkit, AfterToolkit };

    // The arguments, the program first.
    static CommandLine parse(const QStringList &arguments, Stage stage = Stage::AfterToolkit);
    // The same from main()'s bytes, where a name that is not valid UTF-8 is refused, as
    // it could not be written under the name given.
    static CommandLine parse(int argc, const char *const *argv, Stage stage = Stage::AfterToolkit);
    static QString helpText();
    static QString versionText();
};
