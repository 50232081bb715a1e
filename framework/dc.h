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
    // At the icon's own size, not the system DPI's.
    BOOL DrawIcon(int x, int y, HICON hIcon) { return ::DrawIconEx(m_hDC, x, y, hIcon, 0, 0, 0, NULL, DI_NORMAL); }
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
