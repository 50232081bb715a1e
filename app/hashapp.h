// Classes in this file:
//   CHashApp - the application object: runs the main window modally as the
//              program's whole life.
#pragma once

#include "framework/afxwin.h"

class CHashApp : public CWinApp
{
public:
    CHashApp();

// Overrides
    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};
