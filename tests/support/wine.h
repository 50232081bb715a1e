// Test support: whether the test runs under Wine, for the few checks that
// allow what Wine does where Windows documents otherwise. Each such check
// names the difference and what Windows does.
#pragma once

#include <windows.h>

inline bool RunningUnderWine()
{
    return ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version") != NULL;
}
