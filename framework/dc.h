// Classes in this file:
//   CDC      - a device context the caller lends (never released here).
//   CPaintDC - the device context of one WM_PAINT: BeginPaint in the
//              constructor, EndPaint in the destructor.
#pragma once

#include <windows.h>

class CWnd;

class CDC
{
public:
// Constructors
    explicit CDC(HDC hDC = NULL) : m_hDC(hDC) {}
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

// Attributes
    HDC m_hDC;
    HDC GetSafeHdc() const { return m_hDC; }

// Operations
    COLORREF SetBkColor(COLORREF crColor) { return ::SetBkColor(m_hDC, crColor); }
    BOOL DrawIcon(int x, int y, HICON hIcon) { return ::DrawIcon(m_hDC, x, y, hIcon); }
};

class CPaintDC : public CDC
{
public:
// Constructors
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC();

// Attributes
    PAINTSTRUCT m_ps;

private:
    HWND m_hWnd;
};
