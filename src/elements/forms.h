#pragma once

#include "elements/controls.h"
#include "mylib/platform.h"

// Centres the window on the primary screen, halves rounded toward zero.
// No window, nothing.
void CentreOnScreen(TForm* window, const TScreen& screen);
