// A program with Sumwise's entry point and hardening flags. It runs itself
// three times: once to learn another run's guard, once to write past a
// local array, which must end that run with the fail-fast code, and once to
// copy past one with memcpy, which a fortified build must stop with the
// same code before the copy is made.
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

// A length only the running program knows, so the compiler cannot check it.
volatile int g_nCopy = 32;

// A fortified memcpy checks the length against the array's 16 bytes and
// fails fast; an unfortified one copies, and the run then ends itself with
// 2 before the guard is ever checked.
__attribute__((noinline)) void OverCopy()
{
    char buffer[16];
    const char source[64] = {};
    std::memcpy(buffer, source, static_cast<size_t>(g_nCopy));
    __asm__ volatile("" : : "r"(buffer) : "memory");  // the copy is used
    ::TerminateProcess(::GetCurrentProcess(), 2);
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
    if (std::strcmp(lpCmdLine, "overcopy") == 0) {
        OverCopy();
        return 0;
    }
    char szPath[MAX_PATH];
    ::GetModuleFileNameA(NULL, szPath, MAX_PATH);
    const int nOther = static_cast<int>(_spawnl(_P_WAIT, szPath, "guard_test", "guard", NULL));
    const auto dwOverrun = static_cast<DWORD>(_spawnl(_P_WAIT, szPath, "guard_test", "overrun", NULL));
    const auto dwOverCopy = static_cast<DWORD>(_spawnl(_P_WAIT, szPath, "guard_test", "overcopy", NULL));
    // _FORTIFY_SOURCE needs the optimiser: a Debug build goes without it.
#ifdef __OPTIMIZE__
    const DWORD dwFortified = STATUS_STACK_BUFFER_OVERRUN;
#else
    const DWORD dwFortified = 2;
#endif
    std::printf("guard %016llx, another run's folded %08x, overrun's exit code 0x%08lX, overcopy's 0x%08lX\n",
                static_cast<unsigned long long>(__stack_chk_guard), nOther, dwOverrun, dwOverCopy);
    return __stack_chk_guard == 0 || nOther == nFolded || dwOverrun != STATUS_STACK_BUFFER_OVERRUN ||
           dwOverCopy != dwFortified;
}
