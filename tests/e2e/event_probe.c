// Listens, from a process of its own, as a screen reader does, for the
// live-region events of every other process: for each, prints the control
// ID of the window that raised it and that window's text, read with a
// WM_GETTEXT sent to it, one line an event, flushed at once.
//   event_probe SECONDS   listens that long, then exits with 0
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

static void CALLBACK OnEvent(HWINEVENTHOOK hHook, DWORD event, HWND hWnd, LONG idObject, LONG idChild,
                             DWORD idThread, DWORD dwTime)
{
    (void)hHook, (void)event, (void)idThread, (void)dwTime;
    char szText[256] = "";
    DWORD_PTR nLength = 0;
    if (idObject != OBJID_CLIENT || idChild != CHILDID_SELF ||
        !SendMessageTimeoutA(hWnd, WM_GETTEXT, sizeof szText, (LPARAM)szText, SMTO_NORMAL, 60000, &nLength))
        szText[0] = '\0';
    printf("%d %s\n", GetDlgCtrlID(hWnd), szText);
    fflush(stdout);
}

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    const HWINEVENTHOOK hHook = SetWinEventHook(EVENT_OBJECT_LIVEREGIONCHANGED, EVENT_OBJECT_LIVEREGIONCHANGED, NULL,
                                                OnEvent, 0, 0, WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    if (hHook == NULL)
        return 1;
    const ULONGLONG end = GetTickCount64() + 1000ULL * (ULONGLONG)atoi(argv[1]);
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, NULL, FALSE, (DWORD)(end - now), QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
    UnhookWinEvent(hHook);
    return 0;
}
