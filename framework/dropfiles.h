// Classes in this file:
//   CDropFiles - the files of one WM_DROPFILES. It owns the drop handle and
//                finishes it (DragFinish) when destroyed.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "framework/cstring.h"

class CDropFiles
{
public:
// Constructors
    explicit CDropFiles(HDROP hDrop) : m_hDrop(hDrop) {}
    ~CDropFiles() { ::DragFinish(m_hDrop); }
    CDropFiles(const CDropFiles&) = delete;
    CDropFiles& operator=(const CDropFiles&) = delete;

// Attributes
    // 0 too when the drop's list did not reach this process.
    UINT GetCount() const;
    // The full path of file nIndex, whole whatever its length, in the 8-bit
    // code page. FALSE when that code page cannot hold it: the name is
    // never handed on with '?' for the characters it lacks.
    BOOL GetPathName(UINT nIndex, CString& rPath) const;

private:
    std::wstring GetPathW(UINT nIndex) const;

    HDROP m_hDrop;
};
