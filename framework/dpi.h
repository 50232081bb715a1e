// Display scale: the process's DPI awareness, and the USER32 functions of
// Windows 10 that give a metric at a window's own DPI. Windows 7 and 8.1 lack
// them, so each is looked up at run time and falls back to the system DPI's
// value, which is the only DPI a window has there.
#pragma once

#include <windows.h>

// Makes the process system DPI aware when the manifest has left it unaware,
// as Wine 8 leaves it (it knows no per-monitor v2 and stops there). Windows
// has set the manifest's awareness before the program runs.
void AfxInitDpiAwareness();

UINT AfxGetDpiForWindow(HWND hWnd);
int AfxGetSystemMetricsForDpi(int nIndex, UINT nDpi);
BOOL AfxAdjustWindowRectExForDpi(LPRECT lpRect, DWORD dwStyle, DWORD dwExStyle, UINT nDpi);
// The size of a large icon (SM_CXICON by SM_CYICON) at nDpi.
SIZE AfxGetIconSizeForDpi(UINT nDpi);

// Leaves a dialog's and its controls' DPI changes to the program: Windows 10
// 1703 and later would otherwise rescale them too.
void AfxDisableDialogDpiScaling(HWND hDlg);
