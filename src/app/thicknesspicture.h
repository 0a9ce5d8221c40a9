#pragma once

#include <QImage>

// The 16 x 143 picture with the words "thickness of the glass" that stands beside the
// sheet at the end of a run. A fixed bitmap, so it is the same on every machine.
QImage thicknessPicture();
