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
    AfxEnableControlContainer();
    Enable3dControls();

    CHashDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = NULL;
    return FALSE;
}
