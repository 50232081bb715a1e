// CHashDlg's verdict on the digest it shows against the MD5s the user has
// copied: checked when a hash ends and when the clipboard changes. The
// clipboard is only read, in place, and compared; nothing of it is kept,
// shown or written.
#include "window/hashdlg.h"

#include "digest/md5_find.h"

namespace {

// Characters beyond ASCII by the system's own tables: "é" beside 32 hex
// digits makes them part of a word, a no-break space does not.
bool IsLetterOrDigit(char16_t ch)
{
    const WCHAR wch = static_cast<WCHAR>(ch);
    WORD nType = 0;
    return ::GetStringTypeW(CT_CTYPE1, &wch, 1, &nType) && (nType & (C1_ALPHA | C1_DIGIT)) != 0;
}

// Clipboard history, a remote desktop's clipboard and clipboard managers
// open the clipboard at the same news as this window, and no other program
// can open it meanwhile. It is read again this often, this many times:
// about a second.
const UINT kVerdictRetryMs = 100;
const UINT kVerdictTries = 10;

} // namespace

BOOL CHashDlg::CheckCopiedMd5()
{
    m_nVerdictTries = kVerdictTries;
    return ShowVerdict();
}

BOOL CHashDlg::ShowVerdict()
{
    LPCSTR lpszVerdict = "";
    // The Hash field is read-only, but any program can set its text.
    if (m_strHash.GetLength() == 32) {
        // One character past the part searched tells whether a run ends
        // at its edge.
        const CClipboardText clipboard(m_hWnd, kCopiedMd5MaxChars + 1);
        // Held open by another program: what the status line says stays
        // until the clipboard can be read.
        if (!clipboard.IsOpen()) {
            if (m_nVerdictTries > 0) {
                --m_nVerdictTries;
                SetTimer(TIMER_VERDICT, kVerdictRetryMs);
            } else {
                EndVerdictRetry();
            }
            return FALSE;
        }
        switch (CompareWithCopiedMd5(clipboard.GetText(), clipboard.GetLength(), m_strHash, IsLetterOrDigit)) {
        case CopiedMd5::MATCHES:
            lpszVerdict = "Matches the copied MD5.";
            break;
        case CopiedMd5::DOES_NOT_MATCH:
            lpszVerdict = "Does not match the copied MD5.";
            break;
        case CopiedMd5::NONE:
            break;
        }
    }
    EndVerdictRetry();
    SetStatus(lpszVerdict);
    return TRUE;
}

void CHashDlg::EndVerdictRetry()
{
    KillTimer(TIMER_VERDICT);
    m_nVerdictTries = 0;
}

void CHashDlg::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == TIMER_VERDICT)
        ShowVerdict();
}

// A copy made in this window (Ctrl+C in the Hash field: the field owns the
// clipboard) is no checksum from elsewhere: it changes no verdict now, and
// counts at the next hash, so two files can be compared one after the other.
void CHashDlg::OnClipboardUpdate()
{
    const HWND hOwner = ::GetClipboardOwner();
    if (m_bHashing || hOwner == m_hWnd || ::IsChild(m_hWnd, hOwner))
        return;
    CheckCopiedMd5();
}
