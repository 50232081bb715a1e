// Data exchange: whole texts in, only changed texts out, the length limit
// counted in characters, and a failure that stops the pass.
#include <gtest/gtest.h>

#include <string>

#include "tests/framework/test_dialog.h"
#include "tests/support/dialog_hooks.h"

namespace {

const int kLimit = 255;

// "中" (U+4E2D): one character, three bytes in UTF-8.
std::string Repeat(const std::string& unit, int n)
{
    std::string s;
    for (int i = 0; i < n; ++i)
        s += unit;
    return s;
}

class CFieldsDlg : public CDialog
{
public:
    CFieldsDlg() : CDialog(IDD_TEST) {}
    CString m_strFirst, m_strSecond;
    int m_nChanges = 0;
    CString m_strLocked;    // when set, every change of the first field is undone

    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_FIRST, m_strFirst);
        DDV_MaxChars(pDX, m_strFirst, kLimit);
        DDX_Text(pDX, IDC_SECOND, m_strSecond);
    }
    void OnChangeFirst()
    {
        ++m_nChanges;
        if (!m_strLocked.IsEmpty()) {
            m_strFirst = m_strLocked;
            UpdateData(FALSE);
        }
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CFieldsDlg, CDialog)
    ON_EN_CHANGE(IDC_FIRST, OnChangeFirst)
END_MESSAGE_MAP()

class DataExchangeTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dlg.Create(IDD_TEST)); }
    HWND Item(int nID) { return ::GetDlgItem(m_dlg.m_hWnd, nID); }
    CTestApp m_app;
    CFieldsDlg m_dlg;
};

TEST_F(DataExchangeTest, ReadingCopiesEachFieldWhole)
{
    const std::string strLong(5000, 'x');
    ::SetWindowTextA(Item(IDC_FIRST), "abc");
    ::SetWindowTextA(Item(IDC_SECOND), strLong.c_str());
    EXPECT_TRUE(m_dlg.UpdateData(TRUE));
    EXPECT_EQ(m_dlg.m_strFirst, "abc");
    EXPECT_EQ(std::string(m_dlg.m_strSecond), strLong);
}

TEST_F(DataExchangeTest, WritingRewritesOnlyAFieldWhoseTextDiffers)
{
    // Past the typing limit, as a long path placed by the program is.
    const std::string strPath = "C:\\" + std::string(297, 'p');
    m_dlg.m_strFirst = strPath.c_str();
    EXPECT_TRUE(m_dlg.UpdateData(FALSE));
    EXPECT_EQ(WindowText(Item(IDC_FIRST)), strPath);
    EXPECT_EQ(m_dlg.m_nChanges, 1);
    EXPECT_TRUE(m_dlg.UpdateData(FALSE));
    EXPECT_EQ(m_dlg.m_nChanges, 1);
}

TEST_F(DataExchangeTest, ChangeHandlerThatWritesTheFieldBackSettles)
{
    const std::string strPath = "C:\\" + std::string(297, 'p');
    m_dlg.m_strLocked = strPath.c_str();
    ::SetWindowTextA(Item(IDC_FIRST), "typed");
    EXPECT_EQ(WindowText(Item(IDC_FIRST)), strPath);
    EXPECT_EQ(m_dlg.m_nChanges, 2);     // the edit, then the one rewrite
}

TEST_F(DataExchangeTest, WritingSetsTheTypingLimitInCharacters)
{
    ASSERT_EQ(::GetACP(), 65001u);
    EXPECT_TRUE(m_dlg.UpdateData(FALSE));
    EXPECT_EQ(::SendMessageA(Item(IDC_FIRST), EM_GETLIMITTEXT, 0, 0), kLimit);

    for (const std::string& unit : { std::string("a"), std::string("\xE4\xB8\xAD") }) {
        SCOPED_TRACE(unit);
        ::SetWindowTextA(Item(IDC_FIRST), Repeat(unit, kLimit - 1).c_str());
        ::SendMessageA(Item(IDC_FIRST), EM_SETSEL, kLimit, kLimit);
        ::SendMessageW(Item(IDC_FIRST), WM_CHAR, 0x4E2D, 0);
        ::SendMessageW(Item(IDC_FIRST), WM_CHAR, 0x4E2D, 0);
        EXPECT_EQ(::GetWindowTextLengthW(Item(IDC_FIRST)), kLimit);
    }
}

TEST_F(DataExchangeTest, LimitIsCountedInCharactersNotBytes)
{
    ASSERT_EQ(::GetACP(), 65001u);
    const struct { std::string unit; int n; bool ok; } cases[] = {
        { "a", kLimit, true }, { "a", kLimit + 1, false },
        { "\xE4\xB8\xAD", kLimit, true }, { "\xE4\xB8\xAD", kLimit + 1, false },
        { "\xF0\x9F\x98\x80", kLimit / 2, true },   // each one is two UTF-16 units
        { "\xF0\x9F\x98\x80", kLimit / 2 + 1, false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.n) + " x " + c.unit);
        MessageBoxRecorder recorder;
        ::SetWindowTextA(Item(IDC_FIRST), Repeat(c.unit, c.n).c_str());
        EXPECT_EQ(m_dlg.UpdateData(TRUE), c.ok ? TRUE : FALSE);
        EXPECT_EQ(std::string(m_dlg.m_strFirst), Repeat(c.unit, c.n));
        EXPECT_EQ(recorder.Boxes().size(), c.ok ? 0u : 1u);
    }
}

TEST_F(DataExchangeTest, TooLongTextWarnsAndStopsTheExchange)
{
    MessageBoxRecorder recorder;
    ::SetWindowTextA(Item(IDC_FIRST), std::string(kLimit + 1, 'a').c_str());
    ::SetWindowTextA(Item(IDC_SECOND), "not read");
    m_dlg.m_strSecond = "kept";

    EXPECT_FALSE(m_dlg.UpdateData(TRUE));
    EXPECT_EQ(m_dlg.m_strSecond, "kept");
    EXPECT_EQ(m_dlg.m_strFirst.GetLength(), kLimit + 1);
    EXPECT_EQ(recorder.Boxes(), (std::vector<RecordedMessageBox>{
        { "Enter no more than 255 characters.", "Framework Test", MB_ICONEXCLAMATION, MB_OK, m_dlg.m_hWnd } }));
}

// OK runs the exchange first; a field that fails keeps the dialog open.
class COkDlg : public CFieldsDlg
{
public:
    BOOL OnInitDialog() override
    {
        CFieldsDlg::OnInitDialog();
        ::PostMessageA(m_hWnd, WM_COMMAND, IDOK, 0);
        ::PostMessageA(m_hWnd, WM_COMMAND, IDCANCEL, 0);
        return TRUE;
    }
};

TEST(ModalDialogTest, OkEndsTheDialogOnlyWhenTheFieldsAreValid)
{
    CTestApp app;
    MessageBoxRecorder recorder;
    COkDlg valid;
    valid.m_strFirst = "short";
    EXPECT_EQ(valid.DoModal(), IDOK);
    EXPECT_EQ(valid.m_hWnd, static_cast<HWND>(NULL));
    EXPECT_TRUE(recorder.Boxes().empty());

    COkDlg invalid;
    invalid.m_strFirst = std::string(kLimit + 1, 'a').c_str();
    EXPECT_EQ(invalid.DoModal(), IDCANCEL);
    EXPECT_EQ(recorder.Boxes().size(), 1u);
}

} // namespace
