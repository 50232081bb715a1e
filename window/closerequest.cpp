#include "window/closerequest.h"

#include "framework/dpi.h"

namespace {

// How often the busy loop looks: far inside the 0.2 s in which an idle
// window answers Escape, and far enough apart to cost nothing the loop
// would notice, as one look is a wineserver request under Wine (tens of
// microseconds).
const ULONGLONG kLookIntervalMs = 10;
// Waiting() reads the clock once in this many calls.
const UINT kCallsPerClockRead = 64;

const int kKeys[] = { VK_ESCAPE, VK_F4, VK_MENU, VK_LMENU, VK_RMENU, VK_LBUTTON, VK_RBUTTON };

// Whether the key is down, or went down since the last time it was read.
bool Pressed(int nVirtKey)
{
    return (::GetAsyncKeyState(nVirtKey) & 0x8001) != 0;
}

} // namespace

CCloseRequest::CCloseRequest(HWND hWnd)
    : m_hWnd(hWnd), m_nCalls(0), m_nextLook(::GetTickCount64() + kLookIntervalMs)
{
    // Reading the keys clears what went down before: Alt from the Alt+H
    // that may have started the work is no request. Input that waits
    // already is not new.
    for (int nKey : kKeys)
        ::GetAsyncKeyState(nKey);
    ::GetQueueStatus(QS_KEY | QS_MOUSEBUTTON);
}

BOOL CCloseRequest::Waiting()
{
    if (++m_nCalls % kCallsPerClockRead != 0)
        return FALSE;
    const ULONGLONG now = ::GetTickCount64();
    if (now < m_nextLook)
        return FALSE;
    m_nextLook = now + kLookIntervalMs;
    return Look();
}

// The queue tells that key or mouse-button input came for the thread, not
// which: GetQueueStatus dispatches nothing, where PeekMessage would first
// run the messages other threads send (Wine 8 does so even when asked for
// input only), and under Wine it reads only key and button events from X,
// never the focus or window events whose messages would run here. The keys
// then come from the keyboard's state, which also counts a key pressed in
// another program's window; hence new input in this thread's queue, and
// this window in the foreground.
BOOL CCloseRequest::Look() const
{
    const UINT nNew = LOWORD(::GetQueueStatus(QS_KEY | QS_MOUSEBUTTON));
    if (nNew == 0 || ::GetForegroundWindow() != m_hWnd)
        return FALSE;
    // Alt by either key: Wine tells only VK_LMENU or VK_RMENU that it went down.
    if ((nNew & QS_KEY) && (Pressed(VK_ESCAPE) ||
                            (Pressed(VK_F4) && (Pressed(VK_MENU) || Pressed(VK_LMENU) || Pressed(VK_RMENU)))))
        return TRUE;
    const int nPrimary = ::GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
    return (nNew & QS_MOUSEBUTTON) && Pressed(nPrimary) && OnCloseBox();
}

// The close box is the title bar's right end, a caption button wide.
BOOL CCloseRequest::OnCloseBox() const
{
    TITLEBARINFO info = {};
    info.cbSize = sizeof info;
    POINT pt;
    if (!::GetTitleBarInfo(m_hWnd, &info) || !::GetCursorPos(&pt))
        return FALSE;
    RECT rc = info.rcTitleBar;
    rc.left = rc.right - AfxGetSystemMetricsForDpi(SM_CXSIZE, AfxGetDpiForWindow(m_hWnd));
    return ::PtInRect(&rc, pt);
}
