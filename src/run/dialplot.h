#pragma once

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
// Tells whether a point was plotted.
bool drawDialAndPlot(const Scene &scene, int thickness, QStringView colourWord, Canvas &canvas);
