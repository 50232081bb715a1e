// A CCloseRequest that never looks, for file_bench_unchecked: linked ahead
// of the window library, it stands in for window/closerequest.cpp, so that
// make bench can time the hash command without the check beside it.
#include "window/closerequest.h"

CCloseRequest::CCloseRequest(HWND hWnd) : m_hWnd(hWnd), m_nextLook(0), m_bPointerInput(FALSE)
{
}

BOOL CCloseRequest::Waiting()
{
    return FALSE;
}
