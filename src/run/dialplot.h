// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>

#include <QStringView>

class Canvas;
struct Scene;

// 0.02 times the squared length of the resultant of the front and back arrows.
double plotX(const Scene &scene, int thickness);
// The length of that resultant in canvas pixels.
double resultantLength(const Scene &scene, int thickness);

// One step's dial and curve: the back arrow turned to this thickness, the previous
// resultant left as a pale trace, the new resultant, and one point of the curve in the
// colour the word names (none for a word that names no colour). Leaves the pen at 2.
// Returns the PlotX of the point, or nothing when none was plotted.
std::optional<double> drawDialAndPlot(const Scene &scene, int thickness, QStringView colourWord,
                                      Canvas &canvas);
