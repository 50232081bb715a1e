#include "framework/filedlg.h"

#include "framework/winapp.h"
#include "framework/wnd.h"

CFileDialog::CFileDialog(DWORD dwFlags, LPCSTR lpszFilter, CWnd* pParentWnd)
    : m_ofn(), m_pParentWnd(pParentWnd), m_path(32 * 1024, '\0')
{
    if (lpszFilter != NULL) {
        // The system wants "text\0pattern\0...\0\0".
        m_strFilter = lpszFilter;
        for (char& ch : m_strFilter) {
            if (ch == '|')
                ch = '\0';
        }
        m_strFilter.append(2, '\0');
    }

    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.hInstance = AfxGetInstanceHandle();
    m_ofn.lpstrFilter = lpszFilter != NULL ? m_strFilter.c_str() : NULL;
    m_ofn.nFilterIndex = 1;
    m_ofn.lpstrFile = m_path.data();
    m_ofn.nMaxFile = static_cast<DWORD>(m_path.size());
    m_ofn.Flags = dwFlags | OFN_EXPLORER;
}

CString CFileDialog::GetPathName() const
{
    return CString(m_ofn.lpstrFile);
}

INT_PTR CFileDialog::DoModal()
{
    m_ofn.hwndOwner = CWnd::GetSafeOwner(m_pParentWnd);
    if (::GetOpenFileNameA(&m_ofn))
        return IDOK;
    const DWORD dwError = ::CommDlgExtendedError();
    if (dwError == 0)
        return IDCANCEL;

    // Not taken for a cancel: the user would see nothing happen.
    CString strText;
    strText.Format("The file dialog could not be shown (common dialog error 0x%04lX).",
                   static_cast<unsigned long>(dwError));
    ::MessageBoxA(m_ofn.hwndOwner, strText, AfxGetAppName(), MB_ICONEXCLAMATION | MB_OK);
    return IDABORT;
}
