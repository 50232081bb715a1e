// Classes in this file:
//   CWaitCursor - the wait cursor over the thread's windows while work runs
//                 on the thread and takes no messages, so the cursor set
//                 stays; the cursor before it once the work ends (End, or
//                 the object going). Windows keeps a cursor for each
//                 thread's input, so over other programs' windows theirs
//                 shows.
#pragma once

#include <windows.h>

class CWaitCursor
{
public:
// Constructors
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

// Operations
    // The cursor as it was, as before a message box, over which the arrow
    // must show.
    void End();

private:
    HCURSOR m_hcurRestore;
    BOOL m_bWaiting;
};
