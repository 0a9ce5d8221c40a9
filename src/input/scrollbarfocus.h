// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QScrollBar;

// Lets the keyboard reach the scroll bar, which the toolkit leaves out of the Tab chain
// (the window's style draws its focus ring), and makes a middle click on it act as a left
// click: one step on the track, where the toolkit would jump the thumb to the pointer.
// Called before the tab order is set: the toolkit ignores a control without a Tab focus
// policy there.
void makeScrollBarReachable(QScrollBar *scrollBar);
