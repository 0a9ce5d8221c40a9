// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "commandlineactions.h"

#include "export/commandline.h"
#include "export/headlessrender.h"
#include "mainwindow.h"
#include "run/steppacer.h"

namespace {

class NoWait : public StepPacer
{
public:
    void stepDone(double) override {}
};

} // namespace

void applyPresets(MainWindow &window, const CommandLine &line)
{
    for (const std::optional<Option> &chosen : {line.frequency, line.length, line.colour})
        if (chosen)
            window.clickOption(*chosen);
    if (line.speed)
        window.moveScrollBar(*line.speed);
}

int renderHeadless(const CommandLine &line)
{
    MainWindow window;
    window.setPacer(std::make_unique<NoWait>());
    applyPresets(window, line);
    window.pressStart();
    return writeRenderedFiles(line, window, window.curves());
}
