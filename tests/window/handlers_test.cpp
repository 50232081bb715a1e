// The main window's handlers other than the hash command: start state,
// Clear, File and the Input lock, keys, colours, the system menu and About.
#include "tests/window/window_fixture.h"

#include <commctrl.h>
#include <oleacc.h>

#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <tuple>

namespace {

const char kFox[] = "The quick brown fox jumps over the lazy dog";
const char kFoxDigest[] = "9e107d9d372bb6826bd81d3542a419d6";
const char kAbcDigest[] = "900150983cd24fb0d6963f7d28e17f72";

// Runs steps from a thread timer inside whatever modal loop is running, one
// step a tick. Timer messages come only when nothing else is queued, so each
// step sees the input the one before it posted already handled. Past the
// deadline every dialog of the thread is ended, so a failure cannot hang
// the run; with no steps it is only that watchdog. The newest script is the
// one that acts.
class ModalScript
{
public:
    explicit ModalScript(std::vector<std::function<void()>> steps = {}, DWORD nTimeoutMs = 10000)
        : m_steps(std::move(steps)), m_deadline(::GetTickCount64() + nTimeoutMs), m_pOuter(s_pScript),
          m_timer(::SetTimer(NULL, 0, 10, Tick))
    {
        s_pScript = this;
    }
    ~ModalScript()
    {
        ::KillTimer(NULL, m_timer);
        s_pScript = m_pOuter;
        if (m_bTimedOut)
            ADD_FAILURE() << "a dialog was still open at the deadline";
    }
    bool Done() const { return m_next == m_steps.size(); }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR idEvent, DWORD)
    {
        ModalScript* self = s_pScript;
        if (self == nullptr || idEvent != self->m_timer)
            return;
        if (::GetTickCount64() > self->m_deadline) {
            self->m_bTimedOut = true;
            ::EnumThreadWindows(::GetCurrentThreadId(), [](HWND hWnd, LPARAM) {
                if (IsDialogClass(hWnd))
                    ::EndDialog(hWnd, 0);
                return TRUE;
            }, 0);
        } else if (self->m_next < self->m_steps.size()) {
            // Moved on first: a step that opens a modal loop lets the next
            // step run inside it.
            self->m_steps[self->m_next++]();
        }
    }

    static ModalScript* s_pScript;
    std::vector<std::function<void()>> m_steps;
    ULONGLONG m_deadline;
    ModalScript* m_pOuter;
    UINT_PTR m_timer;
    size_t m_next = 0;
    bool m_bTimedOut = false;
};

ModalScript* ModalScript::s_pScript = nullptr;

// The share of a window's painted client area in the given colour.
double Share(HWND hWnd, COLORREF colour)
{
    ::UpdateWindow(hWnd);
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    HDC hDC = ::GetDC(hWnd);
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            n += ::GetPixel(hDC, x, y) == colour;
    ::ReleaseDC(hWnd, hDC);
    return static_cast<double>(n) / (rc.right * rc.bottom);
}

class HandlersTest : public HashDlgTest
{
protected:
    std::tuple<std::string, std::string, std::string, int> State() const
    {
        return { Text(IDC_INPUT), Text(IDC_HASH), std::string(m_dlg.m_strFilePath), m_dlg.m_nMode };
    }
    // A message box or file dialog left open fails the test instead of
    // hanging the run. The file dialog makes the chosen folder current; the
    // fixture can only remove the folder once it is not.
    void SetUp() override
    {
        ::GetCurrentDirectoryA(MAX_PATH, m_cwd);
        HashDlgTest::SetUp();
        m_pWatchdog = std::make_unique<ModalScript>(std::vector<std::function<void()>>(), 30000);
    }
    void TearDown() override
    {
        m_pWatchdog.reset();
        ::SetCurrentDirectoryA(m_cwd);
        HashDlgTest::TearDown();
    }
    // Through the real file dialog, typed into its name box.
    std::vector<RecordedFileDialog> ChooseFile(std::vector<std::string> paths)
    {
        FileDialogDriver driver(std::move(paths));
        Click(IDC_FILE);
        return driver.Dialogs();
    }

private:
    char m_cwd[MAX_PATH] = "";
    std::unique_ptr<ModalScript> m_pWatchdog;
};

TEST_F(HandlersTest, StartWithNamedFieldsAndClearAfterAFileHashLeaveBlankTextMode)
{
    auto expectBlank = [this] {
        EXPECT_EQ(Text(IDC_INPUT), "");
        EXPECT_EQ(Text(IDC_HASH), "");
        EXPECT_EQ(Text(IDC_STATUS), "");
        EXPECT_EQ(m_dlg.m_nMode, CHashDlg::MODE_TEXT);
        EXPECT_TRUE(::IsWindowEnabled(Item(IDC_INPUT)));
        EXPECT_EQ(Position(), 0);
    };
    expectBlank();
    EXPECT_EQ(::GetFocus(), Item(IDC_INPUT));

    // A screen reader names each field by the label just above it in
    // z-order. Windows stops looking at a tab stop and Wine does not, so the
    // order itself is checked too. (MinGW's IID_IAccessible links to a
    // stub's bytes, not the IID: hence __uuidof.)
    const struct { int field, label; const wchar_t* name; LONG readOnly; } fields[] = {
        { IDC_INPUT, IDC_INPUT_LABEL, L"Input:", 0 },
        { IDC_HASH, IDC_HASH_LABEL, L"Hash:", STATE_SYSTEM_READONLY },
    };
    for (const auto& f : fields) {
        EXPECT_EQ(::GetWindow(Item(f.field), GW_HWNDPREV), Item(f.label));
        IAccessible* pAcc = nullptr;
        ASSERT_EQ(::AccessibleObjectFromWindow(Item(f.field), OBJID_CLIENT, __uuidof(IAccessible),
                                               reinterpret_cast<void**>(&pAcc)), S_OK);
        VARIANT self = {}, role = {}, state = {};
        self.vt = VT_I4;  // CHILDID_SELF
        BSTR name = nullptr;
        pAcc->get_accName(self, &name);
        pAcc->get_accRole(self, &role);
        pAcc->get_accState(self, &state);
        EXPECT_EQ(std::wstring(name != nullptr ? name : L""), f.name);
        EXPECT_EQ(role.lVal, ROLE_SYSTEM_TEXT);
        EXPECT_EQ(state.lVal & STATE_SYSTEM_READONLY, f.readOnly);
        ::SysFreeString(name);
        pAcc->Release();
    }
    // Tab and Shift+Tab go round the tab stops in the template's order.
    const std::vector<int> cycles[] = { { IDC_HASH, IDC_CLEAR, IDC_HASHNOW, IDC_FILE, IDC_INPUT },
                                        { IDC_FILE, IDC_HASHNOW, IDC_CLEAR, IDC_HASH, IDC_INPUT } };
    for (WPARAM back : { 0, 1 }) {
        std::vector<int> visited;
        for (size_t i = 0; i < cycles[back].size(); ++i) {
            ::SendMessageA(m_dlg.m_hWnd, WM_NEXTDLGCTL, back, FALSE);
            visited.push_back(::GetDlgCtrlID(::GetFocus()));
        }
        EXPECT_EQ(visited, cycles[back]);
    }

    Copy(std::string("MD5: ") + kFoxDigest);
    ChooseFile({ MakeFile("fox.txt", kFox) });
    Click(IDC_HASHNOW);
    ASSERT_EQ(Text(IDC_HASH), kFoxDigest);
    EXPECT_EQ(Text(IDC_STATUS), "Matches the copied MD5.");
    Click(IDC_CLEAR);
    expectBlank();
    // With no digest shown there is nothing to compare.
    Copy(kFoxDigest);
    EXPECT_EQ(Text(IDC_STATUS), "");
    Type("abc");
    Click(IDC_HASHNOW);
    EXPECT_EQ(Text(IDC_INPUT), "abc");
    EXPECT_EQ(Text(IDC_HASH), kAbcDigest);
}

TEST_F(HandlersTest, FileDialogChoiceIsShownAndHashedWhileCancelOrNoPathKeepTheState)
{
    const std::string path = MakeFile("fox.txt", kFox);
    MessageBoxRecorder recorder;
    Copy(kAbcDigest);
    Type("abc");
    Click(IDC_HASHNOW);
    auto before = State();
    EXPECT_EQ(ChooseFile({}).size(), 1u);
    EXPECT_EQ(State(), before);
    EXPECT_EQ(Text(IDC_STATUS), "Matches the copied MD5.");

    const auto dialogs = ChooseFile({ path });
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].title, "Select file to calculate MD5 hash...");
    EXPECT_EQ(dialogs[0].fileType, "All Files (*.*)");
    EXPECT_EQ(dialogs[0].owner, m_dlg.m_hWnd);
    EXPECT_EQ(State(), std::make_tuple(path, std::string(), path, static_cast<int>(CHashDlg::MODE_FILE)));
    EXPECT_EQ(Text(IDC_STATUS), "");
    Click(IDC_HASHNOW);
    EXPECT_EQ(Text(IDC_HASH), kFoxDigest);
    EXPECT_EQ(Position(), 100);
    EXPECT_EQ(Text(IDC_STATUS), "Does not match the copied MD5.");

    before = State();
    EXPECT_EQ(ChooseFile({}).size(), 1u);
    EXPECT_EQ(State(), before);
    EXPECT_TRUE(recorder.Boxes().empty());

    EXPECT_EQ(ChooseFile({ "" }).size(), 1u);
    EXPECT_EQ(State(), before);
    EXPECT_EQ(recorder.Boxes(), (std::vector<RecordedMessageBox>{
                                    { "File Not Defined", "Error", MB_ICONEXCLAMATION, MB_OK, m_dlg.m_hWnd } }));
    EXPECT_TRUE(::IsWindowEnabled(m_dlg.m_hWnd));
}

// Drops as the shell posts them: a DROPFILES block in global memory with
// wide names. Each good one sets the state File would; each bad one brings
// its box and changes nothing; none hashes.
TEST_F(HandlersTest, DroppedFileIsChosenLikeFileAndBadDropsChangeNothing)
{
    auto drop = [this](const std::vector<std::wstring>& paths) {
        size_t nChars = 1;
        for (const std::wstring& path : paths)
            nChars += path.size() + 1;
        const HGLOBAL hDrop = ::GlobalAlloc(GHND, sizeof(DROPFILES) + nChars * sizeof(wchar_t));
        DROPFILES* pDrop = static_cast<DROPFILES*>(::GlobalLock(hDrop));
        pDrop->pFiles = sizeof(DROPFILES);
        pDrop->fWide = TRUE;
        wchar_t* pName = reinterpret_cast<wchar_t*>(pDrop + 1);
        for (const std::wstring& path : paths)
            pName = std::copy(path.begin(), path.end(), pName) + 1;
        ::GlobalUnlock(hDrop);
        ::PostMessageA(m_dlg.m_hWnd, WM_DROPFILES, reinterpret_cast<WPARAM>(hDrop), 0);
        PumpMessages();
    };
    const std::string fox = MakeFile("fox.txt", kFox), abc = MakeFile("日本 ü.txt", "abc");
    const std::string longPath = Dir() + "\\" + std::string(240, 'n') + ".txt";
    ASSERT_GT(longPath.size(), static_cast<size_t>(MAX_PATH));
    MakeLongFile(longPath, kFox);
    const struct { const char* name; std::vector<std::wstring> paths; std::string chosen, error; } cases[] = {
        { "one file", { Widen(fox) }, fox, "" },
        { "several", { Widen(abc), Widen(fox) }, "", "Drop one file at a time." },
        { "a folder", { Widen(Dir()) }, "", "Drop a file, not a folder." },
        { "past MAX_PATH", { Widen(longPath) }, longPath, "" },
        { "not in the code page", { Widen(Dir()) + L"\\bad\xD800.txt" }, "",
          "The file's name has characters this program cannot handle." },
        { "another script", { Widen(abc) }, abc, "" },
    };
    Copy(kAbcDigest);
    Type("abc");
    Click(IDC_HASHNOW);
    ASSERT_EQ(Text(IDC_STATUS), "Matches the copied MD5.");    // which the first drop ends
    auto before = State();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MessageBoxRecorder recorder;
        const std::string statusBefore = Text(IDC_STATUS);
        drop(c.paths);
        if (c.error.empty()) {
            EXPECT_TRUE(recorder.Boxes().empty());
            EXPECT_EQ(State(), std::make_tuple(c.chosen, std::string(), c.chosen,
                                               static_cast<int>(CHashDlg::MODE_FILE)));
            EXPECT_EQ(Text(IDC_STATUS), "");
            before = State();
        } else {
            EXPECT_EQ(recorder.Boxes(), (std::vector<RecordedMessageBox>{
                                            { c.error, "Error", MB_ICONEXCLAMATION, MB_OK, m_dlg.m_hWnd } }));
            EXPECT_EQ(State(), before);
            EXPECT_EQ(Text(IDC_STATUS), statusBefore);
        }
    }
    Click(IDC_HASHNOW);
    EXPECT_EQ(Text(IDC_HASH), kAbcDigest);
    ::DeleteFileW((L"\\\\?\\" + Widen(longPath)).c_str());
}

TEST_F(HandlersTest, EditsInFileModeAreUndoneWithOneRewrite)
{
    const std::string shortPath = MakeFile("fox.txt", kFox);
    const std::string longPath = "C:\\" + std::string(297, 'p');
    for (const std::string& path : { longPath, shortPath }) {
        SCOPED_TRACE(path.size());
        if (path == shortPath)
            ChooseFile({ path });
        else
            UseFile(path);
        {
            MessageLog log(Item(IDC_INPUT), { WM_SETTEXT });
            Type("typed over");
            // The test's own text, then the one rewrite.
            EXPECT_EQ(log.Texts(), (std::vector<std::string>{ "typed over", path }));
            EXPECT_EQ(Text(IDC_INPUT), path);
        }
        // A key at the end (the long path, past the limit, refuses it).
        ::SendMessageA(Item(IDC_INPUT), EM_SETSEL, path.size(), path.size());
        ::SendMessageA(Item(IDC_INPUT), WM_CHAR, 'x', 1);
        EXPECT_EQ(Text(IDC_INPUT), path);
        EXPECT_EQ(std::string(m_dlg.m_strInput), path);
    }
    Click(IDC_HASHNOW);
    EXPECT_EQ(Text(IDC_HASH), kFoxDigest);
}

TEST_F(HandlersTest, InputTakesNoMoreThan255TypedCharacters)
{
    for (size_t nBefore : { 254u, 255u }) {
        Type(std::string(nBefore, 'a'));
        ::SendMessageA(Item(IDC_INPUT), EM_SETSEL, nBefore, nBefore);
        ::SendMessageA(Item(IDC_INPUT), WM_CHAR, 'b', 1);
        EXPECT_EQ(Text(IDC_INPUT).size(), 255u) << nBefore;
    }
}

TEST_F(HandlersTest, NonAsciiTextAndFileNamesHashAsUtf8)
{
    ASSERT_EQ(::GetACP(), static_cast<UINT>(CP_UTF8));
    // As the keyboard delivers text: one WM_CHAR per UTF-16 unit.
    for (wchar_t ch : std::wstring(L"gr\u00fc\u00dfe \u65e5\u672c"))
        ::SendMessageW(Item(IDC_INPUT), WM_CHAR, ch, 1);
    Click(IDC_HASHNOW);
    EXPECT_EQ(Text(IDC_INPUT), "grüße 日本");
    // printf %s 'grüße 日本' | md5sum
    EXPECT_EQ(Text(IDC_HASH), "b615cdca02b170d3cc2655a5d3af70cb");

    const std::string path = MakeFile("日本語 ü.txt", kFox);
    const std::wstring wide = Widen(Dir()) + L"\\\u65e5\u672c\u8a9e \u00fc.txt";
    ASSERT_NE(::GetFileAttributesW(wide.c_str()), INVALID_FILE_ATTRIBUTES) << "made under another name";
    ChooseFile({ path });
    EXPECT_EQ(Text(IDC_INPUT), path);
    Click(IDC_HASHNOW);
    EXPECT_EQ(Text(IDC_HASH), kFoxDigest);
}

// Wine's file dialog crashes on a path past MAX_PATH (see the framework's
// file dialog tests), so the path is set as a choice would set it.
TEST_F(HandlersTest, PathPastMaxPathHashes)
{
    const std::string path = Dir() + "\\" + std::string(240, 'n') + ".txt";
    ASSERT_GT(path.size(), static_cast<size_t>(MAX_PATH));
    const std::wstring file = L"\\\\?\\" + Widen(path);
    MakeLongFile(path, kFox);

    MessageBoxRecorder recorder;
    UseFile(path);
    Click(IDC_HASHNOW);
    // Removed here: the fixture's clean-up cannot reach past MAX_PATH.
    ::DeleteFileW(file.c_str());
    EXPECT_EQ(Text(IDC_HASH), kFoxDigest);
    // The field's length warning may come (the path is past the field's
    // limit); a failure to open or read may not.
    for (const RecordedMessageBox& box : recorder.Boxes())
        EXPECT_NE(box.caption, "ERROR") << box.text;
}

// A real mouse click on the window's close box, found by hit-testing the
// caption from its right end.
void ClickCloseBox(HWND hWnd)
{
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    const int y = rc.top + ::GetSystemMetrics(SM_CYFRAME) + ::GetSystemMetrics(SM_CYCAPTION) / 2;
    for (int x = rc.right - 1; x > rc.left; --x) {
        if (::SendMessageA(hWnd, WM_NCHITTEST, 0, MAKELPARAM(x, y)) != HTCLOSE)
            continue;
        const int cx = ::GetSystemMetrics(SM_CXSCREEN) - 1, cy = ::GetSystemMetrics(SM_CYSCREEN) - 1;
        INPUT in[3] = {};
        for (INPUT& i : in) {
            i.type = INPUT_MOUSE;
            i.mi.dx = (x - 2) * 65535 / cx;
            i.mi.dy = y * 65535 / cy;
            i.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
        }
        in[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
        in[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
        ::SendInput(3, in, sizeof(INPUT));
        return;
    }
    ADD_FAILURE() << "no close box";
}

// Dynamic Annotation as Windows has it (Wine's answers E_NOTIMPL): records
// what is marked and cleared, and how many references are held.
class RecordingAccPropServices : public IAccPropServices
{
public:
    std::vector<std::string> m_calls;
    ULONG m_nRefs = 0;

    HRESULT WINAPI QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG WINAPI AddRef() override { return ++m_nRefs; }
    ULONG WINAPI Release() override { return --m_nRefs; }
    HRESULT WINAPI SetHwndProp(HWND hWnd, DWORD idObject, DWORD idChild, MSAAPROPID idProp, VARIANT var) override
    {
        m_calls.push_back("set " + Where(hWnd, idObject, idChild) + (idProp == kLiveSetting ? " LiveSetting " : " ? ") +
                          (var.vt == VT_I4 ? std::to_string(var.lVal) : "not VT_I4"));
        return S_OK;
    }
    HRESULT WINAPI ClearHwndProps(HWND hWnd, DWORD idObject, DWORD idChild, const MSAAPROPID* paProps,
                                  int cProps) override
    {
        m_calls.push_back("clear " + Where(hWnd, idObject, idChild) +
                          (cProps == 1 && paProps[0] == kLiveSetting ? " LiveSetting" : " ?") +
                          (::IsWindow(hWnd) ? "" : " of a window gone"));
        return S_OK;
    }
    HRESULT WINAPI SetPropValue(const BYTE*, DWORD, MSAAPROPID, VARIANT) override { return Unexpected(); }
    HRESULT WINAPI SetPropServer(const BYTE*, DWORD, const MSAAPROPID*, int, IAccPropServer*, AnnoScope) override
    {
        return Unexpected();
    }
    HRESULT WINAPI ClearProps(const BYTE*, DWORD, const MSAAPROPID*, int) override { return Unexpected(); }
    HRESULT WINAPI SetHwndPropStr(HWND, DWORD, DWORD, MSAAPROPID, LPCWSTR) override { return Unexpected(); }
    HRESULT WINAPI SetHwndPropServer(HWND, DWORD, DWORD, const MSAAPROPID*, int, IAccPropServer*, AnnoScope) override
    {
        return Unexpected();
    }
    HRESULT WINAPI ComposeHwndIdentityString(HWND, DWORD, DWORD, BYTE**, DWORD*) override { return Unexpected(); }
    HRESULT WINAPI DecomposeHwndIdentityString(const BYTE*, DWORD, HWND*, DWORD*, DWORD*) override
    {
        return Unexpected();
    }
    HRESULT WINAPI SetHmenuProp(HMENU, DWORD, MSAAPROPID, VARIANT) override { return Unexpected(); }
    HRESULT WINAPI SetHmenuPropStr(HMENU, DWORD, MSAAPROPID, LPCWSTR) override { return Unexpected(); }
    HRESULT WINAPI SetHmenuPropServer(HMENU, DWORD, const MSAAPROPID*, int, IAccPropServer*, AnnoScope) override
    {
        return Unexpected();
    }
    HRESULT WINAPI ClearHmenuProps(HMENU, DWORD, const MSAAPROPID*, int) override { return Unexpected(); }
    HRESULT WINAPI ComposeHmenuIdentityString(HMENU, DWORD, BYTE**, DWORD*) override { return Unexpected(); }
    HRESULT WINAPI DecomposeHmenuIdentityString(const BYTE*, DWORD, HMENU*, DWORD*) override { return Unexpected(); }

private:
    // Windows' LiveSetting property, {c12bcd8e-2a8e-4950-8ae7-3625111d58eb}.
    static constexpr MSAAPROPID kLiveSetting = { 0xc12bcd8e, 0x2a8e, 0x4950,
                                                 { 0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb } };
    static std::string Where(HWND hWnd, DWORD idObject, DWORD idChild)
    {
        return std::to_string(::GetDlgCtrlID(hWnd)) + (static_cast<LONG>(idObject) == OBJID_CLIENT ? " client" : " ?") +
               (idChild == CHILDID_SELF ? " self" : " child");
    }
    HRESULT Unexpected()
    {
        m_calls.push_back("unexpected");
        return E_NOTIMPL;
    }
};

// For this object's life, Windows' Dynamic Annotation object is a
// RecordingAccPropServices: the program is lent a CoCreateInstance that
// makes it, as it looks the function up in ole32.
class AccPropServicesPatch
{
public:
    AccPropServicesPatch() { s_services = RecordingAccPropServices(); }
    RecordingAccPropServices* operator->() const { return &s_services; }

private:
    // CLSID_AccPropServices, {b5f8350b-0548-48b1-a6ee-88bd00b4a5e7}.
    static constexpr CLSID kAccPropServices = { 0xb5f8350b, 0x0548, 0x48b1,
                                                { 0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7 } };
    static inline RecordingAccPropServices s_services;
    CoCreateInstancePatch m_patch{ kAccPropServices, &s_services };
};

// Enter hashes and OK never closes; Escape, the close box and the system
// menu's Close each end a run of the same window, which leaks nothing from
// one run to the next: no brush, and no live region's mark.
TEST_F(HandlersTest, EnterHashesOkNeverClosesAndThreeWaysClose)
{
    CTestHashDlg dlg;
    auto item = [&dlg](int nID) { return ::GetDlgItem(dlg.m_hWnd, nID); };
    const std::function<void()> closes[] = {
        [&] { ::PostMessageA(::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1); },
        [&] { ClickCloseBox(dlg.m_hWnd); },
        [&] { ::PostMessageA(dlg.m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0); },
    };
    std::vector<HBRUSH> brushes;
    AccPropServicesPatch services;
    for (const auto& close : closes) {
        ModalScript script({
            [&] {
                ASSERT_EQ(::GetFocus(), item(IDC_INPUT));
                for (char ch : std::string("abc"))
                    ::PostMessageA(::GetFocus(), WM_CHAR, ch, 1);
                ::PostMessageA(::GetFocus(), WM_KEYDOWN, VK_RETURN, 1);
            },
            [&] {
                EXPECT_EQ(WindowText(item(IDC_HASH)), kAbcDigest);
                ::PostMessageA(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            },
            [&] {
                EXPECT_TRUE(::IsWindowVisible(dlg.m_hWnd));
                brushes.push_back(dlg.m_hbrHash);
                close();
            },
        });
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_TRUE(script.Done());
        // Marked at the start of each run, cleared before its window went.
        EXPECT_EQ(services->m_calls, (std::vector<std::string>{ "set 1010 client self LiveSetting 1",
                                                                "clear 1010 client self LiveSetting" }));
        EXPECT_EQ(services->m_nRefs, 0u);
        services->m_calls.clear();
    }
    ASSERT_EQ(brushes.size(), 3u);
    EXPECT_EQ(::GetObjectType(brushes[0]), 0u);
    EXPECT_EQ(::GetObjectType(brushes[1]), 0u);
    EXPECT_EQ(::GetObjectType(brushes[2]), static_cast<DWORD>(OBJ_BRUSH));
}

extern "C" decltype(&::SystemParametersInfoW) __imp_SystemParametersInfoW;

TEST_F(HandlersTest, OnlyTheHashFieldIsYellow)
{
    Type("abc");
    Click(IDC_HASHNOW);
    // Behind the digest's characters too: no cell keeps the default white.
    EXPECT_GT(Share(Item(IDC_HASH), RGB(255, 255, 0)), 0.75);
    EXPECT_EQ(Share(Item(IDC_HASH), RGB(255, 255, 255)), 0.0);
    EXPECT_GT(Share(Item(IDC_HASH), ::GetSysColor(COLOR_WINDOWTEXT)), 0.0);    // the text's own colour
    EXPECT_EQ(Share(Item(IDC_INPUT), RGB(255, 255, 0)), 0.0);
    EXPECT_GT(Share(Item(IDC_INPUT), ::GetSysColor(COLOR_WINDOW)), 0.5);

    // With High Contrast on, the field is in the system's own colours.
    static const auto s_real = __imp_SystemParametersInfoW;
    ImportPatch<decltype(&::SystemParametersInfoW)> patch(&__imp_SystemParametersInfoW,
        [](UINT uiAction, UINT uiParam, PVOID pvParam, UINT fWinIni) -> BOOL {
            if (uiAction != SPI_GETHIGHCONTRAST)
                return s_real(uiAction, uiParam, pvParam, fWinIni);
            static_cast<HIGHCONTRASTW*>(pvParam)->dwFlags = HCF_HIGHCONTRASTON;
            return TRUE;
        });
    ::InvalidateRect(Item(IDC_HASH), NULL, TRUE);
    EXPECT_EQ(Share(Item(IDC_HASH), RGB(255, 255, 0)), 0.0);
    EXPECT_GT(Share(Item(IDC_HASH), ::GetSysColor(COLOR_3DFACE)), 0.75);
    EXPECT_GT(Share(Item(IDC_HASH), ::GetSysColor(COLOR_WINDOWTEXT)), 0.0);
}

TEST_F(HandlersTest, SystemMenuOpensTheAboutBoxAndTheWindowResumes)
{
    const HMENU hMenu = ::GetSystemMenu(m_dlg.m_hWnd, FALSE);
    const int nItems = ::GetMenuItemCount(hMenu);
    ASSERT_GE(nItems, 2);
    EXPECT_TRUE(::GetMenuState(hMenu, nItems - 2, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(::GetMenuItemID(hMenu, nItems - 1), static_cast<UINT>(IDM_ABOUTBOX));
    char item[64] = "";
    ::GetMenuStringA(hMenu, nItems - 1, item, sizeof(item), MF_BYPOSITION);
    EXPECT_STREQ(item, "&About digestor...");

    // As in the program, where the main window owns the About box.
    AfxGetApp()->m_pMainWnd = &m_dlg;
    Type("abc");
    Click(IDC_HASHNOW);
    const auto before = State();
    HWND hAbout = NULL;
    ModalScript script({ [&] {
        hAbout = ::FindWindowA("#32770", "About Sumwise");
        ASSERT_NE(hAbout, static_cast<HWND>(NULL));
        EXPECT_FALSE(::IsWindowEnabled(m_dlg.m_hWnd));
        std::vector<std::string> texts;
        HICON hIcon = NULL;
        for (HWND h = ::GetWindow(hAbout, GW_CHILD); h != NULL; h = ::GetWindow(h, GW_HWNDNEXT)) {
            if ((::GetWindowLongA(h, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
                hIcon = reinterpret_cast<HICON>(::SendMessageA(h, STM_GETICON, 0, 0));
            else
                texts.push_back(WindowText(h));
        }
        EXPECT_NE(hIcon, static_cast<HICON>(NULL));
        EXPECT_EQ(texts, (std::vector<std::string>{ "Sumwise v1.0 - [ MD5 hash generator ]",
                                                    "(C) 2026 Sumwise contributors", "OK" }));
        ::PostMessageA(::GetDlgItem(hAbout, IDOK), BM_CLICK, 0, 0);
    } });
    ::SendMessageA(m_dlg.m_hWnd, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    AfxGetApp()->m_pMainWnd = NULL;
    EXPECT_TRUE(script.Done());
    EXPECT_FALSE(::IsWindow(hAbout));
    EXPECT_TRUE(::IsWindowEnabled(m_dlg.m_hWnd));
    EXPECT_TRUE(::IsWindowVisible(m_dlg.m_hWnd));
    EXPECT_EQ(State(), before);
}

extern "C" decltype(&::GetOpenFileNameA) __imp_GetOpenFileNameA;
extern "C" decltype(&::DialogBoxParamA) __imp_DialogBoxParamA;
extern "C" decltype(&::MessageBoxA) __imp_MessageBoxA;

// The owner the program hands the system for each modal box. Wine takes a
// control's top-level window in its place, but Windows' file dialog would
// disable only the control and leave the main window taking input.
TEST_F(HandlersTest, FileDialogErrorBoxAndAboutBoxAreOwnedByTheMainWindow)
{
    static std::vector<HWND> s_owners;
    AfxGetApp()->m_pMainWnd = &m_dlg;
    {
        // The file dialog gives no path, so "File Not Defined" follows.
        ImportPatch<decltype(&::GetOpenFileNameA)> file(&__imp_GetOpenFileNameA,
            [](LPOPENFILENAMEA p) { s_owners.push_back(p->hwndOwner); p->lpstrFile[0] = '\0'; return TRUE; });
        ImportPatch<decltype(&::MessageBoxA)> box(&__imp_MessageBoxA,
            [](HWND h, LPCSTR, LPCSTR, UINT) { s_owners.push_back(h); return IDOK; });
        ImportPatch<decltype(&::DialogBoxParamA)> about(&__imp_DialogBoxParamA,
            [](HINSTANCE, LPCSTR, HWND h, DLGPROC, LPARAM) -> INT_PTR { s_owners.push_back(h); return IDOK; });
        Click(IDC_FILE);
        ::SendMessageA(m_dlg.m_hWnd, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    }
    AfxGetApp()->m_pMainWnd = NULL;
    EXPECT_EQ(s_owners, std::vector<HWND>(3, m_dlg.m_hWnd));
}

TEST_F(HandlersTest, HelpReachesTheApplicationWhichSaysThereIsNone)
{
    MessageBoxRecorder recorder;
    // F1 in Input: the system sends WM_HELP to the focus, whose default
    // handling passes it up to the dialog.
    HELPINFO info = { sizeof(info), HELPINFO_WINDOW, IDC_INPUT, Item(IDC_INPUT), 0, { 0, 0 } };
    ::SendMessageA(Item(IDC_INPUT), WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    ::SendMessageA(m_dlg.m_hWnd, WM_COMMAND, ID_HELP, 0);
    const RecordedMessageBox none = { "No help is available for Sumwise.", "Sumwise", MB_ICONINFORMATION, MB_OK,
                                      m_dlg.m_hWnd };
    EXPECT_EQ(recorder.Boxes(), std::vector<RecordedMessageBox>(2, none));
}

extern "C" decltype(&::DrawIconEx) __imp_DrawIconEx;

// Minimised, the window draws its icon itself: centred on its (empty)
// client area, after the background is erased. Its icons, big, small and
// for dragging, are the application's.
TEST_F(HandlersTest, MinimisedWindowDrawsItsIconCentred)
{
    const HICON hIcon = m_dlg.m_hIcon;
    EXPECT_EQ(::SendMessageA(m_dlg.m_hWnd, WM_GETICON, ICON_BIG, 0), reinterpret_cast<LRESULT>(hIcon));
    EXPECT_EQ(::SendMessageA(m_dlg.m_hWnd, WM_GETICON, ICON_SMALL, 0), reinterpret_cast<LRESULT>(hIcon));
    EXPECT_EQ(::SendMessageA(m_dlg.m_hWnd, WM_QUERYDRAGICON, 0, 0), reinterpret_cast<LRESULT>(hIcon));

    ::ShowWindow(m_dlg.m_hWnd, SW_MINIMIZE);
    ASSERT_TRUE(::IsIconic(m_dlg.m_hWnd));
    static std::vector<std::string> s_events;
    s_events.clear();
    MessageLog log(m_dlg.m_hWnd, { WM_ICONERASEBKGND },
                   [](const MessageLog::Entry&) { s_events.push_back("erase"); });
    ImportPatch<decltype(&::DrawIconEx)> patch(&__imp_DrawIconEx, [](HDC, int x, int y, HICON h, int, int, UINT, HBRUSH,
                                                                    UINT) -> BOOL {
        s_events.push_back("icon " + std::to_string(x) + "," + std::to_string(y));
        return h != NULL;
    });
    // Systems today send a minimised window no WM_PAINT: its client area is
    // empty. Moved to a monitor at 144 DPI, it centres the icon's size there.
    for (const UINT nDpi : { m_dlg.GetDpi(), 144u }) {
        RECT rc;
        ::GetWindowRect(m_dlg.m_hWnd, &rc);
        ::SendMessageA(m_dlg.m_hWnd, WM_DPICHANGED, MAKEWPARAM(nDpi, nDpi), reinterpret_cast<LPARAM>(&rc));
        s_events.clear();
        ::SendMessageA(m_dlg.m_hWnd, WM_PAINT, 0, 0);
        ::GetClientRect(m_dlg.m_hWnd, &rc);
        const int x = (rc.right - ::GetSystemMetricsForDpi(SM_CXICON, nDpi) + 1) / 2;
        const int y = (rc.bottom - ::GetSystemMetricsForDpi(SM_CYICON, nDpi) + 1) / 2;
        EXPECT_EQ(s_events, (std::vector<std::string>{ "erase", "icon " + std::to_string(x) + "," + std::to_string(y) }))
            << nDpi << " DPI";
    }
}

// The brush and the icon are freed with the window, and the status line's
// mark as a live region is taken off while the line is still there.
TEST(HashDlgLifetimeTest, DestroyReleasesTheBrushTheIconAndTheStatusLinesMark)
{
    AccPropServicesPatch services;
    auto pDlg = std::make_unique<CTestHashDlg>();
    ASSERT_TRUE(pDlg->Create(IDD_MAIN));
    EXPECT_EQ(services->m_calls, std::vector<std::string>{ "set 1010 client self LiveSetting 1" });  // polite
    const HBRUSH hBrush = pDlg->m_hbrHash;
    const HICON hIcon = pDlg->m_hIcon;
    ICONINFO info;
    ASSERT_EQ(::GetObjectType(hBrush), static_cast<DWORD>(OBJ_BRUSH));
    ASSERT_TRUE(::GetIconInfo(hIcon, &info));
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    pDlg.reset();
    EXPECT_EQ(::GetObjectType(hBrush), 0u);
    EXPECT_FALSE(::GetIconInfo(hIcon, &info));
    EXPECT_EQ(services->m_calls, (std::vector<std::string>{ "set 1010 client self LiveSetting 1",
                                                            "clear 1010 client self LiveSetting" }));
    EXPECT_EQ(services->m_nRefs, 0u);
}

} // namespace
