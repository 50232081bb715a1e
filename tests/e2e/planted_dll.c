// A DLL that a web page might have saved into the Downloads folder, under
// the name of a system DLL. Loaded into any process, it appends its own path
// to the file that SUMWISE_PLANT_LOG names (a Windows path). It exports
// nothing: a process that calls into it instead of the real DLL fails.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved)
{
    WCHAR szLog[MAX_PATH], szPath[MAX_PATH + 1];
    (void)lpReserved;
    const DWORD nPath = GetModuleFileNameW(hInstance, szPath, MAX_PATH);
    if (dwReason != DLL_PROCESS_ATTACH || !GetEnvironmentVariableW(L"SUMWISE_PLANT_LOG", szLog, MAX_PATH))
        return TRUE;
    szPath[nPath] = L'\n';
    const HANDLE hLog = CreateFileW(szLog, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    DWORD nWritten;
    char szLine[4 * MAX_PATH];
    WriteFile(hLog, szLine, (DWORD)WideCharToMultiByte(CP_UTF8, 0, szPath, (int)nPath + 1, szLine,
                                                       sizeof szLine, NULL, NULL), &nWritten, NULL);
    CloseHandle(hLog);
    return TRUE;
}
