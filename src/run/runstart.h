// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class Canvas;
class SettingsStore;
class YesNoQuestion;

// Prepares the canvas for a run: from the second run on asks whether the earlier curves
// go, marks that a run has started, and wipes the sheet and dial areas. Tells whether the
// earlier curves were wiped: on the first run, and after any answer but No.
bool startRun(SettingsStore &settings, Canvas &canvas, YesNoQuestion &question);
