// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Chooses how the window's pixels travel to an X server; called before the application
// object exists. Through shared memory every update costs a round trip to the server,
// however few pixels it carries, and a run sends one small update per step; sent down
// the connection, a step's few changed pixels cost far less. So QT_XCB_NO_MITSHM is set
// unless the user set it. Qt only asks whether that variable is set, never what it holds,
// so a user's QT_XCB_NO_MITSHM=0 is taken to ask for shared memory and removed; any other
// value the user set stands.
void preferSmallScreenUpdates();
