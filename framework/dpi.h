// Display scale: the process's DPI awareness.
#pragma once

#include <windows.h>

// Makes the process system DPI aware when the manifest has left it unaware.
// Windows has set the manifest's awareness before the program runs, and this
// changes nothing. Wine 8 stops at the first awareness the manifest names,
// per-monitor v2, which it cannot give, and would leave the process unaware
// rather than take the system awareness named after it.
void AfxInitDpiAwareness();
