// The parts of CString that need the window system.
#include "framework/cstring.h"

#include <windows.h>

#include "framework/winapp.h"

#pragma push_macro("LoadString")
#undef LoadString
BOOL CString::LoadString(UINT nID)
{
    // LoadStringW with no buffer gives the resource's own text and length,
    // so a string of any length comes out whole.
    const wchar_t* pWide = NULL;
    const int nWide = ::LoadStringW(AfxGetResourceHandle(), nID, reinterpret_cast<LPWSTR>(&pWide), 0);
    if (nWide <= 0 || pWide == NULL) {
        Empty();
        return FALSE;
    }
    const int nBytes = ::WideCharToMultiByte(CP_ACP, 0, pWide, nWide, NULL, 0, NULL, NULL);
    char* pBuffer = GetBuffer(nBytes);
    ::WideCharToMultiByte(CP_ACP, 0, pWide, nWide, pBuffer, nBytes, NULL, NULL);
    ReleaseBuffer(nBytes);
    return TRUE;
}
#pragma pop_macro("LoadString")
