#pragma once

class QString;
class QWidget;

// The canvas as a screen reader meets it: an image (role graphic) named by what it shows,
// the prompt at first and a description of the curves after each run.
namespace CanvasAccessibility {

// Installs the accessibility factory for the canvas (once, whatever the number of calls;
// other factories stay) and names the canvas with the prompt.
void setUp(QWidget &canvas, const QString &prompt);

// Renames the canvas and tells assistive technology that its name changed, even when the
// new name is the old one, so that a screen reader can speak what each run showed.
void announce(QWidget &canvas, const QString &description);

} // namespace CanvasAccessibility
