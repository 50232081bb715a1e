// Classes in this file:
//   CFileDialog - the system's Open dialog. It owns its OPENFILENAME, the
//                 filter and a path buffer large enough for any path the
//                 dialog can return.
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
    CFileDialog(DWORD dwFlags, LPCSTR lpszFilter, CWnd* pParentWnd = NULL);
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
    INT_PTR DoModal();

private:
    CWnd* m_pParentWnd;
    // 32 Ki characters: the longest path the system can name.
    std::vector<char> m_path;
    std::string m_strFilter;
};
