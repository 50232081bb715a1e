#include "framework/winapp.h"

#include <commctrl.h>

#include "framework/afxres.h"
#include "framework/dpi.h"
#include "framework/syslib.h"
#include "framework/wnd.h"

namespace {

CWinApp* g_pApp = NULL;

CString DefaultAppName()
{
    CString strTitle;
    strTitle.LoadString(AFX_IDS_APP_TITLE);
    return strTitle;
}

} // namespace

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCSTR lpszAppName)
    : m_pszAppName(NULL), m_hInstance(NULL), m_pMainWnd(NULL), m_nExitCode(0)
{
    m_strAppName = lpszAppName != NULL ? CString(lpszAppName) : DefaultAppName();
    m_pszAppName = m_strAppName;
    // There is one application; a second object is a mistake that must not
    // take over from the first.
    if (g_pApp == NULL)
        g_pApp = this;
    // Before any window: a window keeps the DPI it was created at.
    AfxInitDpiAwareness();
}

CWinApp::~CWinApp()
{
    if (g_pApp == this)
        g_pApp = NULL;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return m_nExitCode;
}

int CWinApp::Run()
{
    MSG msg;
    for (;;) {
        const BOOL bRet = ::GetMessageA(&msg, NULL, 0, 0);
        if (bRet == 0) {
            m_nExitCode = static_cast<int>(msg.wParam);
            break;
        }
        if (bRet == -1)
            break;
        // A modeless main window needs the dialog keys: Tab, Enter, Escape.
        HWND hWndMain = m_pMainWnd != NULL ? m_pMainWnd->m_hWnd : NULL;
        if (hWndMain != NULL && ::IsDialogMessageA(hWndMain, &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return ExitInstance();
}

// Not a shared icon: the caller owns it and frees it with DestroyIcon, so
// a window can release what it loaded when it goes.
HICON CWinApp::LoadIcon(UINT nIDResource, int cx, int cy) const
{
    return static_cast<HICON>(::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource),
                                           IMAGE_ICON, cx, cy, LR_DEFAULTSIZE));
}

BOOL CWinApp::Enable3dControls()
{
    // Controls draw themselves in 3-D now; what is left is registering the
    // common-control classes (the progress bar) the templates name.
    AfxInitCommonControls();
    return TRUE;
}

void CWinApp::OnHelp()
{
    // No help content ships with the program: say so instead of doing nothing.
    CString strText;
    strText.Format("No help is available for %s.", m_pszAppName);
    HWND hWndOwner = ::GetActiveWindow();
    if (hWndOwner == NULL && m_pMainWnd != NULL)
        hWndOwner = m_pMainWnd->m_hWnd;
    ::MessageBoxA(hWndOwner, strText, m_pszAppName, MB_ICONINFORMATION | MB_OK);
}

CWinApp* AfxGetApp()
{
    return g_pApp;
}

LPCSTR AfxGetAppName()
{
    if (g_pApp != NULL)
        return g_pApp->m_pszAppName;
    static const CString strName = DefaultAppName();
    return strName;
}

HINSTANCE AfxGetInstanceHandle()
{
    if (g_pApp != NULL && g_pApp->m_hInstance != NULL)
        return g_pApp->m_hInstance;
    return ::GetModuleHandleA(NULL);
}

HINSTANCE AfxGetResourceHandle()
{
    // Resources live in the executable; there are no satellite DLLs.
    return AfxGetInstanceHandle();
}

void AfxEnableControlContainer()
{
    // No dialog hosts ActiveX controls, so there is no container to set up.
}

void AfxInitCommonControls()
{
    static const BOOL bDone = [] {
        INITCOMMONCONTROLSEX icc = { sizeof(icc), ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES };
        return ::InitCommonControlsEx(&icc);
    }();
    (void)bDone;
}

// The command line is not read: the program takes no arguments.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    // Before any window, dialog or file dialog loads a DLL by name.
    AfxRestrictDllSearch();
    AfxGetSetWindowTheme();

    CWinApp* pApp = AfxGetApp();
    if (pApp == NULL)
        return -1;
    pApp->m_hInstance = hInstance;

    if (!pApp->InitInstance()) {
        // A main window still open here would outlive the program's logic.
        if (pApp->m_pMainWnd != NULL && pApp->m_pMainWnd->m_hWnd != NULL)
            ::DestroyWindow(pApp->m_pMainWnd->m_hWnd);
        return pApp->ExitInstance();
    }
    return pApp->Run();
}
