// Message maps: which row a message reaches, and with what arguments.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/framework/test_dialog.h"
#include "tests/support/dialog_hooks.h"

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
    ON_COMMAND(IDC_APPCMD, OnAppCommand)
    ON_COMMAND(IDC_PRESS, OnAppPress)
    ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

namespace {

class CBaseDlg : public CDialog
{
public:
    CBaseDlg() : CDialog(IDD_TEST) {}
    std::vector<std::string> m_calls;
    void OnPressBase() { m_calls.push_back("base press"); }
    void OnOtherBase() { m_calls.push_back("base other"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseDlg, CDialog)
    ON_BN_CLICKED(IDC_PRESS, OnPressBase)
    ON_BN_CLICKED(IDC_OTHER, OnOtherBase)
END_MESSAGE_MAP()

struct ColourCall { UINT nCtlColor; int nID; };

class CMapDlg : public CBaseDlg
{
public:
    ~CMapDlg() override { ::DeleteObject(m_hbrYellow); }
    HBRUSH m_hbrYellow = ::CreateSolidBrush(RGB(255, 255, 0));
    HCURSOR m_hDragCursor = ::LoadCursorA(NULL, IDC_CROSS);
    std::vector<ColourCall> m_colours;
    int m_nChanges = 0, m_nSysCommands = 0, m_nCancels = 0;
    UINT m_nSysID = 0;
    LPARAM m_sysParam = 0;

    void OnPressDerived() { m_calls.push_back("derived press"); }
    void OnChangeFirst() { ++m_nChanges; }
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
    {
        m_colours.push_back({ nCtlColor, pWnd->GetDlgCtrlID() });
        if (pWnd->GetDlgCtrlID() == IDC_SECOND) {
            pDC->SetBkColor(RGB(255, 255, 0));
            return m_hbrYellow;
        }
        return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    }
    void OnSysCommand(UINT nID, LPARAM lParam)
    {
        ++m_nSysCommands;
        m_nSysID = nID;
        m_sysParam = lParam;
        CDialog::OnSysCommand(nID, lParam);
    }
    HCURSOR OnQueryDragIcon() { return m_hDragCursor; }
    void OnCancel() override { ++m_nCancels; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMapDlg, CBaseDlg)
    ON_BN_CLICKED(IDC_PRESS, OnPressDerived)
    ON_EN_CHANGE(IDC_FIRST, OnChangeFirst)
    ON_WM_CTLCOLOR()
    ON_WM_SYSCOMMAND()
    ON_WM_QUERYDRAGICON()
END_MESSAGE_MAP()

class MessageMapTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dlg.Create(IDD_TEST)); }
    HWND Item(int nID) { return ::GetDlgItem(m_dlg.m_hWnd, nID); }
    CTestApp m_app;
    CMapDlg m_dlg;
};

TEST_F(MessageMapTest, DerivedRowWinsOverBaseRowAndBaseRowsServeTheRest)
{
    ::SendMessageA(Item(IDC_PRESS), BM_CLICK, 0, 0);
    ::SendMessageA(Item(IDC_OTHER), BM_CLICK, 0, 0);
    EXPECT_EQ(m_dlg.m_calls, (std::vector<std::string>{ "derived press", "base other" }));
    EXPECT_EQ(m_app.m_nAppPresses, 0);
}

TEST_F(MessageMapTest, EditChangeReachesOnlyTheRowOfItsControl)
{
    ::SetWindowTextA(Item(IDC_FIRST), "a");
    ::SetWindowTextA(Item(IDC_SECOND), "b");
    EXPECT_EQ(m_dlg.m_nChanges, 1);
}

TEST_F(MessageMapTest, ControlsPaintingReportTheirKindOfControl)
{
    // Shown so that the controls send their own colour messages.
    ::ShowWindow(m_dlg.m_hWnd, SW_SHOWNA);
    ::UpdateWindow(m_dlg.m_hWnd);
    ::RedrawWindow(m_dlg.m_hWnd, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    auto kindOf = [this](int nID) {
        for (const ColourCall& c : m_dlg.m_colours)
            if (c.nID == nID)
                return c.nCtlColor;
        return 0xFFFFFFFFu;
    };
    EXPECT_EQ(kindOf(IDC_FIRST), static_cast<UINT>(CTLCOLOR_EDIT));
    EXPECT_EQ(kindOf(IDC_SECOND), static_cast<UINT>(CTLCOLOR_STATIC));    // read-only edit
    EXPECT_EQ(kindOf(IDC_LABEL), static_cast<UINT>(CTLCOLOR_STATIC));
    EXPECT_EQ(kindOf(IDC_PRESS), static_cast<UINT>(CTLCOLOR_BTN));
}

TEST_F(MessageMapTest, ColourBrushIsReturnedDirectlyAndOthersGetTheDialogDefault)
{
    HDC hDC = ::GetDC(Item(IDC_SECOND));
    LRESULT hbr = ::SendMessageA(m_dlg.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hDC),
                                 reinterpret_cast<LPARAM>(Item(IDC_SECOND)));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(hbr), m_dlg.m_hbrYellow);
    EXPECT_EQ(::GetBkColor(hDC), RGB(255, 255, 0));
    ::ReleaseDC(Item(IDC_SECOND), hDC);

    CBaseDlg plain;   // no colour row: what the dialog paints without us
    ASSERT_TRUE(plain.Create(IDD_TEST));
    HWND hPlainFirst = ::GetDlgItem(plain.m_hWnd, IDC_FIRST);
    HDC hdcOurs = ::GetDC(Item(IDC_FIRST)), hdcPlain = ::GetDC(hPlainFirst);
    LRESULT ours = ::SendMessageA(m_dlg.m_hWnd, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(hdcOurs),
                                  reinterpret_cast<LPARAM>(Item(IDC_FIRST)));
    EXPECT_NE(ours, 0);
    EXPECT_EQ(ours, ::SendMessageA(plain.m_hWnd, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(hdcPlain),
                                   reinterpret_cast<LPARAM>(hPlainFirst)));
    EXPECT_EQ(::GetBkColor(hdcOurs), ::GetBkColor(hdcPlain));
    ::ReleaseDC(Item(IDC_FIRST), hdcOurs);
    ::ReleaseDC(hPlainFirst, hdcPlain);
    // The control handed to the handler is the wrapper GetDlgItem gives.
    EXPECT_EQ(m_dlg.GetDlgItem(IDC_SECOND)->GetDlgCtrlID(), IDC_SECOND);
}

TEST_F(MessageMapTest, SystemCommandArgumentsAreUnpackedAndDefaultRunsWithoutReentry)
{
    // Close's default processing becomes WM_CLOSE, then IDCANCEL.
    ::SendMessageA(m_dlg.m_hWnd, WM_SYSCOMMAND, SC_CLOSE, MAKELPARAM(12, 34));
    PumpMessages();     // WM_CLOSE posts IDCANCEL
    EXPECT_EQ(m_dlg.m_nSysCommands, 1);
    EXPECT_EQ(m_dlg.m_nSysID, static_cast<UINT>(SC_CLOSE));
    EXPECT_EQ(m_dlg.m_sysParam, MAKELPARAM(12, 34));
    EXPECT_EQ(m_dlg.m_nCancels, 1);
}

TEST_F(MessageMapTest, DragIconIsReturnedDirectly)
{
    EXPECT_EQ(::SendMessageA(m_dlg.m_hWnd, WM_QUERYDRAGICON, 0, 0),
              reinterpret_cast<LRESULT>(m_dlg.m_hDragCursor));
}

TEST_F(MessageMapTest, CommandsTheDialogLacksGoOnToTheApplicationMap)
{
    ::SendMessageA(m_dlg.m_hWnd, WM_COMMAND, IDC_APPCMD, 0);
    EXPECT_EQ(m_app.m_nAppCommands, 1);
}

TEST_F(MessageMapTest, HelpKeyBecomesTheApplicationsHelpCommand)
{
    MessageBoxRecorder recorder;
    HELPINFO info = { sizeof(info), HELPINFO_WINDOW, IDC_FIRST, Item(IDC_FIRST), 0, { 0, 0 } };
    EXPECT_EQ(::SendMessageA(m_dlg.m_hWnd, WM_HELP, 0, reinterpret_cast<LPARAM>(&info)), TRUE);
    EXPECT_EQ(recorder.Boxes(), (std::vector<RecordedMessageBox>{
        { "No help is available for Framework Test.", "Framework Test", MB_ICONINFORMATION, MB_OK, m_dlg.m_hWnd } }));
}

TEST(MessageMapWithoutApp, UnhandledCommandIsDropped)
{
    CMapDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST));
    EXPECT_EQ(::SendMessageA(dlg.m_hWnd, WM_COMMAND, IDC_APPCMD, 0), 0);
    EXPECT_TRUE(dlg.m_calls.empty());
}

} // namespace
