#pragma once

// Work the window's thread would do on its way to the map page, done beforehand on a thread
// of its own, started while QApplication is being made: the rest of its making keeps the
// window's thread busy and the other core idle.
void WarmUpWhileApplicationIsMade(); // before QApplication is made
void WaitForWarmUp();
