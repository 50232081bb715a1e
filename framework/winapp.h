// Classes in this file:
//   CWinApp - the application object: one per program, constructed as a
//             global before the entry point, found with AfxGetApp().
// Also the start-up functions. A program's entry point is one line:
//   int WINAPI WinMain(HINSTANCE h, HINSTANCE p, LPSTR cmd, int show)
//   { return AfxWinMain(h, p, cmd, show); }
#pragma once

#include <windows.h>

#include "framework/cmdtarget.h"
#include "framework/cstring.h"

class CWnd;

class CWinApp : public CCmdTarget
{
public:
// Constructors
    // Registers this object as the application. With no name, the title is
    // string AFX_IDS_APP_TITLE.
    explicit CWinApp(LPCSTR lpszAppName = NULL);
    ~CWinApp() override;

// Attributes
    LPCSTR m_pszAppName;    // the title: message box captions
    HINSTANCE m_hInstance;
    CWnd* m_pMainWnd;       // cleared when that window object is destroyed

// Overridables
    // Start-up; FALSE ends the program without running the message pump.
    virtual BOOL InitInstance();
    // Clean-up; the result is the program's exit code.
    virtual int ExitInstance();
    // The message pump, until WM_QUIT; returns ExitInstance().
    virtual int Run();

// Operations
    // The icon's image nearest cx x cy; with no size, the system DPI's.
    HICON LoadIcon(UINT nIDResource, int cx = 0, int cy = 0) const;
    BOOL Enable3dControls();

// Command handlers (public so derived maps can name them)
    void OnHelp();

private:
    CString m_strAppName;
    int m_nExitCode;

    DECLARE_MESSAGE_MAP()
};

CWinApp* AfxGetApp();
LPCSTR AfxGetAppName();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
void AfxEnableControlContainer();
// Registers the common controls the dialogs use (the progress bar); once.
void AfxInitCommonControls();

int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);
