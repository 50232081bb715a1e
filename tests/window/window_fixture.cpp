#include "tests/window/window_fixture.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "digest/md5.h"

namespace {

void RemoveTree(const std::string& dir)
{
    std::error_code error;
    std::filesystem::remove_all(dir, error);
}

// A subclass procedure is a Unicode one: WM_SETTEXT arrives as UTF-16 even
// when the program set an 8-bit text.
std::string SetTextOf(HWND hWnd, LPARAM lParam)
{
    if (!::IsWindowUnicode(hWnd))
        return reinterpret_cast<const char*>(lParam);
    const wchar_t* wide = reinterpret_cast<const wchar_t*>(lParam);
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, NULL, 0, NULL, NULL);
    std::string text(n > 0 ? n - 1 : 0, '\0');
    if (n > 1)
        ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, &text[0], n, NULL, NULL);
    return text;
}

} // namespace

void HashDlgTest::SetUp()
{
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    m_dir = std::string(temp) + "sumwise-" + std::to_string(::GetCurrentProcessId()) + "-" +
            info->name();
    RemoveTree(m_dir);
    ASSERT_TRUE(::CreateDirectoryA(m_dir.c_str(), NULL)) << m_dir;

    ASSERT_TRUE(m_dlg.Create(IDD_MAIN));
    ::ShowWindow(m_dlg.m_hWnd, SW_SHOW);
    ::UpdateWindow(m_dlg.m_hWnd);
    PumpMessages();
    // No test finds what another left on the clipboard.
    m_hWndCopier = ::CreateWindowExA(0, "STATIC", "copier", WS_POPUP, 0, 0, 0, 0, NULL, NULL, NULL, NULL);
    ASSERT_NE(m_hWndCopier, static_cast<HWND>(NULL));
    Copy("");
}

void HashDlgTest::TearDown()
{
    if (m_dlg.m_hWnd != NULL)
        m_dlg.DestroyWindow();
    if (m_hWndCopier != NULL)
        ::DestroyWindow(m_hWndCopier);
    RemoveTree(m_dir);
}

void HashDlgTest::SetClipboard(const std::string& text)
{
    PutOnClipboard(m_hWndCopier, text);
}

void HashDlgTest::Copy(const std::string& text)
{
    ChangeClipboard([this, &text] { SetClipboard(text); });
}

void HashDlgTest::ChangeClipboard(const std::function<void()>& change)
{
    MessageLog news(m_dlg.m_hWnd, { WM_CLIPBOARDUPDATE });
    change();
    for (int i = 0; i < 500 && news.Entries().empty(); ++i) {
        ::Sleep(10);
        PumpMessages();
    }
    ASSERT_FALSE(news.Entries().empty()) << "the dialog never heard of the copy";
}

void HashDlgTest::Type(const std::string& text)
{
    ::SetWindowTextA(Item(IDC_INPUT), text.c_str());
    PumpMessages();
}

void HashDlgTest::Click(int nID)
{
    ::SendMessageA(Item(nID), BM_CLICK, 0, 0);
    PumpMessages();
}

void HashDlgTest::UseFile(const std::string& path)
{
    m_dlg.m_strFilePath = path.c_str();
    m_dlg.m_strInput = m_dlg.m_strFilePath;
    m_dlg.m_nMode = CHashDlg::MODE_FILE;
    m_dlg.UpdateData(FALSE);
    PumpMessages();
}

int HashDlgTest::Position() const
{
    return static_cast<int>(::SendMessageA(Item(IDC_PROGRESS), PBM_GETPOS, 0, 0));
}

std::string HashDlgTest::MakeFile(const std::string& name, const std::string& bytes)
{
    const std::string path = m_dir + "\\" + name;
    MakeLongFile(path, bytes);
    return path;
}

void HashDlgTest::MakeLongFile(const std::string& path, const std::string& bytes)
{
    const std::wstring file = L"\\\\?\\" + Widen(path);
    const HANDLE hFile = ::CreateFileW(file.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(hFile, INVALID_HANDLE_VALUE) << path << ": error " << ::GetLastError();
    DWORD nWritten = 0;
    EXPECT_TRUE(::WriteFile(hFile, bytes.data(), static_cast<DWORD>(bytes.size()), &nWritten, NULL));
    EXPECT_EQ(nWritten, bytes.size());
    ::CloseHandle(hFile);
}

MessageLog::MessageLog(HWND hWnd, std::vector<UINT> which, std::function<void(const Entry&)> onEntry)
    : m_hWnd(hWnd), m_which(std::move(which)), m_onEntry(std::move(onEntry))
{
    ::SetWindowSubclass(m_hWnd, Proc, reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this));
}

MessageLog::~MessageLog()
{
    ::RemoveWindowSubclass(m_hWnd, Proc, reinterpret_cast<UINT_PTR>(this));
}

LRESULT CALLBACK MessageLog::Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam,
                                  UINT_PTR, DWORD_PTR ref)
{
    MessageLog* self = reinterpret_cast<MessageLog*>(ref);
    if (std::find(self->m_which.begin(), self->m_which.end(), message) != self->m_which.end()) {
        Entry entry{ message, wParam, std::string() };
        if (message == WM_SETTEXT && lParam != 0)
            entry.text = SetTextOf(hWnd, lParam);
        self->m_entries.push_back(entry);
        if (self->m_onEntry)
            self->m_onEntry(entry);
    }
    return ::DefSubclassProc(hWnd, message, wParam, lParam);
}

std::vector<WPARAM> MessageLog::Params(UINT message) const
{
    std::vector<WPARAM> params;
    for (const Entry& e : m_entries)
        if (e.message == message)
            params.push_back(e.wParam);
    return params;
}

std::vector<std::string> MessageLog::Texts() const
{
    std::vector<std::string> texts;
    for (const Entry& e : m_entries)
        if (e.message == WM_SETTEXT)
            texts.push_back(e.text);
    return texts;
}

void PutOnClipboard(HWND hWnd, const std::string& text)
{
    ASSERT_TRUE(::OpenClipboard(hWnd));
    ::EmptyClipboard();
    if (!text.empty()) {
        const std::wstring wide = Widen(text);
        const HGLOBAL hText = ::GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t));
        std::copy(wide.c_str(), wide.c_str() + wide.size() + 1, static_cast<wchar_t*>(::GlobalLock(hText)));
        ::GlobalUnlock(hText);
        EXPECT_NE(::SetClipboardData(CF_UNICODETEXT, hText), static_cast<HANDLE>(NULL));
    }
    ::CloseClipboard();
}

HRESULT WINAPI CoCreateInstancePatch::CreateInstance(REFCLSID rclsid, LPUNKNOWN pOuter, DWORD dwContext,
                                                     REFIID riid, LPVOID* ppv)
{
    if (rclsid != s_clsid)
        return s_realCreate(rclsid, pOuter, dwContext, riid, ppv);
    s_pObject->AddRef();
    *ppv = s_pObject;
    return S_OK;
}

FARPROC WINAPI CoCreateInstancePatch::GetProc(HMODULE hModule, LPCSTR lpszName)
{
    const FARPROC pfn = s_realGetProc(hModule, lpszName);
    if (!HIWORD(lpszName) || std::strcmp(lpszName, "CoCreateInstance") != 0 || pfn == NULL)
        return pfn;
    s_realCreate = reinterpret_cast<decltype(s_realCreate)>(reinterpret_cast<void*>(pfn));
    return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&CreateInstance));
}

std::string Md5Of(const std::string& bytes)
{
    CMD5 md5;
    md5.Update(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
    md5.Final();
    return md5.HexDigest();
}
