// The file dialog: the chosen path whole, whatever its length; cancel told
// apart from failure; owned by the top-level window.
#include <gtest/gtest.h>

#include <string>

#include "tests/framework/test_dialog.h"
#include "tests/support/dialog_hooks.h"
#include "tests/support/wine.h"

namespace {

const char kFilter[] = "All Files (*.*)|*.*||";
const DWORD kFlags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;

// A file under the temporary directory, nested deep enough for its path to
// reach nMinLength characters; removed again by the destructor.
class TempFile
{
public:
    explicit TempFile(size_t nMinLength = 0)
    {
        char temp[MAX_PATH];
        ::GetTempPathA(MAX_PATH, temp);
        std::string dir = std::string(temp) + "sumwise-fw";
        m_dirs.push_back(dir);
        while (dir.size() + 12 < nMinLength) {
            dir += "\\" + std::string(60, 'd');
            m_dirs.push_back(dir);
        }
        for (const std::string& d : m_dirs)
            ::CreateDirectoryW((L"\\\\?\\" + Widen(d)).c_str(), NULL);
        m_path = dir + "\\chosen.bin";
        HANDLE h = ::CreateFileW((L"\\\\?\\" + Widen(m_path)).c_str(), GENERIC_WRITE, 0, NULL,
                                 CREATE_ALWAYS, 0, NULL);
        ::CloseHandle(h);
    }
    ~TempFile()
    {
        ::DeleteFileW((L"\\\\?\\" + Widen(m_path)).c_str());
        for (auto it = m_dirs.rbegin(); it != m_dirs.rend(); ++it)
            ::RemoveDirectoryW((L"\\\\?\\" + Widen(*it)).c_str());
    }
    const std::string& Path() const { return m_path; }

private:
    std::vector<std::string> m_dirs;
    std::string m_path;
};

class FileDialogTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dlg.Create(IDD_TEST)); }
    CTestApp m_app;
    CDialog m_dlg{ IDD_TEST };
};

TEST_F(FileDialogTest, TypedPathComesBackAndTheDialogBelongsToTheTopLevelWindow)
{
    TempFile file;
    FileDialogDriver driver({ file.Path() });
    CFileDialog dlg(kFlags, kFilter, m_dlg.GetDlgItem(IDC_PRESS));
    dlg.m_ofn.lpstrTitle = "Pick one";
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(std::string(dlg.GetPathName()), file.Path());
    ASSERT_EQ(driver.Dialogs().size(), 1u);
    EXPECT_EQ(driver.Dialogs()[0].owner, m_dlg.m_hWnd);
    EXPECT_EQ(driver.Dialogs()[0].title, "Pick one");
    EXPECT_EQ(driver.Dialogs()[0].fileType, "All Files (*.*)");
}

TEST_F(FileDialogTest, PathLongerThanMaxPathComesBackWhole)
{
    // Wine 8's dialog builds the chosen path in a MAX_PATH buffer and
    // crashes on a longer one, before our buffer is reached.
    if (RunningUnderWine())
        GTEST_SKIP() << "Wine's file dialog cannot return paths past MAX_PATH";
    TempFile file(300);
    ASSERT_GT(file.Path().size(), 300u);
    FileDialogDriver driver({ file.Path() });
    CFileDialog dlg(kFlags, kFilter, &m_dlg);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(std::string(dlg.GetPathName()), file.Path());
}

TEST_F(FileDialogTest, CancelIsSilent)
{
    MessageBoxRecorder recorder;
    FileDialogDriver driver;
    CFileDialog dlg(kFlags, kFilter, &m_dlg);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(dlg.GetPathName().IsEmpty());
    EXPECT_TRUE(recorder.Boxes().empty());
}

TEST_F(FileDialogTest, FailureIsReportedAndNotTakenForCancel)
{
    MessageBoxRecorder recorder;
    CFileDialog dlg(kFlags, kFilter, &m_dlg);
    dlg.m_ofn.lStructSize = 0;
    EXPECT_EQ(dlg.DoModal(), IDABORT);
    EXPECT_EQ(recorder.Boxes(), (std::vector<RecordedMessageBox>{ { "The file dialog could not be shown (common "
        "dialog error 0x0001).", "Framework Test", MB_ICONEXCLAMATION, MB_OK, m_dlg.m_hWnd } }));  // CDERR_STRUCTSIZE
}

} // namespace
