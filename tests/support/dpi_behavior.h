// Test support: LentDpiBehavior, which lends the test program the two
// USER32 functions that turn Windows' own rescaling of a dialog off (Wine
// has neither) and records what each window was given.
#pragma once

#include <windows.h>

#include <cstring>
#include <map>
#include <string>

#include "tests/support/import_patch.h"

extern "C" decltype(&::GetProcAddress) __imp_GetProcAddress;

class LentDpiBehavior
{
public:
    LentDpiBehavior() : m_patch(&__imp_GetProcAddress, &GetProc) { s_flags.clear(); }

    // "mask/values" as the window was given them, or "none".
    static std::string Flags(HWND hWnd) { return s_flags.count(hWnd) ? s_flags[hWnd] : "none"; }

private:
    // SetDialogDpiChangeBehavior and SetDialogControlDpiChangeBehavior alike.
    static BOOL WINAPI SetBehavior(HWND hWnd, int mask, int values)
    {
        s_flags[hWnd] = std::to_string(mask) + "/" + std::to_string(values);
        return TRUE;
    }
    static FARPROC WINAPI GetProc(HMODULE hModule, LPCSTR lpszName)
    {
        const bool bLent = HIWORD(lpszName) && (!std::strcmp(lpszName, "SetDialogDpiChangeBehavior") ||
                                                !std::strcmp(lpszName, "SetDialogControlDpiChangeBehavior"));
        return bLent ? reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&SetBehavior)) : s_real(hModule, lpszName);
    }

    static inline const decltype(&::GetProcAddress) s_real = __imp_GetProcAddress;
    static inline std::map<HWND, std::string> s_flags;
    ImportPatch<decltype(&::GetProcAddress)> m_patch;
};
