#pragma once

class QScrollBar;

// Lets the keyboard reach the scroll bar, which the toolkit leaves out of the Tab chain,
// and frames it while it has the focus, since the style draws no focus on scroll bars.
// Called before the tab order is set: the toolkit ignores a control without a Tab focus
// policy there.
void makeScrollBarReachable(QScrollBar *scrollBar);
