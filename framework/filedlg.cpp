#include "framework/filedlg.h"

#include <cderr.h>

#include <cstring>

#include "framework/winapp.h"
#include "framework/wnd.h"

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt, LPCSTR lpszFileName, DWORD dwFlags,
                         LPCSTR lpszFilter, CWnd* pParentWnd)
    : m_ofn(), m_bOpenFileDialog(bOpenFileDialog), m_pParentWnd(pParentWnd),
      m_path(nDefaultPathChars, '\0')
{
    if (lpszFileName != NULL) {
        const size_t n = std::strlen(lpszFileName);
        if (n + 1 > m_path.size())
            m_path.resize(n + 1, '\0');
        std::memcpy(m_path.data(), lpszFileName, n);
    }
    if (lpszFilter != NULL) {
        // The system wants "text\0pattern\0...\0\0".
        m_strFilter = lpszFilter;
        for (char& ch : m_strFilter) {
            if (ch == '|')
                ch = '\0';
        }
        m_strFilter.append(2, '\0');
    }
    if (lpszDefExt != NULL)
        m_strDefExt = lpszDefExt;

    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.hInstance = AfxGetInstanceHandle();
    m_ofn.lpstrFilter = lpszFilter != NULL ? m_strFilter.c_str() : NULL;
    m_ofn.nFilterIndex = 1;
    m_ofn.lpstrFile = m_path.data();
    m_ofn.nMaxFile = static_cast<DWORD>(m_path.size());
    m_ofn.lpstrDefExt = lpszDefExt != NULL ? m_strDefExt.c_str() : NULL;
    m_ofn.Flags = dwFlags | OFN_EXPLORER;
}

CString CFileDialog::GetPathName() const
{
    if (m_ofn.lpstrFile == NULL)
        return CString();
    return CString(m_ofn.lpstrFile);
}

HWND CFileDialog::GetOwner() const
{
    // The top-level window, even when the parent given is a control: a
    // dialog owned by a button would leave the main window enabled.
    HWND hWnd = m_pParentWnd != NULL ? m_pParentWnd->m_hWnd : NULL;
    if (hWnd == NULL) {
        CWinApp* pApp = AfxGetApp();
        if (pApp != NULL && pApp->m_pMainWnd != NULL)
            hWnd = pApp->m_pMainWnd->m_hWnd;
    }
    return hWnd != NULL ? ::GetAncestor(hWnd, GA_ROOT) : NULL;
}

INT_PTR CFileDialog::DoModal()
{
    m_ofn.hwndOwner = GetOwner();
    for (;;) {
        // The caller may have pointed lpstrFile elsewhere; otherwise keep
        // the size honest if the buffer grew.
        if (m_ofn.lpstrFile == m_path.data() && m_ofn.nMaxFile > m_path.size())
            m_ofn.nMaxFile = static_cast<DWORD>(m_path.size());

        const BOOL bOK = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
        if (bOK)
            return IDOK;
        const DWORD dwError = ::CommDlgExtendedError();
        if (dwError == 0)
            return IDCANCEL;

        if (dwError == FNERR_BUFFERTOOSMALL && m_ofn.lpstrFile == m_path.data()) {
            // The dialog leaves the size it needed in the buffer's first two
            // bytes. Make room and ask again rather than drop the choice
            // silently.
            WORD wNeeded = 0;
            std::memcpy(&wNeeded, m_path.data(), sizeof(wNeeded));
            size_t nNew = m_path.size() * 2;
            if (wNeeded > nNew)
                nNew = wNeeded;
            m_path.assign(nNew + 1, '\0');
            m_ofn.lpstrFile = m_path.data();
            m_ofn.nMaxFile = static_cast<DWORD>(m_path.size());
            ::MessageBoxA(m_ofn.hwndOwner,
                          "The name of the file you selected was too long to be received. "
                          "Please select it again.",
                          AfxGetAppName(), MB_ICONEXCLAMATION | MB_OK);
            continue;
        }

        ReportFailure(m_ofn.hwndOwner, dwError);
        return IDABORT;
    }
}

void CFileDialog::ReportFailure(HWND hWndOwner, DWORD dwError) const
{
    CString strText;
    strText.Format("The file dialog could not be shown (common dialog error 0x%04lX).",
                   static_cast<unsigned long>(dwError));
    ::MessageBoxA(hWndOwner, strText, AfxGetAppName(), MB_ICONEXCLAMATION | MB_OK);
}
