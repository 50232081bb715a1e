// The hash command on a whole file, through the real main window: the
// dialog comes from the program's own resources, created modeless and
// shown, and is put in file mode as the File button leaves it; then Hash Now
// is clicked. Only the click is timed, up to the digest in the Hash field:
// creating and destroying the window is not.
// Usage: file_bench PATH
// Prints one line: seconds, digest, peak working set in bytes (taken after
// the hash, so it covers it; Wine reads it from the process's VmHWM).
#include <windows.h>
#include <psapi.h>

#include <cstdio>

#include "window/hashdlg.h"

namespace {

// The dialog asks the application object for its icon.
CWinApp theApp("Sumwise");

void PumpMessages()
{
    MSG msg;
    while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: file_bench PATH\n");
        return 2;
    }

    CHashDlg dlg;
    if (!dlg.Create(IDD_MAIN)) {
        std::fprintf(stderr, "file_bench: the main window could not be created\n");
        return 1;
    }
    ::ShowWindow(dlg.m_hWnd, SW_SHOW);
    ::UpdateWindow(dlg.m_hWnd);
    PumpMessages();

    dlg.m_strFilePath = argv[1];
    dlg.m_strInput = dlg.m_strFilePath;
    dlg.m_nMode = CHashDlg::MODE_FILE;
    dlg.UpdateData(FALSE);
    PumpMessages();

    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    ::SendMessageA(::GetDlgItem(dlg.m_hWnd, IDC_HASHNOW), BM_CLICK, 0, 0);
    PumpMessages();
    char digest[64] = "";
    ::GetDlgItemTextA(dlg.m_hWnd, IDC_HASH, digest, sizeof digest);
    ::QueryPerformanceCounter(&end);

    PROCESS_MEMORY_COUNTERS pmc = {};
    pmc.cb = sizeof pmc;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &pmc, sizeof pmc);

    const double seconds = static_cast<double>(end.QuadPart - start.QuadPart) /
                           static_cast<double>(frequency.QuadPart);
    std::printf("%.6f %s %llu\n", seconds, digest[0] != '\0' ? digest : "-",
                static_cast<unsigned long long>(pmc.PeakWorkingSetSize));
    return digest[0] != '\0' ? 0 : 1;
}
