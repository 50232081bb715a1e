// Classes in this file:
//   CWnd - a window handle and the operations the program performs on it.
//          A plain CWnd borrows its window and never destroys it; classes
//          that create a window (CDialog) destroy it themselves.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "framework/cmdtarget.h"
#include "framework/cstring.h"

class CDataExchange;
class CDC;
class CMenu;

class CWnd : public CCmdTarget
{
public:
// Constructors
    CWnd();
    explicit CWnd(HWND hWnd);   // borrows hWnd
    ~CWnd() override;

// Attributes
    HWND m_hWnd;

    int GetDlgCtrlID() const;
    BOOL IsIconic() const;
    void GetClientRect(LPRECT lpRect) const;

    // Borrowed wrappers, owned by this object and valid for its life.
    CWnd* GetDlgItem(int nID) const;
    CWnd* GetWindow(UINT nCmd) const;  // GW_HWNDPREV: the sibling above in z-order
    CMenu* GetSystemMenu(BOOL bRevert) const;

    // The window a modal dialog or message box shown for pParentWnd is
    // owned by, and so disables while it runs: the parent's top-level
    // window (a control's dialog), else the application's main window.
    static HWND GetSafeOwner(const CWnd* pParentWnd);

// Operations
    void SetWindowText(LPCSTR lpszString);
    void GetWindowText(CString& rString) const;    // the whole text, whatever its length
    // pWndInsertAfter is the sibling to go below, or &wndTop.
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    static const CWnd wndTop;
    BOOL EnableWindow(BOOL bEnable = TRUE);
    // Paints what is invalid now, without waiting for the message loop.
    void UpdateWindow();
    // pszSubAppName L" " draws the control without visual styles.
    HRESULT SetWindowTheme(LPCWSTR pszSubAppName, LPCWSTR pszSubIdList);
    // Files dropped on the window arrive as WM_DROPFILES, even when the
    // program runs elevated and the drag comes from a program that is not.
    void DragAcceptFiles(BOOL bAccept = TRUE);
    // Destroys the window, borrowed or not: an explicit request.
    BOOL DestroyWindow();
    // Modal to this window; a NULL caption means the application's title.
    int MessageBox(LPCSTR lpszText, LPCSTR lpszCaption = NULL, UINT nType = MB_OK);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // WM_TIMER with nIDEvent every nElapse milliseconds, replacing a timer
    // of the same ID, until KillTimer.
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse);
    BOOL KillTimer(UINT_PTR nIDEvent);

    // Moves the fields named in DoDataExchange: controls to members (TRUE)
    // or members to controls (FALSE). FALSE when a field failed validation.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

// Overridables
    virtual void DoDataExchange(CDataExchange* pDX);

// Default message handlers: what the window does when no map row takes over.
    void OnPaint();
    void OnSysCommand(UINT nID, LPARAM lParam);
    HCURSOR OnQueryDragIcon();
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnDestroy();

protected:
    // Default processing of the message being handled.
    LRESULT Default();
    // Default processing of a given message; the window class decides what
    // that is (a dialog's is DefDlgProc's).
    virtual LRESULT CallDefault(UINT message, WPARAM wParam, LPARAM lParam);

    // The message map's half of handling a message, the same for every kind
    // of window: unpacks it and runs it through this object's map, then
    // commands no row took through the application's. FALSE when no row
    // handled it. Results and default processing are the window
    // procedure's business (CDialog::WindowProc).
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    // A borrowed wrapper for hWnd from this window's cache (this for m_hWnd).
    CWnd* FromHandleBorrowed(HWND hWnd) const;
    // Points every cached wrapper at NULL once the window is gone, so a
    // stale pointer does nothing instead of reaching an unrelated window.
    void DetachBorrowed();

    MSG m_msgCur;    // the message being handled, for Default()

private:
    mutable std::vector<std::unique_ptr<CWnd>> m_borrowed;
    mutable std::unique_ptr<CMenu> m_pSysMenu;
};
