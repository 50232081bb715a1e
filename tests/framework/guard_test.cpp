// A program with Sumwise's entry point and hardening flags. Given
// "overrun", it prints its stack guard and writes past a local array; alone,
// it runs itself so twice: each run must end with the fail-fast code, and
// the two guards must differ and not be zero.
#include <cstdio>
#include <cstdint>
#include <string>

#include "framework/afxwin.h"

extern "C" uintptr_t __stack_chk_guard;

namespace {

// Through a volatile pointer, so that neither the compiler nor a fortified
// function sees the overrun coming: only the guard can.
__attribute__((noinline)) void Overrun(int nBytes)
{
    char buffer[16];
    volatile char* p = buffer;
    for (int i = 0; i < nBytes; ++i)
        p[i] = 'x';
}

// This program run with "overrun": its exit code and what it printed.
DWORD RunOverrun(std::string& strOutput)
{
    SECURITY_ATTRIBUTES sa = { sizeof(sa), NULL, TRUE };
    HANDLE hRead, hWrite;
    ::CreatePipe(&hRead, &hWrite, &sa, 0);
    ::SetHandleInformation(hRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = hWrite;
    char szCommand[MAX_PATH + 16] = "\"";
    ::GetModuleFileNameA(NULL, szCommand + 1, MAX_PATH);
    lstrcatA(szCommand, "\" overrun");
    PROCESS_INFORMATION pi;
    DWORD dwCode = 0;
    // Run as its debugger, so that a crash (the run without the protector)
    // starts no other debugger that would wait for a user.
    if (::CreateProcessA(NULL, szCommand, NULL, NULL, TRUE, DEBUG_ONLY_THIS_PROCESS, NULL, NULL, &si, &pi)) {
        ::CloseHandle(hWrite);
        DEBUG_EVENT event = {};
        while (::WaitForDebugEvent(&event, INFINITE) && event.dwDebugEventCode != EXIT_PROCESS_DEBUG_EVENT)
            ::ContinueDebugEvent(event.dwProcessId, event.dwThreadId, DBG_EXCEPTION_NOT_HANDLED);
        dwCode = event.u.ExitProcess.dwExitCode;
        char buffer[64];
        DWORD nRead;
        while (::ReadFile(hRead, buffer, sizeof(buffer), &nRead, NULL) && nRead > 0)
            strOutput.append(buffer, nRead);
    }
    return dwCode;
}

class CGuardApp : public CWinApp
{
    BOOL InitInstance() override
    {
        if (lstrcmpA(__argc > 1 ? __argv[1] : "", "overrun") == 0) {
            std::printf("%016llx", static_cast<unsigned long long>(__stack_chk_guard));
            std::fflush(stdout);
            Overrun(64);
            return FALSE;
        }
        std::string strGuards[2];
        for (std::string& strGuard : strGuards) {
            const DWORD dwCode = RunOverrun(strGuard);
            std::printf("exit code 0x%08lX, guard %s\n", dwCode, strGuard.c_str());
            m_bFailed |= dwCode != STATUS_STACK_BUFFER_OVERRUN || strGuard.size() != 16
                || strGuard == "0000000000000000";
        }
        m_bFailed |= strGuards[0] == strGuards[1];
        return FALSE;
    }

    int ExitInstance() override
    {
        std::printf("%s\n", m_bFailed ? "FAILED" : "passed");
        return m_bFailed;
    }

    bool m_bFailed = false;
} theApp;

} // namespace
