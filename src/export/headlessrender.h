// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class CurveLog;
class QWidget;
struct CommandLine;

// Writes what a run made in a window that was never shown (its finished picture and its
// curves' CSV) to the files the command line names. Returns the exit status: 0, or 1 when
// a file cannot be written (the message is on standard error).
int writeRenderedFiles(const CommandLine &line, QWidget &window, const CurveLog &curves);
