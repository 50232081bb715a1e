#include "window/closerequest.h"

#include <versionhelpers.h>

namespace {

// How often the busy loop looks: far inside the 0.2 s in which an idle
// window answers Escape, and short beside the 30 ms a quick key press
// lasts, yet far enough apart to cost nothing the loop would notice, as
// one look is a wineserver request under Wine (tens of microseconds).
const ULONGLONG kLookIntervalMs = 10;

// Touch and pen input, which Windows queues as kinds of their own from
// Windows 8 on.
const UINT kQsTouch = 0x0800;
const UINT kQsPointer = 0x1000;
const UINT kWmNcPointerDown = 0x0242;

// Whether the key is down now. The low bit, "pressed since the last
// call", belongs to the whole session and is documented as unreliable: a
// press in another program leaves it set for this one, and a program that
// reads it takes it from the others.
bool Down(int nVirtKey)
{
    return (::GetAsyncKeyState(nVirtKey) & 0x8000) != 0;
}

} // namespace

CCloseRequest::CCloseRequest(HWND hWnd)
    : m_hWnd(hWnd), m_nextLook(::GetTickCount64() + kLookIntervalMs), m_bPointerInput(::IsWindows8OrGreater())
{
    // The first call also makes the input that waits already old.
    NewInput();
}

// The clock is read at every call, so the looks keep their interval
// however long a piece of the work takes; reading it costs a few
// nanoseconds.
BOOL CCloseRequest::Waiting()
{
    const ULONGLONG now = ::GetTickCount64();
    if (now < m_nextLook)
        return FALSE;
    m_nextLook = now + kLookIntervalMs;
    return Look();
}

// Key and button input, and touch and pen input where the system has them:
// Windows 7's answer to those flags is not documented, so it is not asked.
UINT CCloseRequest::NewInput() const
{
    return LOWORD(::GetQueueStatus(QS_KEY | QS_MOUSEBUTTON | (m_bPointerInput ? kQsTouch | kQsPointer : 0)));
}

// The queue tells that key, button, touch or pen input came for the thread,
// not which: GetQueueStatus dispatches nothing, where PeekMessage would
// first run the messages other threads send (Wine 8 does so even when
// asked for input only), and under Wine it reads only key and button
// events from X, never the focus or window events whose messages would run
// here. The keys and buttons then come from their state now, which a key
// held in another program's window also shows; hence new input in this
// thread's queue, and this window in the foreground. A request is a key
// held as it is looked at: a press of 30 ms or more is seen, as the loop
// looks every 10 ms.
BOOL CCloseRequest::Look() const
{
    const UINT nNew = NewInput();
    if (nNew == 0 || ::GetForegroundWindow() != m_hWnd)
        return FALSE;
    // Alt by either key: Wine tells only VK_LMENU or VK_RMENU that it is down.
    if ((nNew & QS_KEY) &&
        (Down(VK_ESCAPE) || (Down(VK_F4) && (Down(VK_MENU) || Down(VK_LMENU) || Down(VK_RMENU)))))
        return TRUE;
    const int nPrimary = ::GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
    POINT pt;
    if ((nNew & QS_MOUSEBUTTON) && Down(nPrimary) && ::GetCursorPos(&pt) && OnCloseBox(pt))
        return TRUE;
    return (nNew & (kQsTouch | kQsPointer)) && TappedOnCloseBox();
}

// A touch or pen contact on the frame waits as WM_NCPOINTERDOWN, carrying
// the window's own hit test of the contact: its point is in physical
// pixels, which a process that is only system aware would have to scale
// on a monitor of another scale. The cursor and the mouse buttons stay as
// they were until the message is handled. PeekMessage is asked for pointer
// input alone, which Windows reads without running sent messages.
BOOL CCloseRequest::TappedOnCloseBox() const
{
    MSG msg;
    return ::PeekMessageW(&msg, m_hWnd, kWmNcPointerDown, kWmNcPointerDown, PM_NOREMOVE | (kQsPointer << 16)) &&
           HIWORD(msg.wParam) == HTCLOSE;
}

// The close box's own rectangle, as Windows gives it: under the desktop
// compositor it is wider than a caption button. Where the window leaves it
// empty (Wine 8 and 10 do), the window's own hit test tells, as it tells
// for any click: Wine 10 draws the box 25 pixels wide where SM_CXSIZE
// says 18.
BOOL CCloseRequest::OnCloseBox(POINT pt) const
{
    TITLEBARINFOEX info = {};
    info.cbSize = sizeof info;
    ::SendMessageW(m_hWnd, WM_GETTITLEBARINFOEX, 0, reinterpret_cast<LPARAM>(&info));
    const RECT& rcClose = info.rgrect[5];
    if (!::IsRectEmpty(&rcClose))
        return !(info.rgstate[5] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_UNAVAILABLE)) && ::PtInRect(&rcClose, pt);
    return ::SendMessageW(m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)) == HTCLOSE;
}
