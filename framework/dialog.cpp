#include "framework/dialog.h"

#include "framework/afxres.h"
#include "framework/winapp.h"

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

namespace {

// Messages whose result a dialog procedure returns itself instead of
// leaving it in DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message)
{
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
        return true;
    switch (message) {
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
        return true;
    default:
        return false;
    }
}

} // namespace

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd), m_defaultCall(), m_bModeless(false)
{
}

CDialog::~CDialog()
{
    if (m_hWnd != NULL && m_bModeless) {
        // Unhook first: the messages of the destruction must not reach
        // handlers of an object that is half gone.
        ::SetWindowLongPtrA(m_hWnd, DWLP_USER, 0);
        ::DestroyWindow(m_hWnd);
        m_hWnd = NULL;
        DetachBorrowed();
    }
}

INT_PTR CDialog::DoModal()
{
    if (m_hWnd != NULL)
        return -1;
    AfxInitCommonControls();
    m_bModeless = false;
    return ::DialogBoxParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDTemplate),
                             GetSafeOwner(m_pParentWnd), DialogProc, reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    if (m_hWnd != NULL)
        return FALSE;
    AfxInitCommonControls();
    m_nIDTemplate = nIDTemplate;
    m_pParentWnd = pParentWnd;
    m_bModeless = true;
    HWND hWnd = ::CreateDialogParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDTemplate),
                                     pParentWnd != NULL ? pParentWnd->m_hWnd : NULL,
                                     DialogProc, reinterpret_cast<LPARAM>(this));
    return hWnd != NULL;
}

void CDialog::EndDialog(int nResult)
{
    ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

LRESULT CDialog::CallDefault(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_hWnd == NULL)
        return 0;
    const DefaultCall saved = m_defaultCall;
    m_defaultCall = DefaultCall{ true, message, wParam, lParam };
    const LRESULT lResult = ::DefDlgProcA(m_hWnd, message, wParam, lParam);
    m_defaultCall = saved;
    return lResult;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CDialog* pDlg;
    if (message == WM_INITDIALOG) {
        pDlg = reinterpret_cast<CDialog*>(lParam);
        ::SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
        pDlg->m_hWnd = hWnd;
    } else {
        // Messages before WM_INITDIALOG (WM_SETFONT) find no object yet.
        pDlg = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hWnd, DWLP_USER));
    }
    if (pDlg == NULL)
        return FALSE;
    return pDlg->WindowProc(message, wParam, lParam);
}

INT_PTR CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_defaultCall.bActive && m_defaultCall.message == message
        && m_defaultCall.wParam == wParam && m_defaultCall.lParam == lParam) {
        m_defaultCall.bActive = false;
        return FALSE;
    }

    const HWND hWnd = m_hWnd;
    const MSG saved = m_msgCur;
    m_msgCur = MSG();
    m_msgCur.hwnd = hWnd;
    m_msgCur.message = message;
    m_msgCur.wParam = wParam;
    m_msgCur.lParam = lParam;

    INT_PTR nResult = FALSE;
    if (message == WM_INITDIALOG) {
        nResult = OnInitDialog();
    } else if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hWnd, DWLP_USER, 0);
        m_hWnd = NULL;
        DetachBorrowed();
    } else {
        LRESULT lResult = 0;
        if (OnWndMsg(message, wParam, lParam, &lResult)) {
            if (ReturnsResultDirectly(message)) {
                nResult = static_cast<INT_PTR>(lResult);
            } else {
                if (::IsWindow(hWnd))
                    ::SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, lResult);
                nResult = TRUE;
            }
        }
    }

    m_msgCur = saved;
    return nResult;
}
