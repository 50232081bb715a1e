// Classes in this file:
//   CFileDialog - the system's Open (or Save As) dialog. It owns its
//                 OPENFILENAME, the filter and a path buffer large enough
//                 for any path the dialog can return.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <string>
#include <vector>

#include "framework/cstring.h"

class CWnd;

class CFileDialog
{
public:
// Constructors
    // lpszFilter pairs are separated by '|' ("All Files (*.*)|*.*||").
    explicit CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt = NULL, LPCSTR lpszFileName = NULL,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                         LPCSTR lpszFilter = NULL, CWnd* pParentWnd = NULL);
    virtual ~CFileDialog() = default;
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

// Attributes
    // The caller may set fields (lpstrTitle, lpstrInitialDir) before DoModal.
    OPENFILENAMEA m_ofn;

    // The chosen path, after DoModal returned IDOK.
    CString GetPathName() const;

// Operations
    // IDOK when a file was chosen, IDCANCEL when the user cancelled. When
    // the dialog fails, the user is told why and the result is IDABORT.
    virtual INT_PTR DoModal();

    enum { nDefaultPathChars = 32 * 1024 };

private:
    HWND GetOwner() const;
    void ReportFailure(HWND hWndOwner, DWORD dwError) const;

    BOOL m_bOpenFileDialog;
    CWnd* m_pParentWnd;
    std::vector<char> m_path;
    std::string m_strFilter;
    std::string m_strDefExt;
};
