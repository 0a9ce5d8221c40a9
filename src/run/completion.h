// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class Canvas;
class RunEndView;
struct Scene;
struct SweepEnd;

// Finishes a run: the last back path redrawn over a light-cyan sheet, then the picture
// and the labels shown at places computed from the scene.
void completeRun(const Scene &scene, const SweepEnd &sweep, Canvas &canvas, RunEndView &view);
