#include "framework/waitcursor.h"

CWaitCursor::CWaitCursor()
    : m_hcurRestore(::SetCursor(::LoadCursorW(NULL, reinterpret_cast<LPCWSTR>(IDC_WAIT)))), m_bWaiting(TRUE)
{
}

CWaitCursor::~CWaitCursor()
{
    End();
}

void CWaitCursor::End()
{
    if (m_bWaiting)
        ::SetCursor(m_hcurRestore);
    m_bWaiting = FALSE;
}
