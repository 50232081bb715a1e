#include "framework/dc.h"

#include "framework/wnd.h"

CPaintDC::CPaintDC(CWnd* pWnd)
    : m_ps(), m_hWnd(pWnd->m_hWnd)
{
    m_hDC = ::BeginPaint(m_hWnd, &m_ps);
}

CPaintDC::~CPaintDC()
{
    // EndPaint also validates the window; without it WM_PAINT would repeat.
    ::EndPaint(m_hWnd, &m_ps);
}
