// CHashDlg::OnHashNow, the hash command: the digest of the Input text, or of
// the chosen file read in 1024-byte chunks while the progress bar follows.
#include "window/hashdlg.h"

#include "digest/md5.h"
#include "window/closerequest.h"
#include "window/openfile.h"

#include <cstdint>
#include <cstdio>
#include <io.h>

namespace {

// Whole percent of the file read so far, in exact integer arithmetic so the
// bar reads 100 once every byte is in, whatever the file's size. A file that
// grew while it was read stays at 100; one of unknown or zero size at 0.
int PercentRead(uint64_t total, int64_t size)
{
    if (size <= 0)
        return 0;
    const uint64_t percent = total * 100 / static_cast<uint64_t>(size);
    return percent > 100 ? 100 : static_cast<int>(percent);
}

} // namespace

// Called when the Hash Now button is pressed, or Enter in the Input field.
void CHashDlg::OnHashNow()
{
    // A message box the command shows runs a modal loop, where a click
    // that another program posts, or UI Automation's Invoke, would start
    // the command again inside itself. The clipboard is not read meanwhile
    // either: such a box lets the clipboard's news through before the end.
    if (m_bHashing)
        return;
    m_bHashing = TRUE;
    HashNow();
    m_bHashing = FALSE;
}

void CHashDlg::HashNow()
{
    CMD5 md5;

    // A too-long path in the Input field brings the length warning; the
    // command still hashes what was read.
    UpdateData(TRUE);
    if (m_strInput.IsEmpty())
        return;

    EndVerdictRetry();
    CWnd* pProgress = GetDlgItem(IDC_PROGRESS);
    SetStatus("Working....");
    // Painted now, whether or not the control paints as its text is set:
    // the command takes no messages until it ends, and a paint left for
    // later would come after the text is replaced again.
    GetDlgItem(IDC_STATUS)->UpdateWindow();

    BOOL bHashed = TRUE;
    if (m_nMode == MODE_FILE) {
        bHashed = HashFile(md5, pProgress);
    } else {
        md5.Update(reinterpret_cast<const unsigned char*>(static_cast<const char*>(m_strInput)),
                   m_strInput.GetLength());
        md5.Final();
    }
    if (!bHashed) {
        SetStatus("");
        return;
    }

    // The digest is shown first: reading the clipboard can wait on the
    // program that set it, and answer other programs' messages meanwhile.
    m_strHash = md5.HexDigest();
    UpdateData(FALSE);
    // "Working...." goes even while another program holds the clipboard;
    // the verdict follows once it lets go.
    if (!CheckCopiedMd5())
        SetStatus("");
}

BOOL CHashDlg::HashFile(CMD5& md5, CWnd* pProgress)
{
    // The window takes no input until the file is read: the pointer says so
    // over it.
    CWaitCursor wait;
    CFileStream stream = OpenFileForReading(m_strFilePath);
    FILE* const file = stream.get();
    if (file == NULL)
        return ReportFileError(wait, "Could not open file.", TBPF_NOPROGRESS);
    // Only a file on disk has an end to read to. Under Wine the file dialog
    // also lists Unix devices and FIFOs: /dev/zero would be read forever and
    // a FIFO's reads wait on its writer, either hanging the window.
    if (::GetFileType(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)))) != FILE_TYPE_DISK)
        return ReportFileError(wait, "Could not read file.", TBPF_ERROR);

    pProgress->SendMessage(PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    ShowProgress(pProgress, 0);

    // 64-bit positions: files of 4 GiB and more are measured whole.
    int64_t size = -1;
    if (_fseeki64(file, 0, SEEK_END) == 0)
        size = _ftelli64(file);
    _fseeki64(file, 0, SEEK_SET);

    CCloseRequest closeRequest(m_hWnd);
    unsigned char buffer[1024];
    uint64_t total = 0;
    int nShown = 0;
    size_t count;
    do {
        count = fread(buffer, 1, sizeof buffer, file);
        // Only a short read can meet the end of the file or an error. Never
        // show the digest of a partial read.
        if (count < sizeof buffer && ferror(file))
            return ReportFileError(wait, "Could not read file.", TBPF_ERROR);
        md5.Update(buffer, static_cast<int>(count));
        total += count;
        // The bar is sent a position only when the percent changes: one it
        // already holds changes nothing on screen, yet a message a chunk
        // would cost a fifth of the time. Each new percent is painted at
        // once, as the loop takes no messages.
        const int nPercent = PercentRead(total, size);
        if (nPercent != nShown) {
            ShowProgress(pProgress, nPercent);
            nShown = nPercent;
        }
        // Escape, Alt+F4 or the close box end the hash at once, with no
        // digest; the request waits for the modal loop, which then closes
        // the window.
        if (closeRequest.Waiting()) {
            m_taskbar.SetProgressState(TBPF_NOPROGRESS);
            return FALSE;
        }
    } while (count == sizeof buffer || !feof(file));

    m_taskbar.SetProgressState(TBPF_NOPROGRESS);
    stream.reset();
    md5.Final();
    return TRUE;
}

void CHashDlg::ShowProgress(CWnd* pProgress, int nPercent)
{
    pProgress->SendMessage(PBM_SETPOS, nPercent, 0);
    pProgress->UpdateWindow();
    m_taskbar.SetProgressValue(nPercent);
}

BOOL CHashDlg::ReportFileError(CWaitCursor& wait, LPCSTR lpszText, TBPFLAG state)
{
    wait.End();
    m_taskbar.SetProgressState(state);
    MessageBox(lpszText, "ERROR", MB_ICONEXCLAMATION);
    m_taskbar.SetProgressState(TBPF_NOPROGRESS);
    return FALSE;
}
