// Loading Windows' DLLs from System32 only. The program is run from
// Downloads folders, where a browser may have saved a DLL named like one of
// Windows' own; a DLL that is not one of Windows' "known DLLs" is looked for
// in the program's folder first unless the search is restricted.
#pragma once

#include <windows.h>

// Restricts every later load by name, the program's and the system DLLs',
// to System32. The program's first act, before any window exists.
void AfxRestrictDllSearch();

// The DLL from System32, or NULL when it is not there.
HMODULE AfxLoadSystemLibrary(LPCWSTR lpszName);

// A function of hModule by name, as type F; NULL where the module lacks it
// or is NULL.
template <typename F>
F AfxGetProc(HMODULE hModule, LPCSTR lpszName)
{
    if (hModule == NULL)
        return NULL;
    return reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(hModule, lpszName)));
}

// SetWindowTheme from System32's uxtheme, looked up once; NULL without it.
typedef HRESULT(WINAPI* AFX_SETWINDOWTHEME)(HWND, LPCWSTR, LPCWSTR);
AFX_SETWINDOWTHEME AfxGetSetWindowTheme();
