#pragma once

// Lets a screen reader reach the window's controls as a person does: only what is shown,
// and every press or choice through the same gate as a click, so that one given during a
// run waits for its end and one given while the question is open is refused.
void installAccessibleControls();
