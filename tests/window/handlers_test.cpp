// The main window's handlers other than the hash command: start state,
// Clear, File and the Input lock, keys, colours, the system menu and About.
#include "tests/window/window_fixture.h"

TEST_F(HashDlgTest, StartsBlankInTextMode)
{
    EXPECT_EQ(Text(IDC_INPUT), "");
    EXPECT_EQ(Text(IDC_HASH), "");
    EXPECT_EQ(Text(IDC_STATUS), "");
    EXPECT_EQ(m_dlg.m_nMode, CHashDlg::MODE_TEXT);
}
