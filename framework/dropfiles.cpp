#include "framework/dropfiles.h"

UINT CDropFiles::GetCount() const
{
    return ::DragQueryFileW(m_hDrop, 0xFFFFFFFF, NULL, 0);
}

std::wstring CDropFiles::GetPathW(UINT nIndex) const
{
    // The length first: a path past MAX_PATH comes out whole.
    const UINT nLength = ::DragQueryFileW(m_hDrop, nIndex, NULL, 0);
    std::wstring path(nLength + 1, L'\0');
    path.resize(::DragQueryFileW(m_hDrop, nIndex, &path[0], nLength + 1));
    return path;
}

BOOL CDropFiles::GetPathName(UINT nIndex, CString& rPath) const
{
    rPath.Empty();
    const std::wstring path = GetPathW(nIndex);
    if (path.empty())
        return FALSE;
    // UTF-8 refuses what it cannot encode (a lone surrogate); another code
    // page says so through the default character it had to use.
    const bool bUtf8 = ::GetACP() == CP_UTF8;
    const DWORD dwFlags = bUtf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL bDefaultUsed = FALSE;
    LPBOOL pDefaultUsed = bUtf8 ? NULL : &bDefaultUsed;
    const int nWide = static_cast<int>(path.size());
    const int nBytes = ::WideCharToMultiByte(CP_ACP, dwFlags, path.data(), nWide, NULL, 0, NULL, pDefaultUsed);
    if (nBytes <= 0 || bDefaultUsed)
        return FALSE;
    char* pBuffer = rPath.GetBuffer(nBytes);
    ::WideCharToMultiByte(CP_ACP, dwFlags, path.data(), nWide, pBuffer, nBytes, NULL, NULL);
    rPath.ReleaseBuffer(nBytes);
    return TRUE;
}
