// Which form of the compression function a context uses. One MD5 stream is a
// single chain of dependent steps, so a form's speed is the latency of its
// operations, which the feature bits do not tell: the AVX-512 form runs at
// 1.10 x the portable one on an Intel Xeon and at 0.56 x on an AMD EPYC of
// family 26, both with AVX-512. So every form this processor can run is
// timed once per process and the fastest kept.
#include <chrono>

#include "digest/md5_forms.h"

namespace {

// Each timing hashes 4 KiB: about 5 us at 800 MB/s, so that the 100 ns tick
// of Windows' performance counter is 2 % of it, well under what parts the
// forms where it matters. A warm-up pass and the rounds come to about
// 0.1 ms, once.
const size_t kTimedBlocks = 64;

double Seconds(CMD5::Form form, const unsigned char* block)
{
    typedef std::chrono::steady_clock Clock;
    uint32_t state[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
    const Clock::time_point start = Clock::now();
    Md5Compress(form, state, block, kTimedBlocks);
    const Clock::time_point end = Clock::now();
    // The state is read, so the work cannot be left out.
    volatile uint32_t sink = state[0];
    (void)sink;
    return std::chrono::duration<double>(end - start).count();
}

// Times each runnable form on the same bytes, the forms alternating and
// taking turns to go first, after one untimed pass of each.
CMD5::Form Measure()
{
    static const unsigned char block[64 * kTimedBlocks] = {};
    double seconds[1 + CMD5::CHOOSE_ROUNDS][CMD5::FORMS];
    for (int r = 0; r <= CMD5::CHOOSE_ROUNDS; r++) {
        for (int i = 0; i < CMD5::FORMS; i++) {
            const CMD5::Form f = static_cast<CMD5::Form>(r % 2 ? CMD5::FORMS - 1 - i : i);
            seconds[r][f] = CMD5::CanRun(f) ? Seconds(f, block) : -1;
        }
    }
    return CMD5::ChooseForm(seconds + 1, CMD5::CHOOSE_ROUNDS);
}

} // namespace

const char* CMD5::FormName(Form form)
{
    switch (form) {
    case AVX512: return "avx512";
    default: return "portable";
    }
}

bool CMD5::CanRun(Form form)
{
    switch (form) {
    case PORTABLE:
        return true;
    case AVX512:
#ifdef SUMWISE_MD5_AVX512
        // The check covers the OS: AVX-512 counts only when it saves the
        // registers' upper halves and the mask registers on a thread switch.
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl");
#else
        return false;
#endif
    default:
        return false;
    }
}

CMD5::Form CMD5::ChooseForm(const double seconds[][FORMS], int rounds)
{
    Form best = PORTABLE;
    double bestSeconds = -1;
    for (int f = 0; f < FORMS; f++) {
        double fastest = -1;
        for (int r = 0; r < rounds; r++) {
            if (seconds[r][f] >= 0 && (fastest < 0 || seconds[r][f] < fastest))
                fastest = seconds[r][f];
        }
        // A tie goes to the form listed first, the portable one.
        if (fastest >= 0 && (bestSeconds < 0 || fastest < bestSeconds)) {
            best = static_cast<Form>(f);
            bestSeconds = fastest;
        }
    }
    return best;
}

CMD5::Form CMD5::ChosenForm()
{
    static const Form chosen = Measure();
    return chosen;
}

void Md5Compress(CMD5::Form form, uint32_t state[4], const unsigned char* block, size_t blocks)
{
#ifdef SUMWISE_MD5_AVX512
    if (form == CMD5::AVX512) {
        Md5CompressAvx512(state, block, blocks);
        return;
    }
#endif
    (void)form;
    Md5CompressPortable(state, block, blocks);
}
