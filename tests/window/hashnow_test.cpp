// The hash command: what Hash Now shows for typed text and for files, what
// the progress bar and status line do meanwhile, and how failures are told.
#include "tests/window/window_fixture.h"

#include <commctrl.h>
#include <shobjidl.h>
#include <uxtheme.h>

#include <algorithm>
#include <future>
#include <map>
#include <memory>
#include <numeric>
#include <thread>

#include "window/closerequest.h"

namespace {

const char kDigestAbc[] = "900150983cd24fb0d6963f7d28e17f72";
const char kDigestEmpty[] = "d41d8cd98f00b204e9800998ecf8427e";

// Bytes with no short period, so a read that skips or repeats a chunk
// changes the digest.
std::string Pattern(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return bytes;
}

// A file of size bytes that reads as zeros, made at once: sparse, its
// holes read fast.
std::string MakeSparse(const std::string& path, LONGLONG size)
{
    const HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    DWORD nReturned = 0;
    LARGE_INTEGER at;
    at.QuadPart = size;
    EXPECT_TRUE(h != INVALID_HANDLE_VALUE && ::DeviceIoControl(h, FSCTL_SET_SPARSE, NULL, 0, NULL, 0, &nReturned, NULL)
                && ::SetFilePointerEx(h, at, NULL, FILE_BEGIN) && ::SetEndOfFile(h)) << path;
    ::CloseHandle(h);
    return path;
}

// Another program that sets the clipboard and holds it open until Release,
// as clipboard history and clipboard managers do at its news.
class ClipboardHolder
{
public:
    explicit ClipboardHolder(const std::string& text)
        : m_thread([this, text] {
              const HWND hWnd = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, NULL, NULL, NULL, NULL);
              PutOnClipboard(hWnd, text);     // the news goes out
              ::OpenClipboard(hWnd);
              m_held.set_value();
              m_release.get_future().wait();
              ::CloseClipboard();
              ::DestroyWindow(hWnd);
          })
    {
        m_held.get_future().wait();
    }
    ~ClipboardHolder() { Release(); }
    void Release()
    {
        if (m_thread.joinable()) {
            m_release.set_value();
            m_thread.join();
        }
    }

private:
    std::promise<void> m_held, m_release;
    std::thread m_thread;
};

// The taskbar's progress as Explorer's ITaskbarList3 would show it:
// records each state and value the window sends, in order.
class RecordingTaskbarList : public ITaskbarList3
{
public:
    std::vector<std::string> m_calls;

    HRESULT WINAPI QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG WINAPI AddRef() override { return 2; }
    ULONG WINAPI Release() override { return 1; }
    HRESULT WINAPI HrInit() override { return S_OK; }
    HRESULT WINAPI SetProgressState(HWND, TBPFLAG state) override
    {
        static const std::map<TBPFLAG, std::string> names = { { TBPF_NOPROGRESS, "none" }, { TBPF_NORMAL, "normal" },
                                                              { TBPF_ERROR, "error" } };
        m_calls.push_back(names.count(state) ? names.at(state) : "?");
        return S_OK;
    }
    HRESULT WINAPI SetProgressValue(HWND, ULONGLONG nDone, ULONGLONG nTotal) override
    {
        m_calls.push_back(std::to_string(nDone) + (nTotal == 100 ? "" : " of " + std::to_string(nTotal)));
        return S_OK;
    }
    // The rest of the interface, which the program does not call.
    HRESULT WINAPI AddTab(HWND) override { return E_NOTIMPL; }
    HRESULT WINAPI DeleteTab(HWND) override { return E_NOTIMPL; }
    HRESULT WINAPI ActivateTab(HWND) override { return E_NOTIMPL; }
    HRESULT WINAPI SetActiveAlt(HWND) override { return E_NOTIMPL; }
    HRESULT WINAPI MarkFullscreenWindow(HWND, WINBOOL) override { return E_NOTIMPL; }
    HRESULT WINAPI RegisterTab(HWND, HWND) override { return E_NOTIMPL; }
    HRESULT WINAPI UnregisterTab(HWND) override { return E_NOTIMPL; }
    HRESULT WINAPI SetTabOrder(HWND, HWND) override { return E_NOTIMPL; }
    HRESULT WINAPI SetTabActive(HWND, HWND, DWORD) override { return E_NOTIMPL; }
    HRESULT WINAPI ThumbBarAddButtons(HWND, UINT, LPTHUMBBUTTON) override { return E_NOTIMPL; }
    HRESULT WINAPI ThumbBarUpdateButtons(HWND, UINT, LPTHUMBBUTTON) override { return E_NOTIMPL; }
    HRESULT WINAPI ThumbBarSetImageList(HWND, HIMAGELIST) override { return E_NOTIMPL; }
    HRESULT WINAPI SetOverlayIcon(HWND, HICON, LPCWSTR) override { return E_NOTIMPL; }
    HRESULT WINAPI SetThumbnailTooltip(HWND, LPCWSTR) override { return E_NOTIMPL; }
    HRESULT WINAPI SetThumbnailClip(HWND, RECT*) override { return E_NOTIMPL; }
};

// For this object's life, Explorer's taskbar list is a RecordingTaskbarList,
// which lives as long as the run: the window holds it until it is destroyed.
class TaskbarStandIn
{
public:
    TaskbarStandIn() { s_list.m_calls.clear(); }
    RecordingTaskbarList* operator->() const { return &s_list; }
    static const RecordingTaskbarList& List() { return s_list; }
    // What Explorer sends a window once its taskbar button is there.
    static void Announce(HWND hWnd)
    {
        ::SendMessageA(hWnd, ::RegisterWindowMessageA("TaskbarButtonCreated"), 0, 0);
    }

private:
    // CLSID_TaskbarList, {56fdf344-fd6d-11d0-958a-006097c9a090}.
    static constexpr CLSID kTaskbarList = { 0x56fdf344, 0xfd6d, 0x11d0,
                                            { 0x95, 0x8a, 0x00, 0x60, 0x97, 0xc9, 0xa0, 0x90 } };
    static inline RecordingTaskbarList s_list;
    CoCreateInstancePatch m_patch{ kTaskbarList, &s_list };
};

extern "C" decltype(&::MessageBoxA) __imp_MessageBoxA;

// The cursor and the taskbar's last call as the program shows each message
// box: Wine sets the arrow itself as a box opens, Windows only once the
// mouse moves.
class AtEachMessageBox
{
public:
    AtEachMessageBox() : m_patch(&__imp_MessageBoxA, &Show) { s_seen.clear(); }
    const std::vector<std::string>& Seen() const { return s_seen; }

private:
    static int WINAPI Show(HWND hWnd, LPCSTR lpszText, LPCSTR lpszCaption, UINT nType)
    {
        const std::vector<std::string>& calls = TaskbarStandIn::List().m_calls;
        s_seen.push_back(std::string(::GetCursor() == ::LoadCursor(NULL, IDC_WAIT) ? "wait" : "no wait") + ", " +
                         (calls.empty() ? "nothing sent" : calls.back()));
        return s_realShow(hWnd, lpszText, lpszCaption, nType);
    }
    static inline std::vector<std::string> s_seen;
    static inline const decltype(&::MessageBoxA) s_realShow = __imp_MessageBoxA;
    ImportPatch<decltype(&::MessageBoxA)> m_patch;
};

class HashNowTest : public HashDlgTest
{
protected:
    std::vector<WPARAM> HashLoggingPositions()
    {
        MessageLog bar(Item(IDC_PROGRESS), { PBM_SETPOS });
        Click(IDC_HASHNOW);
        return bar.Params(PBM_SETPOS);
    }
};

} // namespace

TEST_F(HashDlgTest, TextDigestIsShown)
{
    Type("abc");
    Click(IDC_HASHNOW);
    EXPECT_EQ(Text(IDC_HASH), kDigestAbc);
    EXPECT_EQ(Text(IDC_INPUT), "abc");
    Click(IDC_HASHNOW);
    EXPECT_EQ(Text(IDC_HASH), kDigestAbc);
    EXPECT_EQ(m_dlg.m_strHash, kDigestAbc);
}

TEST_F(HashNowTest, EmptyInputChangesNothing)
{
    Type("abc");
    Click(IDC_HASHNOW);
    ::SendMessageA(Item(IDC_PROGRESS), PBM_SETPOS, 37, 0);
    Type("");

    MessageLog status(Item(IDC_STATUS), { WM_SETTEXT });
    EXPECT_TRUE(HashLoggingPositions().empty());
    EXPECT_TRUE(status.Entries().empty());
    EXPECT_EQ(Text(IDC_HASH), kDigestAbc);
    EXPECT_EQ(m_dlg.m_strHash, kDigestAbc);
    EXPECT_EQ(Position(), 37);
    EXPECT_EQ(m_dlg.m_nMode, CHashDlg::MODE_TEXT);
}

// The file's bytes, read in binary: CR LF, ^Z and NUL pass unchanged.
TEST_F(HashNowTest, FileBytesAreHashedNotThePath)
{
    const std::string binary("a\r\nb\x1a\0c\n", 8);
    const struct { const char* name; std::string bytes; std::string digest; } cases[] = {
        { "empty", "", kDigestEmpty },
        { "abc.txt", "abc", kDigestAbc },
        { "binary.bin", binary, "9a4191f3bd4651a003ae2109e9945358" },
        { "pattern.bin", Pattern(5000), Md5Of(Pattern(5000)) },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UseFile(MakeFile(c.name, c.bytes));
        for (int nTimes = 0; nTimes < 2; ++nTimes) {
            Click(IDC_HASHNOW);
            EXPECT_EQ(Text(IDC_HASH), c.digest);
            EXPECT_EQ(m_dlg.m_strHash, c.digest.c_str());
            EXPECT_EQ(Position(), c.bytes.empty() ? 0 : 100);
        }
    }
}

TEST_F(HashNowTest, BarFollowsTheBytesReadAndEndsFull)
{
    // The classic bar, which needs no timers to show a position.
    EXPECT_EQ(::GetWindowTheme(Item(IDC_PROGRESS)), nullptr);
    EXPECT_NE(::GetWindowTheme(Item(IDC_INPUT)), nullptr);
    // Each position is sent once, when it changes: 0 first, then each new
    // percent, none again for the final empty read.
    std::vector<WPARAM> everyPercent(101);
    std::iota(everyPercent.begin(), everyPercent.end(), 0);
    const struct { const char* name; size_t size; std::vector<WPARAM> positions; } cases[] = {
        { "2k", 2048, { 0, 50, 100 } },
        { "empty", 0, { 0 } },
        { "300k", 300 << 10, everyPercent },
        // 2^24 + 3 bytes: a size held in single precision would round up and
        // end the bar at 99; counted exactly, it ends at 100.
        { "big", 16777219, everyPercent },
    };
    // The taskbar button shows the same percents, and none once the hash
    // ends; nothing is sent before the window hears that the button is
    // there. The cursor over the window is the wait
    // cursor while the file is read, and as it was afterwards.
    TaskbarStandIn taskbar;
    UseFile(MakeFile("before", "abc"));
    Click(IDC_HASHNOW);
    EXPECT_TRUE(taskbar->m_calls.empty()) << "sent before the button was there";
    TaskbarStandIn::Announce(m_dlg.m_hWnd);
    const HCURSOR hWait = ::LoadCursor(NULL, IDC_WAIT), hBefore = ::GetCursor();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UseFile(MakeFile(c.name, std::string(c.size, 'x')));
        taskbar->m_calls.clear();
        bool bWaitShown = true;
        MessageLog cursor(Item(IDC_PROGRESS), { PBM_SETPOS },
                          [&bWaitShown, hWait](const MessageLog::Entry&) { bWaitShown &= ::GetCursor() == hWait; });
        EXPECT_EQ(HashLoggingPositions(), c.positions);
        EXPECT_EQ(Position(), static_cast<int>(c.positions.back()));
        std::vector<std::string> shown = { "normal" };
        for (WPARAM n : c.positions)
            shown.push_back(std::to_string(n));
        shown.push_back("none");
        EXPECT_EQ(taskbar->m_calls, shown);
        EXPECT_TRUE(bWaitShown);
        EXPECT_EQ(::GetCursor(), hBefore);
    }
}

extern "C" decltype(&::NotifyWinEvent) __imp_NotifyWinEvent;

// The status line reads "Working...." while the command runs, then the
// verdict on the digest against the MD5s the user has copied, whichever
// came first, the hash or the copy; blank with no copied MD5. A screen
// reader is told of each new text as it appears.
TEST_F(HashNowTest, StatusReadsWorkingDuringTheCommandThenTheVerdict)
{
    static std::vector<std::string> s_told;
    s_told.clear();
    ImportPatch<decltype(&::NotifyWinEvent)> patch(&__imp_NotifyWinEvent, [](DWORD event, HWND hWnd, LONG idObject,
                                                                            LONG idChild) {
        if (event == EVENT_OBJECT_LIVEREGIONCHANGED && idObject == OBJID_CLIENT && idChild == CHILDID_SELF)
            s_told.push_back(std::to_string(::GetDlgCtrlID(hWnd)) + " " + WindowText(hWnd));
    });
    const std::string path = MakeFile("f", "abc");
    const std::string matches = "Matches the copied MD5.", differs = "Does not match the copied MD5.";
    const struct { const char* what; std::string copied, verdict; } cases[] = {
        { "nothing", "", "" },
        { "text with no digest", "The quick brown fox jumps over the lazy dog", "" },
        { "upper case with a label", "MD5: 900150983CD24FB0D6963F7D28E17F72", matches },
        { "an md5sum line", std::string(kDigestAbc) + "  abc.txt\n", matches },
        { "only a SHA-256", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad  abc.txt", "" },
        { "a list, one matching", std::string(kDigestEmpty) + " *empty\r\n" + kDigestAbc + " *abc\r\n", matches },
        { "another MD5", kDigestEmpty, differs },
    };
    for (const auto& c : cases) {
        Copy(c.copied);
        for (bool bFile : { false, true }) {
            SCOPED_TRACE(std::string(c.what) + (bFile ? ", file" : ", text"));
            if (bFile) {
                UseFile(path);
            } else {
                m_dlg.m_nMode = CHashDlg::MODE_TEXT;
                Type("abc");
            }
            MessageLog status(Item(IDC_STATUS), { WM_SETTEXT });
            s_told.clear();
            Click(IDC_HASHNOW);
            EXPECT_EQ(status.Texts(), (std::vector<std::string>{ "Working....", c.verdict }));
            EXPECT_EQ(Text(IDC_STATUS), c.verdict);
            EXPECT_EQ(Text(IDC_HASH), kDigestAbc);
            std::vector<std::string> told = { "1010 Working...." };
            if (!c.verdict.empty())
                told.push_back("1010 " + c.verdict);
            EXPECT_EQ(s_told, told);
        }
    }

    // Copied after the hash: each change of the clipboard brings its own
    // verdict, but one made in the window itself, which counts at the next
    // hash.
    const struct { const char* what; std::string copied, verdict; } afterwards[] = {
        { "the digest", std::string("MD5 (abc) = ") + kDigestAbc, matches },
        { "text with no digest", "abc", "" },
        { "another MD5", std::string(kDigestEmpty) + "\n", differs },
    };
    for (const auto& c : afterwards) {
        SCOPED_TRACE(std::string(c.what) + ", after the hash");
        Copy(c.copied);
        EXPECT_EQ(Text(IDC_STATUS), c.verdict);
    }
    ChangeClipboard([this] {
        ::SendMessageA(Item(IDC_HASH), EM_SETSEL, 0, -1);
        ::SendMessageA(Item(IDC_HASH), WM_COPY, 0, 0);
    });
    EXPECT_EQ(Text(IDC_STATUS), differs) << "a copy from the Hash field changed the verdict";
    Click(IDC_HASHNOW);
    EXPECT_EQ(Text(IDC_STATUS), matches) << "the Hash field's copy did not count at the next hash";

    // A copy made while the command runs is read once it has ended, not
    // before, even when its news comes meanwhile, as in a message box the
    // command shows. News that waited for the end tells nothing new: the
    // verdict is spoken once.
    for (bool bNewsMeanwhile : { true, false }) {
        SCOPED_TRACE(bNewsMeanwhile ? "news during the command" : "news after it");
        Copy(kDigestEmpty);
        MessageLog status(Item(IDC_STATUS), { WM_SETTEXT }, [this, bNewsMeanwhile](const MessageLog::Entry& e) {
            if (e.text != "Working....")
                return;
            if (bNewsMeanwhile)
                Copy(kDigestAbc);
            else
                SetClipboard(kDigestAbc);
        });
        s_told.clear();
        if (bNewsMeanwhile)
            Click(IDC_HASHNOW);
        else
            ChangeClipboard([this] { Click(IDC_HASHNOW); });
        EXPECT_EQ(status.Texts(), (std::vector<std::string>{ "Working....", matches }));
        EXPECT_EQ(s_told, (std::vector<std::string>{ "1010 Working....", "1010 " + matches }));
    }

    // Another program holds the clipboard open when its news comes: the
    // verdict shown stays until the clipboard can be read, then the new one
    // comes. Clear and a chosen file (by File or a drop) end the waiting.
    ASSERT_EQ(Text(IDC_STATUS), matches);
    {
        MessageLog status(Item(IDC_STATUS), { WM_SETTEXT });
        std::unique_ptr<ClipboardHolder> holder;
        ChangeClipboard([&holder] { holder = std::make_unique<ClipboardHolder>(kDigestEmpty); });
        EXPECT_TRUE(status.Entries().empty()) << "the status line changed while the clipboard was held";
        holder->Release();
        for (int i = 0; i < 300 && status.Entries().empty(); ++i) {
            ::Sleep(10);
            PumpMessages();
        }
        EXPECT_EQ(status.Texts(), std::vector<std::string>{ differs }) << "no verdict once the clipboard was let go";
    }
    const struct { const char* what; std::function<void()> end; } endings[] = {
        { "Clear", [this] { Click(IDC_CLEAR); } },
        { "a chosen file", [this, &path] { m_dlg.UseFile(path.c_str()); } },
    };
    for (const auto& e : endings) {
        SCOPED_TRACE(e.what);
        m_dlg.m_nMode = CHashDlg::MODE_TEXT;
        Type("abc");
        Click(IDC_HASHNOW);
        std::unique_ptr<ClipboardHolder> holder;
        ChangeClipboard([&holder] { holder = std::make_unique<ClipboardHolder>(kDigestAbc); });
        e.end();
        EXPECT_FALSE(::KillTimer(m_dlg.m_hWnd, CHashDlg::TIMER_VERDICT)) << "the clipboard was still to be read";
    }

    // Any program can set the read-only Hash field's text; read back by a
    // command on empty Input, it is no digest to compare.
    ::SetWindowTextA(Item(IDC_HASH), "0");
    m_dlg.m_nMode = CHashDlg::MODE_TEXT;
    Type("");
    Click(IDC_HASHNOW);
    Copy(kDigestAbc);
    EXPECT_EQ(Text(IDC_STATUS), "");
}

// A file that cannot be opened, or read whole: the user is told, the status
// is blanked, and the window keeps what it showed, never a partial digest.
TEST_F(HashNowTest, UnreadableFileIsReportedAndChangesNothing)
{
    // Windows fails reads of a range another handle has locked. Wine keeps
    // such locks advisory; there the unreadable file is the process's own
    // memory from address 0, which is never mapped, so the first read fails.
    std::string unreadable = MakeFile("locked", Pattern(4096));
    const HANDLE hLock = ::CreateFileA(unreadable.c_str(), GENERIC_READ | GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(hLock, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(::LockFile(hLock, 1024, 0, 1024, 0));
    FILE* probe = std::fopen(unreadable.c_str(), "rb");
    ASSERT_NE(probe, nullptr);
    char buffer[4096];
    if (std::fread(buffer, 1, sizeof buffer, probe) == sizeof buffer)
        unreadable = "Z:\\proc\\self\\mem";
    std::fclose(probe);

    const struct { std::string path; const char* text; std::vector<WPARAM> positions;
                   std::vector<std::string> taskbar, atBox; } cases[] = {
        { Dir() + "\\missing", "Could not open file.", {}, {}, { "no wait, nothing sent" } },
        // no bytes in, no progress
        { unreadable, "Could not read file.", { 0 }, { "normal", "0", "error", "none" }, { "no wait, error" } },
    };
    TaskbarStandIn taskbar;
    TaskbarStandIn::Announce(m_dlg.m_hWnd);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        m_dlg.m_nMode = CHashDlg::MODE_TEXT;    // so the typed text stays
        Type("abc");
        Click(IDC_HASHNOW);
        ::SendMessageA(Item(IDC_PROGRESS), PBM_SETPOS, 37, 0);
        UseFile(c.path);

        // Hash Now is pressed again while the command runs, as another
        // program or UI Automation can post it: the error box's modal loop
        // lets it through, and the command must not run inside itself.
        // Over the box the cursor is the arrow again, and the taskbar
        // button shows the error while the box is open.
        taskbar->m_calls.clear();
        AtEachMessageBox atBox;
        MessageBoxRecorder boxes;
        MessageLog status(Item(IDC_STATUS), { WM_SETTEXT }, [this](const MessageLog::Entry& e) {
            if (e.text == "Working....")
                ::PostMessageA(m_dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_HASHNOW, BN_CLICKED),
                               reinterpret_cast<LPARAM>(Item(IDC_HASHNOW)));
        });
        MessageLog hash(Item(IDC_HASH), { WM_SETTEXT });
        EXPECT_EQ(HashLoggingPositions(), c.positions);
        EXPECT_EQ(boxes.Boxes(), (std::vector<RecordedMessageBox>{
                                     { c.text, "ERROR", MB_ICONEXCLAMATION, MB_OK, m_dlg.m_hWnd } }));

        EXPECT_EQ(status.Texts(), (std::vector<std::string>{ "Working....", "" }));
        EXPECT_EQ(taskbar->m_calls, c.taskbar);
        EXPECT_EQ(atBox.Seen(), c.atBox);
        EXPECT_TRUE(hash.Entries().empty());
        EXPECT_EQ(Text(IDC_HASH), kDigestAbc);
        EXPECT_EQ(m_dlg.m_strHash, kDigestAbc);
        EXPECT_EQ(m_dlg.m_nMode, CHashDlg::MODE_FILE);
        EXPECT_EQ(m_dlg.m_strFilePath, c.path.c_str());
        if (c.positions.empty()) {
            EXPECT_EQ(Position(), 37);
        }
    }
    ::UnlockFile(hLock, 1024, 0, 1024, 0);
    ::CloseHandle(hLock);
}

// A path past MAX_PATH, too long for the field's typing limit: the length
// warning comes, and the chosen file is hashed (or Clear clears) all the same.
TEST_F(HashNowTest, TooLongPathWarnsAndIsStillHashed)
{
    std::string path = Dir();
    std::vector<std::wstring> dirs;
    while (300 - path.size() > 120) {
        path += "\\" + std::string(100, 'd');
        dirs.push_back(L"\\\\?\\" + Widen(path));
        ASSERT_TRUE(::CreateDirectoryW(dirs.back().c_str(), NULL)) << ::GetLastError();
    }
    path += "\\" + std::string(299 - path.size(), 'f');
    ASSERT_EQ(path.size(), 300u);
    const std::wstring file = L"\\\\?\\" + Widen(path);
    const std::string bytes = Pattern(3000);
    MakeLongFile(path, bytes);

    UseFile(path);
    MessageBoxRecorder boxes;
    Click(IDC_HASHNOW);
    EXPECT_EQ(Text(IDC_HASH), Md5Of(bytes));
    EXPECT_EQ(Text(IDC_INPUT), path);
    // Clear brings the same warning, and clears all the same.
    Click(IDC_CLEAR);
    EXPECT_EQ(Text(IDC_INPUT), "");
    EXPECT_EQ(Text(IDC_HASH), "");
    const RecordedMessageBox warning = { "Enter no more than 255 characters.", "Sumwise", MB_ICONEXCLAMATION, MB_OK,
                                         m_dlg.m_hWnd };
    EXPECT_EQ(boxes.Boxes(), std::vector<RecordedMessageBox>(2, warning));

    ::DeleteFileW(file.c_str());
    for (auto it = dirs.rbegin(); it != dirs.rend(); ++it)
        ::RemoveDirectoryW(it->c_str());
}

// The file grows or shrinks once the stream's first buffer-full (1 MiB) is
// in. The stream reads on from the file as it now is, so the bytes read are
// the grown file whole, or the shrunk one up to its new end; the bar stays
// within its range either way.
TEST_F(HashNowTest, FileChangedWhileReadGivesTheDigestOfTheBytesRead)
{
    const std::string original = Pattern(3 << 20);
    const std::string extra = Pattern(70001).substr(12345);
    const size_t nShrunk = (3 << 20) / 2 + 77;   // past the first buffer-full
    const struct { const char* name; bool bGrow; std::string read; } cases[] = {
        { "grow", true, original + extra },
        { "shrink", false, original.substr(0, nShrunk) },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = MakeFile(c.name, original);
        UseFile(path);
        bool bChanged = false;
        size_t nPositions = 0;
        MessageLog spy(Item(IDC_PROGRESS), { PBM_SETPOS }, [&](const MessageLog::Entry&) {
            if (++nPositions != 2)    // the first after the reset
                return;
            const HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                           NULL, OPEN_EXISTING, 0, NULL);
            DWORD nWritten = 0;
            if (c.bGrow) {
                ::SetFilePointer(h, 0, NULL, FILE_END);
                bChanged = ::WriteFile(h, extra.data(), static_cast<DWORD>(extra.size()), &nWritten, NULL)
                    && nWritten == extra.size();
            } else {
                ::SetFilePointer(h, static_cast<LONG>(nShrunk), NULL, FILE_BEGIN);
                bChanged = ::SetEndOfFile(h) != FALSE;
            }
            ::CloseHandle(h);
        });
        const std::vector<WPARAM> positions = HashLoggingPositions();
        ASSERT_TRUE(bChanged);
        ASSERT_FALSE(positions.empty());
        EXPECT_EQ(Text(IDC_HASH), Md5Of(c.read));
        EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
        EXPECT_EQ(positions.back(), c.bGrow ? 100u : nShrunk * 100 / original.size());
    }
}

// A long text placed by the program: written once, not again when it is
// unchanged, and the typing limit is set all the same.
TEST_F(HashNowTest, WritingInputRewritesOnlyChangedTextAndSetsTheLimit)
{
    m_dlg.m_strInput = std::string(300, 'i').c_str();
    MessageLog input(Item(IDC_INPUT), { WM_SETTEXT });
    EXPECT_TRUE(m_dlg.UpdateData(FALSE));
    EXPECT_TRUE(m_dlg.UpdateData(FALSE));
    EXPECT_EQ(input.Texts(), std::vector<std::string>{ std::string(300, 'i') });
    EXPECT_EQ(::SendMessageA(Item(IDC_INPUT), EM_GETLIMITTEXT, 0, 0), 255);
}

extern "C" decltype(&::GetAsyncKeyState) __imp_GetAsyncKeyState;
extern "C" decltype(&::GetQueueStatus) __imp_GetQueueStatus;
extern "C" decltype(&::PeekMessageW) __imp_PeekMessageW;
extern "C" decltype(&::VerifyVersionInfoW) __imp_VerifyVersionInfoW;

// The keyboard, the queue and a touch on the frame as the close check sees
// them, through stand-ins for the three functions it reads them by.
class StandInInput
{
public:
    StandInInput()
        : m_keys(&__imp_GetAsyncKeyState, [](int nKey) -> SHORT {
              const auto it = s_keys.find(nKey);
              return it == s_keys.end() || ::GetTickCount64() >= s_until ? 0 : it->second;
          }),
          m_queue(&__imp_GetQueueStatus, [](UINT flags) -> DWORD {
              // Windows 7 may refuse the touch and pen flags.
              if (!s_bWindows8 && (flags & (0x0800 | 0x1000))) {
                  ::SetLastError(ERROR_INVALID_FLAGS);
                  return 0;
              }
              const UINT nNew = s_nNew & flags;
              s_nNew = 0;    // new once, as the input arrives once
              return MAKELONG(nNew, nNew);
          }),
          m_peek(&__imp_PeekMessageW, [](LPMSG pMsg, HWND hWnd, UINT nFirst, UINT nLast, UINT flags) -> BOOL {
              if (!(flags & (0x1000 << 16)))    // PM_QS_POINTER
                  return s_realPeek(pMsg, hWnd, nFirst, nLast, flags);
              if (s_nTapHit == 0 || nFirst > 0x0242 || nLast < 0x0242)    // WM_NCPOINTERDOWN
                  return FALSE;
              *pMsg = MSG();
              pMsg->hwnd = hWnd;
              pMsg->message = 0x0242;
              pMsg->wParam = MAKEWPARAM(1, s_nTapHit);   // pointer 1, the window's hit test
              pMsg->lParam = MAKELPARAM(s_tap.x, s_tap.y);
              return TRUE;
          }),
          m_version(&__imp_VerifyVersionInfoW, [](LPOSVERSIONINFOEXW, DWORD, DWORDLONG) -> BOOL {
              if (!s_bWindows8)
                  ::SetLastError(ERROR_OLD_WIN_VERSION);
              return s_bWindows8;
          })
    {
    }
    // The system, for checks made from now on: Windows 8 or later, or
    // Windows 7.
    static void System(bool bWindows8) { s_bWindows8 = bWindows8; }
    // From now on: keys held (for ms milliseconds), input new in the queue,
    // a contact waiting at a point that the window hit-tests as nTapHit
    // (none with 0).
    static void Set(const std::map<int, SHORT>& keys, ULONGLONG nMs, UINT nNew, POINT tap, UINT nTapHit)
    {
        s_keys = keys;
        s_until = ::GetTickCount64() + nMs;
        s_nNew = nNew;
        s_tap = tap;
        s_nTapHit = nTapHit;
    }

private:
    static inline std::map<int, SHORT> s_keys;
    static inline ULONGLONG s_until = 0;
    static inline UINT s_nNew = 0;
    static inline POINT s_tap = {};
    static inline UINT s_nTapHit = 0;
    static inline bool s_bWindows8 = true;
    static inline const decltype(&::PeekMessageW) s_realPeek = __imp_PeekMessageW;
    ImportPatch<decltype(&::GetAsyncKeyState)> m_keys;
    ImportPatch<decltype(&::GetQueueStatus)> m_queue;
    ImportPatch<decltype(&::PeekMessageW)> m_peek;
    ImportPatch<decltype(&::VerifyVersionInfoW)> m_version;
};

// While a file is hashed the window takes no messages. A click on its close
// box ends the hash at once, with no digest and the file closed, and waits
// in the queue: once messages flow again, it closes the window. A click
// elsewhere or a key that asks for nothing lets the hash run to its end,
// and waits likewise. A thread of the test gives the input through
// SendInput, as the mouse and keyboard would, once the hash has begun.
// Then the check alone, through stand-ins: it decides by what the keys are
// doing now, so a "pressed since" bit left by a press in another program,
// or Alt and F4 pressed at different times, asks for nothing; it finds
// the close box where the window says it is, wider than a caption button
// under the desktop compositor, for a click, and by the window's own hit
// test for a touch, whose point is in physical pixels. Touch and pen are
// asked about from Windows 8 on only.
TEST_F(HashNowTest, CloseBoxEndsAHashAtOnceOtherInputWaits)
{
    const LONGLONG kLong = LONGLONG(8) << 30, kShort = LONGLONG(128) << 20;
    RECT rc;
    TITLEBARINFO bar = {};
    bar.cbSize = sizeof bar;
    ASSERT_TRUE(::GetTitleBarInfo(m_dlg.m_hWnd, &bar));
    ::GetWindowRect(Item(IDC_HASH), &rc);
    const POINT closeBox = { bar.rcTitleBar.right - ::GetSystemMetrics(SM_CXSIZE) / 2,
                             (bar.rcTitleBar.top + bar.rcTitleBar.bottom) / 2 };
    const POINT hashField = { (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 };
    ASSERT_EQ(::SendMessageA(m_dlg.m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(closeBox.x, closeBox.y)), HTCLOSE);
    // Two pixels in from the close box's left edge by the window's own hit
    // test (SendInput's absolute coordinates land within a pixel), which
    // Wine 10 draws 25 pixels wide where SM_CXSIZE says 18.
    POINT closeLeft = closeBox;
    while (::SendMessageA(m_dlg.m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(closeLeft.x - 1, closeLeft.y)) == HTCLOSE)
        --closeLeft.x;
    closeLeft.x += 2;
    const struct { const char* what; LONGLONG size; POINT at; WORD key; bool bStops; } cases[] = {
        { "a click on the close box", kLong, closeBox, 0, true },
        { "a click on the close box's left edge", kLong, closeLeft, 0, true },
        { "a click on the Hash field", kShort, hashField, 0, false },
        { "the A key", kShort + 1, {}, 'A', false },
    };
    const std::string path = Dir() + "\\long.bin";
    TaskbarStandIn taskbar;
    TaskbarStandIn::Announce(m_dlg.m_hWnd);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        m_dlg.m_strHash = "";   // as File leaves it
        UseFile(MakeSparse(path, c.size));
        ::SetForegroundWindow(m_dlg.m_hWnd);
        // The pointer is put where the click goes by this thread, the
        // window's own: under Wine a pointer moved by another thread can be
        // moved back by the window's thread as it reads older X events.
        if (!c.key) {
            ::SetCursorPos(c.at.x, c.at.y);
            PumpMessages();
            POINT pt;
            ASSERT_TRUE(::GetCursorPos(&pt) && pt.x == c.at.x && pt.y == c.at.y) << pt.x << "," << pt.y;
        }
        ASSERT_EQ(::GetForegroundWindow(), m_dlg.m_hWnd);
        MessageLog closed(m_dlg.m_hWnd, { WM_SYSCOMMAND });
        ULONGLONG sentAt = 0;
        // A press as a hand makes it: held for 50 ms, then let go.
        std::thread input([&c, &sentAt] {
            ::Sleep(100);
            INPUT in[2] = {};
            for (INPUT& i : in) {
                i.type = c.key ? INPUT_KEYBOARD : INPUT_MOUSE;
                i.ki.wVk = c.key;
            }
            if (c.key) {
                in[1].ki.dwFlags = KEYEVENTF_KEYUP;
            } else {
                in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
                in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
            }
            sentAt = ::GetTickCount64();
            ::SendInput(1, in, sizeof in[0]);
            ::Sleep(50);
            ::SendInput(1, in + 1, sizeof in[0]);
        });
        const ULONGLONG start = ::GetTickCount64();
        ::SendMessageA(Item(IDC_HASHNOW), BM_CLICK, 0, 0);
        const ULONGLONG end = ::GetTickCount64();
        const HWND hWndFront = ::GetForegroundWindow();
        input.join();
        ASSERT_GT(sentAt, start);
        ASSERT_LT(sentAt, end) << "the input came after the hash, which proves nothing";
        // The check acts only for the window in front: a window another
        // program shows can take the foreground, and then nothing stops.
        EXPECT_EQ(hWndFront, m_dlg.m_hWnd) << "the foreground went to \"" << WindowText(hWndFront) << "\"";
        EXPECT_EQ(Text(IDC_HASH), c.bStops ? "" : Md5Of(std::string(static_cast<size_t>(c.size), '\0')));
        EXPECT_EQ(Text(IDC_STATUS), "");
        if (c.bStops) {
            EXPECT_LT(end - sentAt, 1000u) << "the hash went on after the click";
        }
        EXPECT_EQ(taskbar->m_calls.back(), "none") << "the taskbar button shows progress after the hash";
        const HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
        EXPECT_NE(h, INVALID_HANDLE_VALUE) << "the file is still open";
        ::CloseHandle(h);
        EXPECT_TRUE(closed.Entries().empty()) << "input was handled during the hash";
        PumpMessages();
        const bool bClosed = std::any_of(closed.Entries().begin(), closed.Entries().end(),
            [](const MessageLog::Entry& e) { return (e.wParam & 0xFFF0) == SC_CLOSE; });
        EXPECT_EQ(bClosed, c.bStops);
        ::ShowWindow(m_dlg.m_hWnd, SW_SHOW);
        PumpMessages();
    }

    // The window answers WM_GETTITLEBARINFOEX with a close box two caption
    // buttons wide, as a compositor's frame is; its left part is outside
    // the classic one.
    const int cxButton = ::GetSystemMetrics(SM_CXSIZE);
    const RECT wideBox = { bar.rcTitleBar.right - 2 * cxButton, bar.rcTitleBar.top, bar.rcTitleBar.right,
                           bar.rcTitleBar.bottom };
    const POINT leftPart = { wideBox.left + cxButton / 2, closeBox.y };
    const SUBCLASSPROC answerWide = [](HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR ref) -> LRESULT {
        if (message != WM_GETTITLEBARINFOEX)
            return ::DefSubclassProc(hWnd, message, wParam, lParam);
        reinterpret_cast<TITLEBARINFOEX*>(lParam)->rgrect[5] = *reinterpret_cast<const RECT*>(ref);
        return 0;
    };
    ::SetWindowSubclass(m_dlg.m_hWnd, answerWide, 0, reinterpret_cast<DWORD_PTR>(&wideBox));
    MessageLog asked(m_dlg.m_hWnd, { WM_GETTITLEBARINFOEX });
    const std::map<int, SHORT> none, escapeDown = { { VK_ESCAPE, SHORT(0x8000) } };
    const SHORT down = SHORT(0x8000), since = 0x0001;
    enum { WIN8, WIN7 };
    const struct { const char* what; std::map<int, SHORT> keys; ULONGLONG nMs; UINT nNew; POINT at; UINT nTapHit;
                   int nSystem; bool bStops;
    } moments[] = {
        { "Escape's pressed-since bit, no key down", { { VK_ESCAPE, since } }, 60, QS_KEY, {}, 0, WIN8, false },
        { "Escape held 30 ms", escapeDown, 30, QS_KEY, {}, 0, WIN8, true },
        { "Escape held on Windows 7", escapeDown, 30, QS_KEY, {}, 0, WIN7, true },
        { "Escape down, no new input here", escapeDown, 60, 0, {}, 0, WIN8, false },
        { "Escape down, only a click new here", escapeDown, 60, QS_MOUSEBUTTON, hashField, 0, WIN8, false },
        { "Alt alone", { { VK_MENU, down }, { VK_LMENU, down } }, 60, QS_KEY, {}, 0, WIN8, false },
        { "F4 once Alt was let go", { { VK_F4, down }, { VK_MENU, since }, { VK_LMENU, since } }, 60, QS_KEY, {},
          0, WIN8, false },
        { "Alt once F4 was let go", { { VK_F4, since }, { VK_LMENU, down } }, 60, QS_KEY, {}, 0, WIN8, false },
        { "Alt and F4", { { VK_LMENU, down }, { VK_F4, down } }, 60, QS_KEY, {}, 0, WIN8, true },
        { "the right Alt and F4", { { VK_RMENU, down }, { VK_F4, down } }, 60, QS_KEY, {}, 0, WIN8, true },
        { "the button down on the close box's left part", { { VK_LBUTTON, down } }, 60, QS_MOUSEBUTTON, leftPart,
          0, WIN8, true },
        { "the button's pressed-since bit on the close box", { { VK_LBUTTON, since } }, 60, QS_MOUSEBUTTON, closeBox,
          0, WIN8, false },
        // The points disagree with the hit tests, as a system-aware
        // process's would on a monitor of another scale.
        { "a touch hit-tested as the close box, its point elsewhere", none, 60, 0x1000, hashField, HTCLOSE, WIN8,
          true },
        { "a touch hit-tested as the Hash field, its point on the close box", none, 60, 0x1000, closeBox, HTCLIENT,
          WIN8, false },
    };
    StandInInput input;
    ::SetForegroundWindow(m_dlg.m_hWnd);
    ASSERT_EQ(::GetForegroundWindow(), m_dlg.m_hWnd);
    for (const auto& m : moments) {
        SCOPED_TRACE(m.what);
        ::SetCursorPos(m.at.x, m.at.y);
        StandInInput::System(m.nSystem == WIN8);
        CCloseRequest check(m_dlg.m_hWnd);
        StandInInput::Set(m.keys, m.nMs, m.nNew, m.at, m.nTapHit);
        // A call a millisecond, as 1 KiB pieces come from a medium of 1 MB/s:
        // the looks keep their interval however few the calls.
        bool bStopped = false;
        for (const ULONGLONG end = ::GetTickCount64() + 60; !bStopped && ::GetTickCount64() < end; ::Sleep(1))
            bStopped = check.Waiting() != FALSE;
        EXPECT_EQ(bStopped, m.bStops);
    }
    EXPECT_FALSE(asked.Entries().empty()) << "the window was never asked where its close box is";
    ::RemoveWindowSubclass(m_dlg.m_hWnd, answerWide, 0);
}
