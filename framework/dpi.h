// Display scale: the process's DPI awareness, and the USER32 functions of
// Windows 10 that give a metric at a window's own DPI. Windows 7 and 8.1 lack
// them, so each is looked up at run time and falls back to the system DPI's
// value, which is the only DPI a window has there.
#pragma once

#include <windows.h>

// Makes the process system DPI aware when the manifest has left it unaware.
// Windows has set the manifest's awareness before the program runs, and this
// changes nothing. Wine 8 stops at the first awareness the manifest names,
// per-monitor v2, which it cannot give, and would leave the process unaware
// rather than take the system awareness named after it.
void AfxInitDpiAwareness();

UINT AfxGetDpiForWindow(HWND hWnd);
int AfxGetSystemMetricsForDpi(int nIndex, UINT nDpi);
BOOL AfxAdjustWindowRectExForDpi(LPRECT lpRect, DWORD dwStyle, DWORD dwExStyle, UINT nDpi);

// Leaves a dialog's and its controls' DPI changes to the program: Windows 10
// 1703 and later would otherwise rescale them too.
void AfxDisableDialogDpiScaling(HWND hDlg);
