// The hash command: what Hash Now shows for typed text and for files, what
// the progress bar and status line do meanwhile, and how failures are told.
#include "tests/window/window_fixture.h"

#include <commctrl.h>

TEST_F(HashDlgTest, TextDigestIsShown)
{
    Type("abc");
    Click(IDC_HASHNOW);
    EXPECT_EQ(Text(IDC_HASH), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(Text(IDC_INPUT), "abc");
}
