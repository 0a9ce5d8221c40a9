// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class MainWindow;
struct CommandLine;

// Applies the presets to the window as clicks would, in a fixed order whatever their
// order on the line: frequency, length, colour, then the scroll bar. The handlers run, so
// a frequency chooses its colour before the colour preset chooses another.
void applyPresets(MainWindow &window, const CommandLine &line);

// One whole run in a window that is never shown, without pacing, then the finished
// picture and the curves' CSV written to the files the command line names. Returns the
// exit status: 0, or 1 when a file cannot be written (the message is on standard error).
int renderHeadless(const CommandLine &line);
