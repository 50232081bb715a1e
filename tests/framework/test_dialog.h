// Shared by the framework tests: the application object they run under, and
// the hooks and message pump of tests/support.
#pragma once

#include "framework/afxwin.h"
#include "tests/framework/resource.h"
#include "tests/support/dialog_hooks.h"

// Title from the string table ("Framework Test"); its map takes the Help
// command, a command no dialog has, and one a dialog also takes.
class CTestApp : public CWinApp
{
public:
    int m_nAppCommands = 0;
    int m_nAppPresses = 0;
    void OnAppCommand() { ++m_nAppCommands; }
    void OnAppPress() { ++m_nAppPresses; }

    DECLARE_MESSAGE_MAP()
};
