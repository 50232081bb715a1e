#include "app/hashapp.h"

#include "window/hashdlg.h"

BEGIN_MESSAGE_MAP(CHashApp, CWinApp)
    ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

CHashApp::CHashApp() : CWinApp(NULL)
{
}

// The one application object.
CHashApp theApp;

// Runs the main window and returns FALSE, so the framework ends the program
// instead of starting a message pump of its own.
BOOL CHashApp::InitInstance()
{
    // Hashing a large file takes no messages for a while, by design: the
    // window must not be swapped for a frozen "(Not Responding)" ghost that
    // hides the progress bar and invites the user to end the program.
    ::DisableProcessWindowsGhosting();
    AfxEnableControlContainer();
    Enable3dControls();

    CHashDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = NULL;
    return FALSE;
}
