// The hash command on a whole file, through the real main window: the
// dialog comes from the program's own resources, created modeless and
// shown, and is put in file mode as the File button leaves it; then Hash Now
// is clicked. Only the click is timed, up to the digest in the Hash field:
// creating and destroying the window is not.
// With --engine, the engine alone hashes as many bytes from memory, with
// no reading and no window: the ceiling the command could reach.
// Usage: file_bench PATH | file_bench --engine BYTES
// Prints one line: seconds, digest, peak working set in bytes (taken after
// the hash, so it covers it; Wine reads it from the process's VmHWM), and
// the form of the compression function the process chose.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "digest/md5.h"
#include "digest/md5_forms.h"
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

double Seconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end)
{
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

SIZE_T PeakWorkingSet()
{
    PROCESS_MEMORY_COUNTERS pmc = {};
    pmc.cb = sizeof pmc;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &pmc, sizeof pmc);
    return pmc.PeakWorkingSetSize;
}

// One message of the given length from a 1 MiB buffer fed whole, as
// md5_speed's largest size does.
int HashFromMemory(unsigned long long bytes)
{
    std::vector<unsigned char> block(1 << 20);
    for (size_t i = 0; i < block.size(); i++)
        block[i] = static_cast<unsigned char>(i * 131 + 7);
    LARGE_INTEGER start, end;
    ::QueryPerformanceCounter(&start);
    CMD5 md5;
    for (unsigned long long left = bytes; left > 0;) {
        const size_t n = left < block.size() ? static_cast<size_t>(left) : block.size();
        md5.Update(block.data(), static_cast<int>(n));
        left -= n;
    }
    md5.Final();
    const char* digest = md5.HexDigest();
    ::QueryPerformanceCounter(&end);
    std::printf("%.6f %s %llu %s\n", Seconds(start, end), digest,
                static_cast<unsigned long long>(PeakWorkingSet()), Md5FormName(Md5ChosenForm()));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--engine") == 0)
        return HashFromMemory(std::strtoull(argv[2], NULL, 10));
    if (argc != 2) {
        std::fprintf(stderr, "usage: file_bench PATH | file_bench --engine BYTES\n");
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

    LARGE_INTEGER start, end;
    ::QueryPerformanceCounter(&start);
    ::SendMessageA(::GetDlgItem(dlg.m_hWnd, IDC_HASHNOW), BM_CLICK, 0, 0);
    PumpMessages();
    char digest[64] = "";
    ::GetDlgItemTextA(dlg.m_hWnd, IDC_HASH, digest, sizeof digest);
    ::QueryPerformanceCounter(&end);

    std::printf("%.6f %s %llu %s\n", Seconds(start, end), digest[0] != '\0' ? digest : "-",
                static_cast<unsigned long long>(PeakWorkingSet()), Md5FormName(Md5ChosenForm()));
    return digest[0] != '\0' ? 0 : 1;
}
