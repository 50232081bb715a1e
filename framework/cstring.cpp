#include "framework/cstring.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

void CString::Format(const char* pszFormat, ...)
{
    // Measure first, then format into exactly that much room: no fixed
    // buffer can cut a long result short.
    va_list args;
    va_start(args, pszFormat);
    const int nLength = std::vsnprintf(nullptr, 0, pszFormat, args);
    va_end(args);
    m_str.resize(nLength > 0 ? static_cast<size_t>(nLength) : 0);
    if (nLength > 0) {
        va_start(args, pszFormat);
        std::vsnprintf(&m_str[0], m_str.size() + 1, pszFormat, args);
        va_end(args);
    }
}

char* CString::GetBuffer(int nMinLength)
{
    if (nMinLength > GetLength())
        m_str.resize(static_cast<size_t>(nMinLength));
    return &m_str[0];
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (nNewLength < 0)
        nNewLength = static_cast<int>(std::strlen(m_str.c_str()));
    if (nNewLength > GetLength())
        nNewLength = GetLength();
    m_str.resize(static_cast<size_t>(nNewLength));
}
