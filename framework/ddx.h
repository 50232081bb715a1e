// Dialog data exchange: one pass over a window's fields, in one direction.
//   CDataExchange - the direction, the window, and the failure that stops
//                   the pass.
//   DDX_Text      - moves a control's text to or from a CString.
//   DDV_MaxChars  - checks (reading) or imposes (writing) a length limit on
//                   the field of the DDX_Text just before it.
#pragma once

#include <windows.h>

#include "framework/cstring.h"

class CWnd;

class CDataExchange
{
public:
// Constructors
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

// Attributes
    BOOL m_bSaveAndValidate;    // TRUE: controls to members; FALSE: members to controls
    CWnd* m_pDlgWnd;
    BOOL m_bFail;               // once set, the rest of the pass does nothing
    HWND m_hWndLastControl;     // the field a following DDV_ call applies to

// Operations
    // The control's window, remembered for a following DDV_ call; NULL when
    // the dialog has no such control.
    HWND PrepareCtrl(int nIDC);
    // Stops the pass and puts the user in the offending field.
    void Fail();
};

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// nChars counts characters as the edit control does (UTF-16 units), not bytes.
void DDV_MaxChars(CDataExchange* pDX, CString const& value, int nChars);
