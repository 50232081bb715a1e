// Loads each DLL named on its command line by name, as a program that does
// not restrict the DLL search would: from its own folder first. With -w
// first, a thread of its own loads them inside the running Sumwise instead,
// as one of Windows' DLLs in it would.
#include <windows.h>

static BOOL LoadInto(HANDLE hProcess, const char* pszName)
{
    const SIZE_T nSize = lstrlenA(pszName) + 1;
    void* pName = VirtualAllocEx(hProcess, NULL, nSize, MEM_COMMIT, PAGE_READWRITE);
    // LoadLibraryA lies at the same address in every process.
    const HANDLE hThread = WriteProcessMemory(hProcess, pName, pszName, nSize, NULL) ? CreateRemoteThread(hProcess,
        NULL, 0, (LPTHREAD_START_ROUTINE)(INT_PTR)GetProcAddress(GetModuleHandleA("kernel32"), "LoadLibraryA"),
        pName, 0, NULL) : NULL;
    DWORD dwModule = 0;
    return WaitForSingleObject(hThread, 10000) == WAIT_OBJECT_0 && GetExitCodeThread(hThread, &dwModule) && dwModule;
}

int main(int argc, char** argv)
{
    const BOOL bInto = argc > 1 && lstrcmpA(argv[1], "-w") == 0;
    HANDLE hSumwise = NULL;
    if (bInto) {
        DWORD dwProcessId = 0;
        GetWindowThreadProcessId(FindWindowA(NULL, "Sumwise"), &dwProcessId);
        hSumwise = OpenProcess(PROCESS_ALL_ACCESS, FALSE, dwProcessId);
    }
    int nFailed = 0;
    for (int i = 1 + bInto; i < argc; ++i)
        nFailed += bInto ? !LoadInto(hSumwise, argv[i]) : LoadLibraryA(argv[i]) == NULL;
    return nFailed;
}
