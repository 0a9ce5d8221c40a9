#pragma once

#include "settings/option.h"

#include <QString>
#include <QStringList>

#include <optional>

// What the program was asked to do on its command line. Reading it touches nothing, so
// every case can be tried without starting the program.
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
    std::optional<double> zoom;
    bool fullscreen = false;
    // Render: the picture and the CSV, either of which may be empty, and the pixel ratio.
    QString picturePath;
    QString csvPath;
    int scale = 1;
    // One line naming the bad argument and what is allowed; empty when all is well.
    QString error;

    // The arguments as main() has them, the program first. Qt's own options (-platform,
    // -style, -session and the like) are left to Qt.
    static CommandLine parse(const QStringList &arguments);
    static QString helpText();
    static QString versionText();
};
