#pragma once

class QWidget;

// Makes the window's controls usable with a screen reader and the keyboard alone:
// - every control a user can reach gets a name and a description a screen reader can
//   speak, since the captions on screen are terse ("0,5 red", "1,5", "zelená") and the
//   scroll bar and the two headings have none at all;
// - the scroll bar, which Qt leaves out of the Tab chain, takes the focus from Tab, and a
//   frame drawn around it shows when it has the focus, since the style draws no focus
//   indicator on scroll bars.
// Called before the tab order is set: Qt ignores a scroll bar without a focus policy there.
void makeControlsAccessible(QWidget *window);
