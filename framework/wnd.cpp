#include "framework/wnd.h"

#include <shellapi.h>

#include "framework/afxres.h"
#include "framework/dc.h"
#include "framework/ddx.h"
#include "framework/menu.h"
#include "framework/syslib.h"
#include "framework/winapp.h"

CWnd::CWnd()
    : m_hWnd(NULL), m_msgCur()
{
}

CWnd::CWnd(HWND hWnd)
    : m_hWnd(hWnd), m_msgCur()
{
}

CWnd::~CWnd()
{
    // An application left pointing at a dead window would hand it to every
    // dialog that looks for an owner.
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL && pApp->m_pMainWnd == this)
        pApp->m_pMainWnd = NULL;
}

int CWnd::GetDlgCtrlID() const
{
    return ::GetDlgCtrlID(m_hWnd);
}

BOOL CWnd::IsIconic() const
{
    return ::IsIconic(m_hWnd);
}

void CWnd::GetClientRect(LPRECT lpRect) const
{
    ::GetClientRect(m_hWnd, lpRect);
}

CWnd* CWnd::FromHandleBorrowed(HWND hWnd) const
{
    if (hWnd == NULL)
        return NULL;
    if (hWnd == m_hWnd)
        return const_cast<CWnd*>(this);
    for (const auto& pWnd : m_borrowed) {
        if (pWnd->m_hWnd == hWnd)
            return pWnd.get();
    }
    m_borrowed.push_back(std::make_unique<CWnd>(hWnd));
    return m_borrowed.back().get();
}

void CWnd::DetachBorrowed()
{
    for (auto& pWnd : m_borrowed)
        pWnd->m_hWnd = NULL;
    if (m_pSysMenu)
        m_pSysMenu->m_hMenu = NULL;
}

CWnd* CWnd::GetDlgItem(int nID) const
{
    return FromHandleBorrowed(::GetDlgItem(m_hWnd, nID));
}

CWnd* CWnd::GetWindow(UINT nCmd) const
{
    return FromHandleBorrowed(::GetWindow(m_hWnd, nCmd));
}

const CWnd CWnd::wndTop(HWND_TOP);

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
{
    return ::SetWindowPos(m_hWnd, pWndInsertAfter->m_hWnd, x, y, cx, cy, nFlags);
}

HWND CWnd::GetSafeOwner(const CWnd* pParentWnd)
{
    // A dialog owned by a control would leave its dialog enabled.
    if (pParentWnd == NULL || pParentWnd->m_hWnd == NULL) {
        CWinApp* pApp = AfxGetApp();
        pParentWnd = pApp != NULL ? pApp->m_pMainWnd : NULL;
    }
    if (pParentWnd == NULL || pParentWnd->m_hWnd == NULL)
        return NULL;
    return ::GetAncestor(pParentWnd->m_hWnd, GA_ROOT);
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert) const
{
    HMENU hMenu = ::GetSystemMenu(m_hWnd, bRevert);
    if (hMenu == NULL)
        return NULL;
    if (!m_pSysMenu)
        m_pSysMenu = std::make_unique<CMenu>();
    m_pSysMenu->m_hMenu = hMenu;
    return m_pSysMenu.get();
}

void CWnd::SetWindowText(LPCSTR lpszString)
{
    ::SetWindowTextA(m_hWnd, lpszString);
}

void CWnd::GetWindowText(CString& rString) const
{
    // Length first, then a buffer of exactly that much: nothing is cut.
    const int nLength = ::GetWindowTextLengthA(m_hWnd);
    if (nLength <= 0) {
        rString.Empty();
        return;
    }
    char* pBuffer = rString.GetBuffer(nLength);
    const int nCopied = ::GetWindowTextA(m_hWnd, pBuffer, nLength + 1);
    rString.ReleaseBuffer(nCopied > 0 ? nCopied : 0);
}

BOOL CWnd::EnableWindow(BOOL bEnable)
{
    return ::EnableWindow(m_hWnd, bEnable);
}

void CWnd::UpdateWindow()
{
    ::UpdateWindow(m_hWnd);
}

HRESULT CWnd::SetWindowTheme(LPCWSTR pszSubAppName, LPCWSTR pszSubIdList)
{
    // Without uxtheme the control keeps its theme; nothing else changes.
    const AFX_SETWINDOWTHEME pfnSetWindowTheme = AfxGetSetWindowTheme();
    if (pfnSetWindowTheme == NULL)
        return E_NOTIMPL;
    return pfnSetWindowTheme(m_hWnd, pszSubAppName, pszSubIdList);
}

void CWnd::DragAcceptFiles(BOOL bAccept)
{
    ::DragAcceptFiles(m_hWnd, bAccept);
    // A drop from a less privileged program travels in these three messages
    // (0x0049, WM_COPYGLOBALDATA, carries the file list); the filter of an
    // elevated window drops them otherwise.
    const UINT messages[] = { WM_DROPFILES, WM_COPYDATA, 0x0049 };
    for (UINT message : messages)
        ::ChangeWindowMessageFilterEx(m_hWnd, message, bAccept ? MSGFLT_ALLOW : MSGFLT_RESET, NULL);
}

int CWnd::MessageBox(LPCSTR lpszText, LPCSTR lpszCaption, UINT nType)
{
    return ::MessageBoxA(m_hWnd, lpszText, lpszCaption != NULL ? lpszCaption : AfxGetAppName(), nType);
}

BOOL CWnd::DestroyWindow()
{
    if (m_hWnd == NULL)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse)
{
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, NULL);
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent)
{
    return ::KillTimer(m_hWnd, nIDEvent);
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return !dx.m_bFail;
}

void CWnd::DoDataExchange(CDataExchange*)
{
}

LRESULT CWnd::Default()
{
    return CallDefault(m_msgCur.message, m_msgCur.wParam, m_msgCur.lParam);
}

LRESULT CWnd::CallDefault(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

void CWnd::OnPaint()
{
    if (m_msgCur.message == WM_PAINT)
        Default();
    else
        CallDefault(WM_PAINT, 0, 0);
}

void CWnd::OnSysCommand(UINT nID, LPARAM lParam)
{
    CallDefault(WM_SYSCOMMAND, nID, lParam);
}

HCURSOR CWnd::OnQueryDragIcon()
{
    return reinterpret_cast<HCURSOR>(CallDefault(WM_QUERYDRAGICON, 0, 0));
}

HBRUSH CWnd::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    const HDC hDC = pDC != NULL ? pDC->m_hDC : NULL;
    const HWND hWndCtl = pWnd != NULL ? pWnd->m_hWnd : NULL;
    return reinterpret_cast<HBRUSH>(CallDefault(WM_CTLCOLORMSGBOX + nCtlColor,
        reinterpret_cast<WPARAM>(hDC), reinterpret_cast<LPARAM>(hWndCtl)));
}

void CWnd::OnDestroy()
{
    Default();
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    AFX_MSGCALL call = { message, 0, 0, wParam, lParam, NULL, NULL, 0 };
    CDC dc(reinterpret_cast<HDC>(wParam));  // used by the colour messages only
    switch (message) {
    case WM_COMMAND:
        call.nID = LOWORD(wParam);
        // Menus send code 0 and accelerators 1, with no control: both are
        // the plain command.
        call.nCode = lParam != 0 ? HIWORD(wParam) : 0;
        break;
    case WM_HELP:
        // F1 is the Help command, routed like any other command.
        call.nMessage = WM_COMMAND;
        call.nID = ID_HELP;
        call.wParam = ID_HELP;
        call.lParam = 0;
        break;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        // The seven messages follow the CTLCOLOR_* kinds in order.
        call.nMessage = WM_CTLCOLOR;
        call.nCtlColor = message - WM_CTLCOLORMSGBOX;
        call.pDC = &dc;
        call.pWnd = FromHandleBorrowed(reinterpret_cast<HWND>(lParam));
        break;
    default:
        break;
    }

    LRESULT lResult = 0;
    BOOL bHandled = DispatchMsg(call, &lResult);
    if (!bHandled && call.nMessage == WM_COMMAND) {
        CWinApp* pApp = AfxGetApp();
        bHandled = pApp != NULL && pApp->DispatchMsg(call, &lResult);
    }
    if (bHandled && message == WM_HELP)
        lResult = TRUE;
    if (bHandled && pResult != NULL)
        *pResult = lResult;
    return bHandled;
}
