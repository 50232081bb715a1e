// Classes in this file:
//   CHashDlg - the main window: a modal dialog that hashes the typed text or
//              a chosen file and shows the digest in a yellow field, and
//              says in its status line whether the digest matches an MD5
//              the user has copied.
#pragma once

#include "framework/afxwin.h"
#include "res/resource.h"

class CMD5;

class CHashDlg : public CDialog
{
public:
// Constructors
    explicit CHashDlg(CWnd* pParent = NULL);

    enum { IDD = IDD_MAIN };
    enum { MODE_TEXT = 0, MODE_FILE = 1 };
    enum { TIMER_VERDICT = 1 };     // the clipboard read again

// Attributes: the window state, shared by the handlers
    CString m_strInput;     // Input field; in file mode, the chosen path
    CString m_strHash;      // Hash field: the last digest, or empty
    CBrushHandle m_hbrHash; // yellow background of the Hash field
    int m_nMode;            // MODE_TEXT or MODE_FILE
    CString m_strFilePath;  // path from the last successful File selection
    CIconHandle m_hIcon;    // the application icon
    CComThread m_com;       // for the two below, which go first
    CLiveRegion m_status;   // the status line, spoken as it changes
    CTaskbarButton m_taskbar;   // the progress, shown on the taskbar too
    BOOL m_bHashing;        // while the hash command runs
    UINT m_nVerdictTries;   // reads of a held clipboard left

// Overrides
protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

// Message handlers
public:
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnHashNow();
    void OnClear();
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnFile();
    void OnChangeInput();
    void OnDropFiles(HDROP hDropInfo);
    void OnDpiChanged(UINT nDpi, LPRECT lpRect);
    void OnClipboardUpdate();
    void OnTimer(UINT_PTR nIDEvent);
    LRESULT OnTaskbarButtonCreated(WPARAM wParam, LPARAM lParam);
    void OnDestroy();

protected:
    // What choosing a file does, by File or by a drop: file mode, the path
    // shown in Input, the Hash field blank.
    void UseFile(const CString& strPath);
    // OnHashNow's work, which never runs inside itself.
    void HashNow();
    // The file branch of OnHashNow: FALSE when the file could not be opened
    // or read whole, after telling the user why, or when the user asked the
    // window to close meanwhile.
    BOOL HashFile(CMD5& md5, CWnd* pProgress);
    // The bar and the taskbar button at a whole percent.
    void ShowProgress(CWnd* pProgress, int nPercent);
    // Why the file gave no digest, in a box over which the cursor is the
    // arrow again, the taskbar button in the given state while it is open
    // and with no progress after; FALSE.
    BOOL ReportFileError(CWaitCursor& wait, LPCSTR lpszText, TBPFLAG state);
    // The application icon at the dialog's DPI, in the caption (big and
    // small) and for the minimised window.
    void SetIcons();
    // Sets the status line; a screen reader speaks each new text.
    void SetStatus(LPCSTR lpszText);
    // The status line's verdict on the digest in the Hash field against the
    // MD5s the user has copied; blank with no digest or no copied MD5.
    // While another program holds the clipboard open, the status line stays
    // as it is and the clipboard is read again on a timer for about a
    // second. FALSE while that read waits.
    BOOL CheckCopiedMd5();
    BOOL ShowVerdict();         // one read, of the tries CheckCopiedMd5 gave
    void EndVerdictRetry();

    DECLARE_MESSAGE_MAP()
};
