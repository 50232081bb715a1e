// Classes in this file:
//   CCmdTarget  - the base of every class with a message map (windows and
//                 the application); owns the one dispatch function.
//   AFX_MSGCALL - one message, unpacked for the map.
#pragma once

#include <windows.h>

#include "framework/afxmsg.h"

struct AFX_MSGCALL
{
    UINT nMessage;      // as in the map: WM_CTLCOLOR stands for every WM_CTLCOLOR*
    UINT nCode;         // WM_COMMAND: notification code (0 for menus and accelerators)
    UINT nID;           // WM_COMMAND: control or command ID
    WPARAM wParam;
    LPARAM lParam;
    CDC* pDC;           // WM_CTLCOLOR: the control's device context (borrowed)
    CWnd* pWnd;         // WM_CTLCOLOR: the control (borrowed)
    UINT nCtlColor;     // WM_CTLCOLOR: CTLCOLOR_EDIT, CTLCOLOR_STATIC, ...
};

class CCmdTarget
{
public:
// Constructors
    CCmdTarget() = default;
    virtual ~CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

// Operations
    // Calls the handler of the first row that matches, searching this
    // class's map and then each base's. FALSE when no row matches; then
    // *pResult is untouched.
    BOOL DispatchMsg(const AFX_MSGCALL& call, LRESULT* pResult);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};
