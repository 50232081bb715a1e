// Ownership of handles and of the open clipboard, which dialogs lay
// themselves out at a new scale, and the application object's start-up and
// exit.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/framework/test_dialog.h"
#include "tests/support/dialog_hooks.h"
#include "tests/support/dpi_behavior.h"
#include "tests/support/import_patch.h"
#include "tests/support/wine.h"

namespace {

TEST(BorrowedWrapperTest, GetDlgItemGivesOneLastingWrapperPerControl)
{
    CDialog dlg(IDD_TEST);
    ASSERT_TRUE(dlg.Create(IDD_TEST));
    CWnd* pFirst = dlg.GetDlgItem(IDC_FIRST);
    ASSERT_NE(pFirst, nullptr);
    EXPECT_EQ(pFirst->m_hWnd, ::GetDlgItem(dlg.m_hWnd, IDC_FIRST));
    EXPECT_EQ(dlg.GetDlgItem(IDC_SECOND), dlg.GetDlgItem(IDC_SECOND));
    EXPECT_EQ(dlg.GetDlgItem(IDC_FIRST), pFirst);
    EXPECT_EQ(dlg.GetDlgItem(4242), nullptr);
}

TEST(BorrowedWrapperTest, WrappersNeverDestroyWhatTheyBorrow)
{
    auto pDlg = std::make_unique<CDialog>(IDD_TEST);
    ASSERT_TRUE(pDlg->Create(IDD_TEST));
    const HWND hDlg = pDlg->m_hWnd;
    const HWND hFirst = ::GetDlgItem(hDlg, IDC_FIRST);
    { CWnd borrowed(hDlg); }
    { CWnd borrowed(hFirst); }
    EXPECT_TRUE(::IsWindow(hDlg));
    EXPECT_TRUE(::IsWindow(hFirst));

    // A wrapper kept past its window names no window at all.
    CWnd* pFirst = pDlg->GetDlgItem(IDC_FIRST);
    EXPECT_TRUE(pDlg->DestroyWindow());
    EXPECT_EQ(pFirst->m_hWnd, static_cast<HWND>(NULL));

    // The dialog object owns its window.
    auto pOther = std::make_unique<CDialog>(IDD_TEST);
    ASSERT_TRUE(pOther->Create(IDD_TEST));
    const HWND hOther = pOther->m_hWnd;
    pOther.reset();
    EXPECT_FALSE(::IsWindow(hOther));
}

TEST(BorrowedWrapperTest, SystemMenuTakesAppendedItems)
{
    CDialog dlg(IDD_TEST);
    ASSERT_TRUE(dlg.Create(IDD_TEST));
    CMenu* pMenu = dlg.GetSystemMenu(FALSE);
    ASSERT_NE(pMenu, nullptr);
    const int nBefore = ::GetMenuItemCount(pMenu->m_hMenu);
    EXPECT_TRUE(pMenu->AppendMenu(MF_SEPARATOR));
    EXPECT_TRUE(pMenu->AppendMenu(MF_STRING, 0x0010, "&About..."));
    ASSERT_EQ(::GetMenuItemCount(pMenu->m_hMenu), nBefore + 2);
    char text[32] = "";
    ::GetMenuStringA(pMenu->m_hMenu, 0x0010, text, sizeof(text), MF_BYCOMMAND);
    EXPECT_STREQ(text, "&About...");
}

extern "C" decltype(&::GlobalSize) __imp_GlobalSize;

// Another program wrote the clipboard's text: it is read where it lies, no
// further than its terminator, the end of its memory or the limit asked
// for, and the clipboard is free again once the object goes. Held by
// another window, it reads as no text. Wine writes a terminator into the
// last character of a text set without one, so a stand-in GlobalSize tells
// of memory that ends before the terminator.
TEST(ClipboardTextTest, ReadsNoFurtherThanItsMemoryAndLetsTheClipboardGo)
{
    CDialog dlg(IDD_TEST), other(IDD_TEST);
    ASSERT_TRUE(dlg.Create(IDD_TEST));
    ASSERT_TRUE(other.Create(IDD_TEST));
    static size_t s_nBytesTold;
    static const auto s_real = __imp_GlobalSize;
    ImportPatch<decltype(&::GlobalSize)> patch(&__imp_GlobalSize, [](HGLOBAL hMem) -> SIZE_T {
        return s_nBytesTold != 0 ? s_nBytesTold : s_real(hMem);
    });
    const std::u16string forty = std::u16string(40, u'a') + u'\0';
    const struct { const char* what; std::u16string memory; size_t nCharsTold, nMax, nWant; } cases[] = {
        { "terminated", std::u16string(u"0123456789\0abc", 14), 0, 100, 10 },
        { "its memory ends first", forty, 30, 100, 30 },
        { "the limit comes first", forty, 0, 25, 25 },
        { "empty", std::u16string(1, u'\0'), 0, 100, 0 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const HGLOBAL hText = ::GlobalAlloc(GMEM_MOVEABLE, c.memory.size() * sizeof(char16_t));
        std::copy(c.memory.begin(), c.memory.end(), static_cast<char16_t*>(::GlobalLock(hText)));
        ::GlobalUnlock(hText);
        ASSERT_TRUE(::OpenClipboard(other.m_hWnd));
        ::EmptyClipboard();
        ::SetClipboardData(CF_UNICODETEXT, hText);
        {
            const CClipboardText held(dlg.m_hWnd, c.nMax);
            EXPECT_EQ(held.GetLength(), 0u) << "read while another window held the clipboard";
        }
        ASSERT_TRUE(::CloseClipboard());
        {
            s_nBytesTold = c.nCharsTold * sizeof(char16_t);
            const CClipboardText text(dlg.m_hWnd, c.nMax);
            s_nBytesTold = 0;
            EXPECT_EQ(std::u16string(text.GetText(), text.GetLength()), c.memory.substr(0, c.nWant));
        }
        EXPECT_TRUE(::OpenClipboard(other.m_hWnd)) << "the clipboard was left open";
        ::CloseClipboard();
    }
}

// Whether a dialog lays itself out at a new DPI is decided once, when it is
// created. One whose template names a font turns Windows' rescaling off and
// answers WM_GETDPISCALEDSIZE itself: at the DPI it was created at, with the
// size the dialog manager gave it (the exact size at other DPIs is the scale
// test's, which has dialogs created at each). One in the system font keeps
// Windows' rescaling and is still moved where Windows suggests. Windows'
// dialog manager answers WM_GETDPISCALEDSIZE for such a dialog of a
// per-monitor v2 thread, as DDC_DISABLE_ALL is not set on it; Wine's has no
// such scaling and leaves the message to DefWindowProc, which answers FALSE.
TEST(DialogScaleTest, OnlyDialogsItLaysOutTurnWindowsRescalingOff)
{
    LentDpiBehavior lent;
    CDialog own(IDD_TEST), other(IDD_SYSFONT);
    ASSERT_TRUE(own.Create(IDD_TEST));
    ASSERT_TRUE(other.Create(IDD_SYSFONT));
    EXPECT_EQ(LentDpiBehavior::Flags(own.m_hWnd), "1/1");
    EXPECT_EQ(LentDpiBehavior::Flags(::GetDlgItem(own.m_hWnd, IDC_LABEL)), "3/3");
    EXPECT_EQ(LentDpiBehavior::Flags(other.m_hWnd), "none");
    EXPECT_EQ(LentDpiBehavior::Flags(::GetDlgItem(other.m_hWnd, IDC_LABEL)), "none");
    RECT created;
    ::GetWindowRect(own.m_hWnd, &created);
    SIZE ownSize = {}, ownSize144 = {}, otherSize = { -1, -1 };
    EXPECT_TRUE(::SendMessageW(own.m_hWnd, WM_GETDPISCALEDSIZE, own.GetDpi(), reinterpret_cast<LPARAM>(&ownSize)));
    EXPECT_EQ(ownSize.cx, created.right - created.left);
    EXPECT_EQ(ownSize.cy, created.bottom - created.top);
    EXPECT_TRUE(::SendMessageW(own.m_hWnd, WM_GETDPISCALEDSIZE, 144, reinterpret_cast<LPARAM>(&ownSize144)));
    EXPECT_GT(ownSize144.cx, ownSize.cx);
    EXPECT_GT(ownSize144.cy, ownSize.cy);
    const bool bPerMonitorV2 = ::AreDpiAwarenessContextsEqual(::GetThreadDpiAwarenessContext(),
                                                              DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    const bool bDialogManagerAnswers = bPerMonitorV2 && !RunningUnderWine();
    EXPECT_EQ(::SendMessageW(other.m_hWnd, WM_GETDPISCALEDSIZE, 144, reinterpret_cast<LPARAM>(&otherSize)) != FALSE,
              bDialogManagerAnswers);
    EXPECT_EQ(otherSize.cx != -1, bDialogManagerAnswers);
    RECT suggested = { 10, 20, 400, 300 }, got = {};
    ::SendMessageW(other.m_hWnd, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    ::GetWindowRect(other.m_hWnd, &got);
    EXPECT_TRUE(::EqualRect(&got, &suggested));
    EXPECT_EQ(other.GetDpi(), 144u);
}

TEST(MessageBoxTest, ModalToTheWindowWithTheApplicationTitleByDefault)
{
    CTestApp app;
    CDialog dlg(IDD_TEST);
    ASSERT_TRUE(dlg.Create(IDD_TEST));
    MessageBoxRecorder recorder;
    dlg.MessageBox("plain");
    dlg.MessageBox("Could not open file.", "ERROR", MB_ICONEXCLAMATION);
    EXPECT_EQ(recorder.Boxes(), (std::vector<RecordedMessageBox>{
        { "plain", "Framework Test", 0, MB_OK, dlg.m_hWnd },
        { "Could not open file.", "ERROR", MB_ICONEXCLAMATION, MB_OK, dlg.m_hWnd } }));
}

class CStartApp : public CTestApp
{
public:
    BOOL m_bInitResult = FALSE;
    bool m_bRan = false;
    BOOL InitInstance() override
    {
        if (m_bInitResult)
            ::PostQuitMessage(7);
        return m_bInitResult;
    }
    int ExitInstance() override { return 100 + CTestApp::ExitInstance(); }
    int Run() override
    {
        m_bRan = true;
        return CTestApp::Run();
    }
};

TEST(ApplicationTest, StartRunsThePumpOnlyWhenInitInstanceSucceeds)
{
    for (BOOL bInit : { FALSE, TRUE }) {
        CStartApp app;
        app.m_bInitResult = bInit;
        // ExitInstance's result either way; after the pump, WM_QUIT's code is in it.
        EXPECT_EQ(AfxWinMain(::GetModuleHandleA(NULL), NULL, const_cast<LPSTR>(""), SW_SHOW), bInit ? 107 : 100);
        EXPECT_EQ(app.m_bRan, bInit == TRUE);
    }
}

TEST(ApplicationTest, OneApplicationAndNoDanglingMainWindow)
{
    CTestApp app;
    EXPECT_STREQ(app.m_pszAppName, "Framework Test");
    {
        CTestApp second;
        EXPECT_EQ(AfxGetApp(), &app);
    }
    EXPECT_EQ(AfxGetApp(), &app);
    {
        CDialog dlg(IDD_TEST);
        app.m_pMainWnd = &dlg;
    }
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    CString str;
    EXPECT_FALSE(str.LoadString(4242));
    EXPECT_TRUE(str.LoadString(AFX_IDS_APP_TITLE));
    EXPECT_EQ(app.LoadIcon(4242), static_cast<HICON>(NULL));
}

} // namespace
