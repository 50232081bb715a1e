// A DLL that a web page might have saved into the Downloads folder, under
// the name of a system DLL. Loaded into any process, it appends its own path
// to the file that SUMWISE_PLANT_LOG names (a Windows path). It exports
// nothing: a process that calls into it instead of the real DLL fails.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved)
{
    (void)lpReserved;
    if (dwReason != DLL_PROCESS_ATTACH)
        return TRUE;
    WCHAR szLog[MAX_PATH], szPath[MAX_PATH];
    char szLine[4 * MAX_PATH + 2];
    const DWORD nLog = GetEnvironmentVariableW(L"SUMWISE_PLANT_LOG", szLog, MAX_PATH);
    const DWORD nPath = GetModuleFileNameW(hInstance, szPath, MAX_PATH);
    if (nLog == 0 || nLog >= MAX_PATH || nPath == 0 || nPath >= MAX_PATH)
        return TRUE;
    int nLine = WideCharToMultiByte(CP_UTF8, 0, szPath, (int)nPath, szLine, 4 * MAX_PATH, NULL, NULL);
    szLine[nLine++] = '\n';
    const HANDLE hLog = CreateFileW(szLog, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (hLog != INVALID_HANDLE_VALUE) {
        DWORD nWritten;
        WriteFile(hLog, szLine, (DWORD)nLine, &nWritten, NULL);
        CloseHandle(hLog);
    }
    return TRUE;
}
