// CHashDlg: set-up, data exchange and every handler but the hash command,
// which has a file of its own (hashnow.cpp).
#include "window/hashdlg.h"

#include "window/aboutdlg.h"
#include "window/openfile.h"

namespace {

const UINT WM_TASKBARBUTTONCREATED = CTaskbarButton::GetCreatedMessage();

} // namespace

BEGIN_MESSAGE_MAP(CHashDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(IDC_HASHNOW, OnHashNow)
    ON_BN_CLICKED(IDC_CLEAR, OnClear)
    ON_WM_CTLCOLOR()
    ON_BN_CLICKED(IDC_FILE, OnFile)
    ON_EN_CHANGE(IDC_INPUT, OnChangeInput)
    ON_WM_DROPFILES()
    ON_WM_DPICHANGED()
    ON_WM_CLIPBOARDUPDATE()
    ON_WM_TIMER()
    ON_REGISTERED_MESSAGE(WM_TASKBARBUTTONCREATED, OnTaskbarButtonCreated)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

const COLORREF kHashBackground = RGB(255, 255, 0);

// Under a High Contrast theme the user's own colours must win: white text
// on yellow cannot be read.
bool HighContrastOn()
{
    HIGHCONTRASTW hc = { sizeof(hc), 0, NULL };
    return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(hc), &hc, 0) && (hc.dwFlags & HCF_HIGHCONTRASTON);
}

// Puts a label just above its field in z-order, where a screen reader looks
// for the field's name. Tab order counts only tab stops, which labels are
// not, so it stays as the template has it.
void PutLabelBefore(CWnd* pLabel, CWnd* pField)
{
    const CWnd* pAbove = pField->GetWindow(GW_HWNDPREV);
    pLabel->SetWindowPos(pAbove != NULL ? pAbove : &CWnd::wndTop, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

} // namespace

CHashDlg::CHashDlg(CWnd* pParent)
    : CDialog(CHashDlg::IDD, pParent), m_nMode(MODE_TEXT),
      m_hIcon(AfxGetApp()->LoadIcon(IDR_MAINFRAME)), m_bHashing(FALSE), m_nVerdictTries(0)
{
}

void CHashDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_INPUT, m_strInput);
    DDV_MaxChars(pDX, m_strInput, 255);
    DDX_Text(pDX, IDC_HASH, m_strHash);
}

BOOL CHashDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    CMenu* pSysMenu = GetSystemMenu(FALSE);
    if (pSysMenu != NULL) {
        CString strAboutMenu;
        strAboutMenu.LoadString(IDS_ABOUTBOX);
        if (!strAboutMenu.IsEmpty()) {
            pSysMenu->AppendMenu(MF_SEPARATOR);
            pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, strAboutMenu);
        }
    }

    SetIcons();

    // A second run of the same window replaces the first run's brush.
    m_hbrHash.Attach(::CreateSolidBrush(kHashBackground));
    m_nMode = MODE_TEXT;
    GetDlgItem(IDC_STATUS)->SetWindowText("");

    // A themed bar glides to each new position on timers, which never run
    // while a file is hashed without taking messages: it would stand still.
    // The classic bar is drawn at each position at once.
    GetDlgItem(IDC_PROGRESS)->SetWindowTheme(L" ", L" ");
    DragAcceptFiles();
    PutLabelBefore(GetDlgItem(IDC_INPUT_LABEL), GetDlgItem(IDC_INPUT));
    PutLabelBefore(GetDlgItem(IDC_HASH_LABEL), GetDlgItem(IDC_HASH));

    m_com.Start();
    m_status.Attach(GetDlgItem(IDC_STATUS)->m_hWnd, m_com);
    CTaskbarButton::AllowCreatedMessage(m_hWnd);
    ::AddClipboardFormatListener(m_hWnd);
    return TRUE;
}

// The status line's mark goes while the control is still there, and COM
// once nothing made with it is held.
void CHashDlg::OnDestroy()
{
    ::RemoveClipboardFormatListener(m_hWnd);
    m_taskbar.Detach();
    m_status.Detach();
    m_com.Stop();
    CDialog::OnDestroy();
}

LRESULT CHashDlg::OnTaskbarButtonCreated(WPARAM, LPARAM)
{
    m_taskbar.OnCreated(m_hWnd, m_com);
    return 0;
}

// Only a new text is told: the same verdict again, as when the clipboard
// changed during a hash and the verdict after it has read it already,
// says nothing new.
void CHashDlg::SetStatus(LPCSTR lpszText)
{
    CWnd* pStatus = GetDlgItem(IDC_STATUS);
    CString strOld;
    pStatus->GetWindowText(strOld);
    if (strOld == lpszText)
        return;
    pStatus->SetWindowText(lpszText);
    if (*lpszText != '\0')
        m_status.NotifyChanged();
}

// Enter presses the default button, Hash Now; OK itself must never close
// the main window.
void CHashDlg::OnOK()
{
}

void CHashDlg::OnSysCommand(UINT nID, LPARAM lParam)
{
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    } else {
        CDialog::OnSysCommand(nID, lParam);
    }
}

// Draws the icon, centred, while the window is minimised.
void CHashDlg::OnPaint()
{
    if (IsIconic()) {
        CPaintDC dc(this);
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);

        const SIZE sizeIcon = AfxGetIconSizeForDpi(GetDpi());
        RECT rect;
        GetClientRect(&rect);
        const int x = (rect.right - rect.left - sizeIcon.cx + 1) / 2;
        const int y = (rect.bottom - rect.top - sizeIcon.cy + 1) / 2;
        dc.DrawIcon(x, y, m_hIcon);
    } else {
        CDialog::OnPaint();
    }
}

void CHashDlg::OnDpiChanged(UINT nDpi, LPRECT lpRect)
{
    CDialog::OnDpiChanged(nDpi, lpRect);
    SetIcons();
}

void CHashDlg::SetIcons()
{
    // The window lets go of the old icon before it is freed.
    const SIZE sizeIcon = AfxGetIconSizeForDpi(GetDpi());
    const HICON hIcon = AfxGetApp()->LoadIcon(IDR_MAINFRAME, sizeIcon.cx, sizeIcon.cy);
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(hIcon));
    m_hIcon.Attach(hIcon);
}

HCURSOR CHashDlg::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_hIcon);
}

void CHashDlg::OnClear()
{
    CWnd* pProgress = GetDlgItem(IDC_PROGRESS);
    UpdateData(TRUE);
    m_strInput.Empty();
    m_strHash.Empty();
    m_nMode = MODE_TEXT;
    GetDlgItem(IDC_INPUT)->EnableWindow(TRUE);
    pProgress->SendMessage(PBM_SETPOS, 0, 0);
    EndVerdictRetry();
    SetStatus("");
    UpdateData(FALSE);
}

// Only the Hash field is yellow, unless High Contrast is on; its text keeps
// the default colour.
HBRUSH CHashDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (pWnd->GetDlgCtrlID() == IDC_HASH && !HighContrastOn()) {
        pDC->SetBkColor(kHashBackground);
        return m_hbrHash;
    }
    return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
}

void CHashDlg::OnFile()
{
    CFileDialog dlg(OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST, "All Files (*.*)|*.*||",
                    GetDlgItem(IDC_FILE));
    dlg.m_ofn.lpstrInitialDir = NULL;
    dlg.m_ofn.lpstrTitle = "Select file to calculate MD5 hash...";
    if (dlg.DoModal() != IDOK)
        return;

    // The path only replaces the last one when there is one: the Input
    // field goes on showing the file that Hash Now will read.
    const CString strPath = dlg.GetPathName();
    if (strPath.IsEmpty()) {
        MessageBox("File Not Defined", "Error", MB_ICONEXCLAMATION);
        return;
    }
    UseFile(strPath);
}

// A file dropped on the window is chosen as File would choose it; nothing is
// hashed until Hash Now. A drop that cannot be used says why and changes
// nothing.
void CHashDlg::OnDropFiles(HDROP hDropInfo)
{
    CDropFiles drop(hDropInfo);
    const UINT nFiles = drop.GetCount();
    if (nFiles == 0)
        return;
    CString strPath;
    const char* pszError = NULL;
    if (nFiles > 1)
        pszError = "Drop one file at a time.";
    else if (!drop.GetPathName(0, strPath))
        pszError = "The file's name has characters this program cannot handle.";
    else if (IsFolder(strPath))
        pszError = "Drop a file, not a folder.";
    if (pszError != NULL) {
        MessageBox(pszError, "Error", MB_ICONEXCLAMATION);
        return;
    }
    UseFile(strPath);
}

void CHashDlg::UseFile(const CString& strPath)
{
    m_strFilePath = strPath;
    m_nMode = MODE_FILE;
    m_strInput = m_strFilePath;
    m_strHash.Empty();
    EndVerdictRetry();
    SetStatus("");
    UpdateData(FALSE);
}

// In file mode the Input field shows the chosen path: any edit is undone.
// Rewriting the same text raises no further change, so this ends at once.
void CHashDlg::OnChangeInput()
{
    if (m_nMode == MODE_FILE) {
        m_strInput = m_strFilePath;
        UpdateData(FALSE);
    }
}
