// Classes in this file:
//   CCloseRequest - whether the user has asked a window to close while its
//                   thread is busy and takes no messages: Escape or Alt+F4
//                   held in it, or its close box clicked or tapped. It
//                   looks at an interval of a few milliseconds, runs no
//                   message, and leaves the request in the queue, where the
//                   modal loop acts on it once the thread takes messages
//                   again.
#pragma once

#include <windows.h>

class CCloseRequest
{
public:
// Constructors
    // For hWnd, from now on: input that waits already is not new.
    explicit CCloseRequest(HWND hWnd);

// Operations
    // Called between two pieces of the busy work; TRUE once a request waits.
    BOOL Waiting();

private:
    UINT NewInput() const;
    BOOL Look() const;
    BOOL TappedOnCloseBox() const;
    BOOL OnCloseBox(POINT pt) const;

    HWND m_hWnd;
    ULONGLONG m_nextLook;
    BOOL m_bPointerInput;   // the system queues touch and pen input
};
