// The stack protector's guard, its seeding and its failure path, in place of
// the compiler's own library. That library seeds the guard with CryptoAPI
// from a static constructor: it loads DLLs by name before the program can
// restrict where DLLs come from, and it runs in no fixed order with the
// other constructors, which may already run protected code. Here the guard
// is seeded at the program's entry, before anything else runs, as Windows'
// own compiler seeds its cookie.
#include <windows.h>

#include <cpuid.h>
#include <immintrin.h>

#include <cstdint>

// Guards what runs before the entry replaces it, and stands in for a seed
// that came out zero.
constexpr uintptr_t kDefaultGuard = 0x2B992DDFA232;

extern "C" {
uintptr_t __stack_chk_guard = kDefaultGuard;
[[noreturn]] void __stack_chk_fail();
[[noreturn]] void __chk_fail();
int WinMainCRTStartup();
int AfxEntry();
}

namespace {

// Folds one more value in, spreading every bit of it over the whole guard.
uint64_t Mix(uint64_t h, uint64_t v)
{
    h ^= v + 0x9E3779B97F4A7C15 + (h << 6) + (h >> 2);
    h = (h ^ (h >> 30)) * 0xBF58476D1CE4E5B9;
    h = (h ^ (h >> 27)) * 0x94D049BB133111EB;
    return h ^ (h >> 31);
}

// RDRAND, where the processor has it. It may fail now and then under load,
// so a failure is retried, as its maker advises; some processors return all
// ones and success after a resume, which is no random number either.
__attribute__((target("rdrnd"))) bool ProcessorRandom(uint64_t& value)
{
    unsigned int eax, ebx, ecx, edx;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx) || (ecx & bit_RDRND) == 0)
        return false;
    for (int i = 0; i < 10; ++i) {
        unsigned long long n;
        if (_rdrand64_step(&n) && n != ~0ULL) {
            value = n;
            return true;
        }
    }
    return false;
}

// Built without the protector: the guard changes while this frame is live.
__attribute__((no_stack_protector)) void SeedStackGuard()
{
    FILETIME ft;
    ::GetSystemTimeAsFileTime(&ft);
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    uint64_t h = Mix(0, (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
    h = Mix(h, (static_cast<uint64_t>(::GetCurrentProcessId()) << 32) | ::GetCurrentThreadId());
    h = Mix(h, ::GetTickCount64());
    h = Mix(h, static_cast<uint64_t>(counter.QuadPart));
    h = Mix(h, reinterpret_cast<uintptr_t>(&counter));   // where the stack landed
    uint64_t random;
    if (ProcessorRandom(random))
        h = Mix(h, random);
    // Zero is what an overrun by a string's terminator writes.
    __stack_chk_guard = h != 0 ? h : kDefaultGuard;
}

// Ends the process at once: a corrupted process runs no handler of its own.
[[noreturn]] void FailFast(unsigned int nCode)
{
    if (::IsProcessorFeaturePresent(PF_FASTFAIL_AVAILABLE))
        __asm__ volatile("int $0x29" : : "c"(nCode) : "memory");
    ::TerminateProcess(::GetCurrentProcess(), STATUS_STACK_BUFFER_OVERRUN);
    __builtin_unreachable();
}

} // namespace

// The program's entry point (linked with --entry): the C runtime's own
// start-up follows once the guard is seeded.
__attribute__((no_stack_protector)) int AfxEntry()
{
    SeedStackGuard();
    return WinMainCRTStartup();
}

void __stack_chk_fail()
{
    FailFast(FAST_FAIL_STACK_COOKIE_CHECK_FAILURE);
}

// A fortified string function found a write past the end of its buffer.
void __chk_fail()
{
    FailFast(FAST_FAIL_RANGE_CHECK_FAILURE);
}
