#include "framework/dpi.h"

#include "framework/syslib.h"

namespace {

// A USER32 function by name, or NULL where this Windows lacks it. USER32 is
// one of Windows' known DLLs and already loaded by the program's imports.
template <typename F>
F User32Proc(LPCSTR lpszName)
{
    return AfxGetProc<F>(::GetModuleHandleW(L"user32.dll"), lpszName);
}

UINT SystemDpi()
{
    const HDC hDC = ::GetDC(NULL);
    const int nDpi = ::GetDeviceCaps(hDC, LOGPIXELSY);
    ::ReleaseDC(NULL, hDC);
    return static_cast<UINT>(nDpi);
}

} // namespace

void AfxInitDpiAwareness()
{
    if (!::IsProcessDPIAware())
        ::SetProcessDPIAware();
}

UINT AfxGetDpiForWindow(HWND hWnd)
{
    static const auto pfn = User32Proc<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    return pfn != NULL ? pfn(hWnd) : SystemDpi();
}

int AfxGetSystemMetricsForDpi(int nIndex, UINT nDpi)
{
    static const auto pfn = User32Proc<int(WINAPI*)(int, UINT)>("GetSystemMetricsForDpi");
    return pfn != NULL ? pfn(nIndex, nDpi) : ::GetSystemMetrics(nIndex);
}

BOOL AfxAdjustWindowRectExForDpi(LPRECT lpRect, DWORD dwStyle, DWORD dwExStyle, UINT nDpi)
{
    static const auto pfn = User32Proc<BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    return pfn != NULL ? pfn(lpRect, dwStyle, FALSE, dwExStyle, nDpi)
                       : ::AdjustWindowRectEx(lpRect, dwStyle, FALSE, dwExStyle);
}

SIZE AfxGetIconSizeForDpi(UINT nDpi)
{
    return SIZE{ AfxGetSystemMetricsForDpi(SM_CXICON, nDpi), AfxGetSystemMetricsForDpi(SM_CYICON, nDpi) };
}

// Looked up for each dialog, not kept: it runs once a dialog, so keeping it
// would save nothing.
void AfxDisableDialogDpiScaling(HWND hDlg)
{
    const auto pfnDialog = User32Proc<BOOL(WINAPI*)(HWND, DIALOG_DPI_CHANGE_BEHAVIORS, DIALOG_DPI_CHANGE_BEHAVIORS)>(
        "SetDialogDpiChangeBehavior");
    const auto pfnControl = User32Proc<BOOL(WINAPI*)(HWND, DIALOG_CONTROL_DPI_CHANGE_BEHAVIORS,
        DIALOG_CONTROL_DPI_CHANGE_BEHAVIORS)>("SetDialogControlDpiChangeBehavior");
    if (pfnDialog == NULL || pfnControl == NULL)
        return;
    pfnDialog(hDlg, DDC_DISABLE_ALL, DDC_DISABLE_ALL);
    const auto both = static_cast<DIALOG_CONTROL_DPI_CHANGE_BEHAVIORS>(DCDC_DISABLE_FONT_UPDATE | DCDC_DISABLE_RELAYOUT);
    for (HWND hWnd = ::GetWindow(hDlg, GW_CHILD); hWnd != NULL; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT))
        pfnControl(hWnd, both, both);
}
