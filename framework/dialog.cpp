#include "framework/dialog.h"

#include "framework/afxres.h"
#include "framework/dpi.h"
#include "framework/winapp.h"

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
    ON_WM_DPICHANGED()
    ON_WM_GETDPISCALEDSIZE()
    ON_WM_GETFONT()
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
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd), m_defaultCall(), m_bModeless(false), m_nDpi(0),
      m_bOwnLayout(false), m_lfDialog()
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

void CDialog::MapDialogRect(LPRECT lpRect) const
{
    if (m_font == NULL) {
        ::MapDialogRect(m_hWnd, lpRect);
        return;
    }
    *lpRect = CDialogLayout::MapRect(*lpRect, CDialogLayout::BaseUnits(m_font));
}

void CDialog::OnDpiChanged(UINT nDpi, LPRECT lpRect)
{
    m_nDpi = nDpi;
    const UINT nFlags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (!m_bOwnLayout)
        Default();
    ::SetWindowPos(m_hWnd, NULL, lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                   lpRect->bottom - lpRect->top, nFlags);
    if (!m_bOwnLayout)
        return;
    CFontHandle font(m_layout.CreateFontAt(m_lfDialog, nDpi));
    const SIZE sizeBase = CDialogLayout::BaseUnits(font);
    const SIZE sizeIcon = AfxGetIconSizeForDpi(nDpi);
    std::vector<CIconHandle> icons;
    for (size_t i = 0; i < m_controls.size(); ++i) {
        const RECT rc = CDialogLayout::ControlRect(m_layout.m_items[i], sizeBase);
        ::SetWindowPos(m_controls[i], NULL, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, nFlags);
        ::SendMessageW(m_controls[i], WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(font)), TRUE);
        if (m_layout.m_items[i].lpszIcon != NULL) {
            // The control takes the icon's size, as when it was created.
            icons.emplace_back(static_cast<HICON>(::LoadImageW(AfxGetResourceHandle(), m_layout.m_items[i].lpszIcon,
                                                               IMAGE_ICON, sizeIcon.cx, sizeIcon.cy, 0)));
            ::SendMessageW(m_controls[i], STM_SETICON, reinterpret_cast<WPARAM>(static_cast<HICON>(icons.back())), 0);
        }
    }
    // The dialog and its controls no longer use the font and icons of the
    // last change.
    m_font = std::move(font);
    m_icons = std::move(icons);
}

BOOL CDialog::OnGetDpiScaledSize(UINT nDpi, LPSIZE lpSize)
{
    if (!m_bOwnLayout)
        return static_cast<BOOL>(Default());
    const CFontHandle font(m_layout.CreateFontAt(m_lfDialog, nDpi));
    const SIZE size = m_layout.ClientSize(CDialogLayout::BaseUnits(font));
    RECT rc = { 0, 0, size.cx, size.cy };
    AfxAdjustWindowRectExForDpi(&rc, static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)),
                                static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)), nDpi);
    lpSize->cx = rc.right - rc.left;
    lpSize->cy = rc.bottom - rc.top;
    return TRUE;
}

HFONT CDialog::OnGetFont()
{
    return m_font != NULL ? static_cast<HFONT>(m_font) : reinterpret_cast<HFONT>(Default());
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
        // The controls in template order, before OnInitDialog may change
        // their z-order.
        m_controls.clear();
        for (HWND hWndChild = ::GetWindow(hWnd, GW_CHILD); hWndChild != NULL;
             hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT))
            m_controls.push_back(hWndChild);
        m_nDpi = AfxGetDpiForWindow(hWnd);
        m_font.Attach(NULL);
        m_icons.clear();
        const HFONT hFont = reinterpret_cast<HFONT>(::SendMessageW(hWnd, WM_GETFONT, 0, 0));
        m_bOwnLayout = m_layout.Load(AfxGetResourceHandle(), m_nIDTemplate)
            && m_layout.m_items.size() == m_controls.size()
            && ::GetObjectW(hFont, sizeof m_lfDialog, &m_lfDialog) == sizeof m_lfDialog;
        if (m_bOwnLayout)
            AfxDisableDialogDpiScaling(hWnd);
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
