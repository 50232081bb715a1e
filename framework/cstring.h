// Classes in this file:
//   CString - an owned string of 8-bit characters (the window system's
//             8-bit code page) whose length is known without scanning.
// Portable: no Windows headers, so the digest engine can use it natively.
#pragma once

#include <string>

class CString
{
public:
// Constructors
    CString() = default;
    CString(const char* psz) : m_str(psz ? psz : "") {}

// Attributes
    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    operator const char*() const { return m_str.c_str(); }

// Operations
    void Empty() { m_str.clear(); }
    CString& operator=(const char* psz) { m_str = psz ? psz : ""; return *this; }

    // printf-style formatting; the result replaces the string's contents.
    void Format(const char* pszFormat, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;

    // A writable buffer of at least nMinLength characters plus a terminator,
    // for APIs that fill in text. ReleaseBuffer(-1) takes the length up to the
    // first NUL; ReleaseBuffer(n) keeps exactly n characters.
    char* GetBuffer(int nMinLength);
    void ReleaseBuffer(int nNewLength = -1);

#if defined(_WIN32)
    // String resource nID of the resource module, in the 8-bit code page;
    // FALSE (and empty) when there is none. Defined in cstring_win.cpp.
#pragma push_macro("LoadString")
#undef LoadString
    int LoadString(unsigned int nID);
    // <windows.h> renames LoadString to LoadStringA wherever it is seen, so
    // callers may reach either name, whatever the order of includes.
    int LoadStringA(unsigned int nID) { return LoadString(nID); }
#pragma pop_macro("LoadString")
#endif

    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator!=(const CString& a, const CString& b) { return a.m_str != b.m_str; }
    friend bool operator==(const CString& a, const char* b) { return a.m_str == (b ? b : ""); }
    friend bool operator!=(const CString& a, const char* b) { return !(a == b); }

private:
    std::string m_str;
};
