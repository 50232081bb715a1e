#include "framework/ddx.h"

#include "framework/wnd.h"

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd), m_bFail(FALSE), m_hWndLastControl(NULL)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    m_hWndLastControl = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
    return m_hWndLastControl;
}

void CDataExchange::Fail()
{
    m_bFail = TRUE;
    if (m_hWndLastControl != NULL) {
        ::SetFocus(m_hWndLastControl);
        ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    if (pDX->m_bFail)
        return;
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (hWndCtrl == NULL)
        return;
    CWnd ctrl(hWndCtrl);
    if (pDX->m_bSaveAndValidate) {
        ctrl.GetWindowText(value);
        return;
    }
    // Setting a field's text raises EN_CHANGE even when nothing changes; a
    // change handler that writes the fields back would then never settle.
    CString current;
    ctrl.GetWindowText(current);
    if (current != value)
        ctrl.SetWindowText(value);
}

void DDV_MaxChars(CDataExchange* pDX, CString const& value, int nChars)
{
    if (pDX->m_bFail)
        return;
    if (!pDX->m_bSaveAndValidate) {
        if (pDX->m_hWndLastControl != NULL)
            ::SendMessageA(pDX->m_hWndLastControl, EM_LIMITTEXT, static_cast<WPARAM>(nChars), 0);
        return;
    }
    // The edit control limits UTF-16 units, so count the same ones: a
    // three-byte UTF-8 character is one.
    const int nLength = value.IsEmpty() ? 0
        : ::MultiByteToWideChar(CP_ACP, 0, value, value.GetLength(), NULL, 0);
    if (nLength <= nChars)
        return;
    CString strPrompt;
    strPrompt.Format("Enter no more than %d characters.", nChars);
    pDX->m_pDlgWnd->MessageBox(strPrompt, NULL, MB_ICONEXCLAMATION | MB_OK);
    pDX->Fail();
}
