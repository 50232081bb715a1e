// Loads each DLL named on its command line by name, as a program that does
// not restrict the DLL search would: from its own folder first. After -w,
// the names are loaded inside the running Sumwise instead, by a thread of
// its own, as a Windows DLL inside it would load them by name.
#include <windows.h>

static BOOL LoadInSumwise(HANDLE hProcess, const char* pszName)
{
    const SIZE_T nSize = lstrlenA(pszName) + 1;
    void* pRemote = VirtualAllocEx(hProcess, NULL, nSize, MEM_COMMIT, PAGE_READWRITE);
    // kernel32 lies at the same address in every process.
    const LPTHREAD_START_ROUTINE pfnLoad = (LPTHREAD_START_ROUTINE)(INT_PTR)GetProcAddress(
        GetModuleHandleA("kernel32.dll"), "LoadLibraryA");
    DWORD dwModule = 0;
    if (pRemote != NULL && WriteProcessMemory(hProcess, pRemote, pszName, nSize, NULL)) {
        const HANDLE hThread = CreateRemoteThread(hProcess, NULL, 0, pfnLoad, pRemote, 0, NULL);
        WaitForSingleObject(hThread, 10000);
        GetExitCodeThread(hThread, &dwModule);
    }
    return dwModule != 0;
}

int main(int argc, char** argv)
{
    int nFailed = 0;
    HANDLE hSumwise = NULL;
    for (int i = 1; i < argc; ++i) {
        if (lstrcmpA(argv[i], "-w") == 0) {
            DWORD dwProcessId = 0;
            GetWindowThreadProcessId(FindWindowA(NULL, "Sumwise"), &dwProcessId);
            hSumwise = OpenProcess(PROCESS_ALL_ACCESS, FALSE, dwProcessId);
            nFailed += hSumwise == NULL;
        } else if (hSumwise != NULL) {
            nFailed += !LoadInSumwise(hSumwise, argv[i]);
        } else {
            nFailed += LoadLibraryA(argv[i]) == NULL;
        }
    }
    return nFailed;
}
