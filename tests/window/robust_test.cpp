// Bad files: what the hash command does with a sparse file past 4 GiB, with
// paths it cannot read (folders, vanished or locked files, devices, FIFOs),
// and that it never writes.
#include "tests/window/window_fixture.h"

#include <winioctl.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <vector>

namespace {

const uint64_t kGiB = uint64_t(1) << 30;
const char kOpenError[] = "Could not open file.";
const char kReadError[] = "Could not read file.";

// The Unix path behind a Windows one; empty when not running under Wine.
std::string UnixPath(const std::string& path)
{
    typedef char*(CDECL * UnixFileName)(LPCWSTR);
    const UnixFileName fn = reinterpret_cast<UnixFileName>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (fn == NULL)
        return std::string();
    char* unix = fn(Widen(path).c_str());
    const std::string result = unix != NULL ? unix : "";
    ::HeapFree(::GetProcessHeap(), 0, unix);
    return result;
}

bool Exists(const std::string& path)
{
    WIN32_FIND_DATAA data;
    HANDLE hFind = ::FindFirstFileA(path.c_str(), &data);
    return hFind != INVALID_HANDLE_VALUE && ::FindClose(hFind);
}

// Starts a Unix program, which Wine runs but gives no handle to wait on,
// and waits up to 10 s for done() to hold.
bool RunUnix(std::string commandLine, const std::function<bool()>& done)
{
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessA(NULL, &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi))
        return false;
    for (int i = 0; i < 1000 && !done(); i++)
        ::Sleep(10);
    return done();
}

// Each entry of a folder: name -> size and last write time.
std::map<std::string, std::vector<DWORD>> Snapshot(const std::string& dir)
{
    std::map<std::string, std::vector<DWORD>> entries;
    WIN32_FIND_DATAA d;
    HANDLE hFind = ::FindFirstFileA((dir + "\\*").c_str(), &d);
    for (BOOL more = hFind != INVALID_HANDLE_VALUE; more; more = ::FindNextFileA(hFind, &d))
        entries[d.cFileName] = { d.nFileSizeHigh, d.nFileSizeLow, d.ftLastWriteTime.dwHighDateTime,
                                 d.ftLastWriteTime.dwLowDateTime };
    if (hFind != INVALID_HANDLE_VALUE)
        ::FindClose(hFind);
    return entries;
}

using RobustTest = HashDlgTest;

// 5 GiB, sparse, with bytes across the 4 GiB line and in the last bytes:
// sizes, positions and the bit count must be 64-bit all the way. No
// MessageBoxRecorder: under Wine its hook costs a wineserver round trip,
// about 120 us, per message sent. An error box would show as a timeout.
TEST_F(RobustTest, SparseFileOf5GiBHashesWhole)
{
    const std::string path = Dir() + "\\sparse.bin";
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    // Marked sparse, so NTFS too leaves the holes unallocated.
    DWORD nReturned = 0;
    EXPECT_TRUE(::DeviceIoControl(h, FSCTL_SET_SPARSE, NULL, 0, NULL, 0, &nReturned, NULL));
    const struct { uint64_t offset; const char* bytes; } writes[] = {
        { 4 * kGiB - 2, "edge" }, { 4 * kGiB + 4096, "past" }, { 5 * kGiB - 3, "end" } };
    for (const auto& w : writes) {
        LARGE_INTEGER at;
        at.QuadPart = static_cast<LONGLONG>(w.offset);
        DWORD written = 0;
        EXPECT_TRUE(::SetFilePointerEx(h, at, NULL, FILE_BEGIN));
        EXPECT_TRUE(::WriteFile(h, w.bytes, static_cast<DWORD>(std::strlen(w.bytes)), &written, NULL));
    }
    FILE_STANDARD_INFO info = {};
    EXPECT_TRUE(::GetFileInformationByHandleEx(h, FileStandardInfo, &info, sizeof info));
    ::CloseHandle(h);
    ASSERT_EQ(static_cast<uint64_t>(info.EndOfFile.QuadPart), 5 * kGiB);
    // The blocks the file takes on disk: a few, not 5 GiB.
    EXPECT_LT(info.AllocationSize.QuadPart, 1 << 20);

    UseFile(path);
    MessageLog bar(Item(IDC_PROGRESS), { PBM_SETPOS });
    Click(IDC_HASHNOW);
    const std::vector<WPARAM> positions = bar.Params(PBM_SETPOS);

    // The same bytes, streamed:
    // { head -c 4294967294 /dev/zero; printf edge; head -c 4094 /dev/zero; printf past;
    //   head -c 1073737721 /dev/zero; printf end; } | md5sum
    EXPECT_EQ(Text(IDC_HASH), "60fdb75dc685228414da503429298af9");
    EXPECT_EQ(positions.size(), 101u);    // 0 to 100, each once
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
    EXPECT_EQ(positions.back(), 100u);
}

// Paths that yield no digest: one error box each, and the window stays as
// File left it. Devices and FIFOs, which the file dialog lists under Wine's
// Z: drive, must not hang the window either.
TEST_F(RobustTest, UnreadablePathsBringOneErrorAndNoDigest)
{
    const bool wine = !UnixPath(Dir()).empty();
    const std::string fifo = Dir() + "\\fifo";
    HANDLE held = INVALID_HANDLE_VALUE;
    struct Case
    {
        const char* name;
        std::function<std::string()> make;     // "" skips the case (not Wine)
        const char* message;                    // NULL: either error
    };
    const Case cases[] = {
        { "a folder", [&] { return Dir(); }, kOpenError },
        { "gone since File chose it", [&] {
              const std::string path = MakeFile("gone.txt", "abc");
              ::DeleteFileA(path.c_str());
              return path;
          }, kOpenError },
        { "held open by another with no sharing", [&] {
              const std::string path = MakeFile("held.txt", "abc");
              held = ::CreateFileA(path.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
              EXPECT_NE(held, INVALID_HANDLE_VALUE);
              return path;
          }, kOpenError },
        { "NUL", [] { return "NUL"; }, kReadError },
        { "\\\\.\\NUL", [] { return "\\\\.\\NUL"; }, kReadError },
        // Windows opens the console as a device; Wine does not open it.
        { "CON", [] { return "CON"; }, NULL },
        { "a device that never ends", [&] { return wine ? "Z:\\dev\\zero" : ""; }, kReadError },
        { "a FIFO", [&] {
              const bool made = wine && RunUnix("Z:\\usr\\bin\\mkfifo \"" + UnixPath(fifo) + "\"",
                                                [&] { return Exists(fifo); });
              EXPECT_EQ(made, wine);
              return made ? fifo : "";
          }, kReadError },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = c.make();
        if (path.empty())
            continue;
        UseFile(path);
        MessageBoxRecorder boxes;
        Click(IDC_HASHNOW);

        const bool bRead = !boxes.Boxes().empty() && boxes.Boxes()[0].text == kReadError;
        const char* text = c.message != NULL ? c.message : bRead ? kReadError : kOpenError;
        EXPECT_EQ(boxes.Boxes(),
                  (std::vector<RecordedMessageBox>{ { text, "ERROR", MB_ICONEXCLAMATION, MB_OK, m_dlg.m_hWnd } }));
        EXPECT_EQ(Text(IDC_HASH), "");
        EXPECT_EQ(Text(IDC_STATUS), "");
        EXPECT_EQ(Text(IDC_INPUT), path);
        EXPECT_EQ(std::string(m_dlg.m_strFilePath), path);
        EXPECT_EQ(m_dlg.m_nMode, CHashDlg::MODE_FILE);
    }
    if (held != INVALID_HANDLE_VALUE)
        ::CloseHandle(held);
    // Wine deletes no FIFO, so neither would the fixture's clean-up.
    if (Exists(fifo))
        RunUnix("Z:\\usr\\bin\\rm \"" + UnixPath(fifo) + "\"", [&] { return !Exists(fifo); });
}

// Hashing only reads: neither the file's folder nor the current directory
// gains, loses or changes an entry, whether the hash succeeds or fails.
TEST_F(RobustTest, HashingWritesNothing)
{
    const std::string bytes(300000, 'q');
    const std::string path = MakeFile("data.bin", bytes);
    char cwd[MAX_PATH];
    ASSERT_NE(::GetCurrentDirectoryA(MAX_PATH, cwd), 0u);
    const auto dirBefore = Snapshot(Dir());
    const auto cwdBefore = Snapshot(cwd);
    ASSERT_FALSE(dirBefore.empty());
    ASSERT_FALSE(cwdBefore.empty());

    UseFile(path);
    Click(IDC_HASHNOW);
    EXPECT_EQ(Text(IDC_HASH), Md5Of(bytes));
    {
        MessageBoxRecorder boxes;
        UseFile(Dir() + "\\missing.bin");
        Click(IDC_HASHNOW);
        EXPECT_EQ(boxes.Boxes().size(), 1u);
    }

    EXPECT_EQ(Snapshot(Dir()), dirBefore);
    EXPECT_EQ(Snapshot(cwd), cwdBefore);
}

} // namespace
