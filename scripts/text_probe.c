// Asks a window of another process for the text of one of its controls, as
// any program may, and prints how long the answer took and the text: the
// control ID of the top-level dialog titled TITLE, read with a WM_GETTEXT
// sent to it. A thread that takes no messages answers only once it takes
// them again.
//   text_probe TITLE ID [MS]   exits with 1 when there is no such control
//                              or no answer within MS milliseconds (60000)
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4)
        return 2;
    const UINT nTimeout = argc == 4 ? (UINT)atoi(argv[3]) : 60000;
    const HWND hItem = GetDlgItem(FindWindowA("#32770", argv[1]), atoi(argv[2]));
    char szText[256] = "";
    DWORD_PTR nLength = 0;
    const ULONGLONG start = GetTickCount64();
    if (hItem == NULL ||
        !SendMessageTimeoutA(hItem, WM_GETTEXT, sizeof szText, (LPARAM)szText, SMTO_NORMAL, nTimeout, &nLength))
        return 1;
    printf("%llu %s\n", GetTickCount64() - start, szText);
    return 0;
}
