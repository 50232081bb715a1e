// Classes in this file:
//   CTaskbarButton - a window's taskbar button as a progress indicator
//                    (ITaskbarList3, Windows 7 on). Windows makes the button
//                    after the window and tells the window with the
//                    registered "TaskbarButtonCreated" message; the list is
//                    made then, and nothing is sent before. Without a
//                    taskbar (Wine sends no such message) or without the
//                    class, nothing is sent and nothing fails. A state or a
//                    value is sent only when it changes.
#pragma once

#include <windows.h>
#include <shobjidl.h>

#include "framework/com.h"

class CTaskbarButton
{
public:
// Constructors
    CTaskbarButton();
    ~CTaskbarButton();
    CTaskbarButton(const CTaskbarButton&) = delete;
    CTaskbarButton& operator=(const CTaskbarButton&) = delete;

// Attributes
    // The registered message's ID, the same in every process.
    static UINT GetCreatedMessage();

// Operations
    // Lets the message through to hWnd when the program runs with more
    // rights than Explorer; called when the window is created.
    static void AllowCreatedMessage(HWND hWnd);
    // Called when hWnd has the message: its button is there, or there
    // again after Explorer restarted.
    void OnCreated(HWND hWnd, const CComThread& com);
    // Lets the list go; before COM is stopped.
    void Detach();
    // TBPF_NORMAL with SetProgressValue, TBPF_ERROR, TBPF_NOPROGRESS.
    void SetProgressState(TBPFLAG state);
    // Of 100, in the normal state.
    void SetProgressValue(UINT nPercent);

private:
    HWND m_hWnd;
    ITaskbarList3* m_pList;
    TBPFLAG m_state;    // as last sent
    UINT m_nPercent;
};
