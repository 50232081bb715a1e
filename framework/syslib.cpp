#include "framework/syslib.h"

#include <string>

namespace {

// Whether LOAD_LIBRARY_SEARCH_SYSTEM32 is understood: Windows 8 and later,
// and Windows 7 with update KB2533623.
BOOL g_bSearchFlags = FALSE;

} // namespace

void AfxRestrictDllSearch()
{
    typedef BOOL(WINAPI * SETDEFAULTDLLDIRECTORIES)(DWORD);
    // Looked up, not imported: without the update the import would stop
    // the program from starting at all.
    const auto pfnSetDefault =
        AfxGetProc<SETDEFAULTDLLDIRECTORIES>(::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
    if (pfnSetDefault != NULL && pfnSetDefault(LOAD_LIBRARY_SEARCH_SYSTEM32))
        g_bSearchFlags = TRUE;
    else
        ::SetDllDirectoryW(L"");   // at least not the current folder
}

HMODULE AfxLoadSystemLibrary(LPCWSTR lpszName)
{
    if (g_bSearchFlags)
        return ::LoadLibraryExW(lpszName, NULL, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Without the flags a full path is the only way to name System32.
    WCHAR szDir[MAX_PATH];
    const UINT nLength = ::GetSystemDirectoryW(szDir, MAX_PATH);
    if (nLength == 0 || nLength >= MAX_PATH)
        return NULL;
    const std::wstring path = std::wstring(szDir, nLength) + L"\\" + lpszName;
    return ::LoadLibraryW(path.c_str());
}

AFX_SETWINDOWTHEME AfxGetSetWindowTheme()
{
    // uxtheme stays loaded for the life of the process, as an import would.
    static const AFX_SETWINDOWTHEME pfn =
        AfxGetProc<AFX_SETWINDOWTHEME>(AfxLoadSystemLibrary(L"uxtheme.dll"), "SetWindowTheme");
    return pfn;
}
