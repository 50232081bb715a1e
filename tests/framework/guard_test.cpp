// A program with Sumwise's entry point and hardening flags. It runs itself
// twice: once to learn another run's guard, once to write past a local
// array, which must end that run with the fail-fast code.
#include <windows.h>

#include <process.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

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

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR lpCmdLine, int)
{
    const int nFolded = static_cast<int>(__stack_chk_guard ^ (__stack_chk_guard >> 32));
    if (std::strcmp(lpCmdLine, "guard") == 0)
        return nFolded;
    if (std::strcmp(lpCmdLine, "overrun") == 0) {
        // The fail-fast path runs no handler; a crash (no protector) ends
        // here instead of waiting in Wine's debugger.
        ::SetUnhandledExceptionFilter([](EXCEPTION_POINTERS*) -> LONG {
            return ::TerminateProcess(::GetCurrentProcess(), 1);
        });
        Overrun(64);
        return 0;
    }
    char szPath[MAX_PATH];
    ::GetModuleFileNameA(NULL, szPath, MAX_PATH);
    const int nOther = static_cast<int>(_spawnl(_P_WAIT, szPath, "guard_test", "guard", NULL));
    const auto dwOverrun = static_cast<DWORD>(_spawnl(_P_WAIT, szPath, "guard_test", "overrun", NULL));
    std::printf("guard %016llx, another run's folded %08x, overrun's exit code 0x%08lX\n",
                static_cast<unsigned long long>(__stack_chk_guard), nOther, dwOverrun);
    return __stack_chk_guard == 0 || nOther == nFolded || dwOverrun != STATUS_STACK_BUFFER_OVERRUN;
}
