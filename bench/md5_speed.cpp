// CMD5 throughput with nothing but the standard library, so the same source
// runs as the Windows .exe (under Wine) and as a native program; the two
// tables compare the MinGW and the native code generation. Contexts use the
// form the process chose, which the last line names with what the first
// measurement took.
// Usage: md5_speed [repetitions]   (default 7, each about 0.2 s per size)
//        md5_speed --choose        (that line alone, after hashing 16 MiB
//                                   in 1 KiB pieces as the window does, for
//                                   counting the choices of many fresh
//                                   processes)
//        md5_speed --emulate GAP   (whether the chooser, with its own two
//                                   measurements and pause, picks the faster
//                                   of two forms GAP times apart, the faster
//                                   listed second, as AVX-512 is: both are
//                                   the portable form, the first timed on
//                                   GAP times as many bytes; for counting
//                                   over many fresh processes wherever the
//                                   real forms are closer or only one runs)
#include "digest/md5.h"
#include "digest/md5_forms.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// One repetition: whole messages (fresh context, Update, Final) until at
// least minSeconds have passed; returns MB/s. The engine lives in another
// object file, so none of the hashing can be optimised away.
double Rate(const std::vector<unsigned char>& msg, double minSeconds)
{
    size_t messages = 0;
    const Clock::time_point start = Clock::now();
    double elapsed = 0;
    do {
        for (int i = 0; i < 8; i++) {
            CMD5 md5;
            md5.Update(msg.data(), static_cast<int>(msg.size()));
            md5.Final();
        }
        messages += 8;
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    } while (elapsed < minSeconds);
    return static_cast<double>(messages) * static_cast<double>(msg.size()) / elapsed / 1e6;
}

// The first form's bytes a timing under --emulate.
int g_slowBytes;

double EmulatedSeconds(CMD5::Form form)
{
    static const unsigned char bytes[2 * kMd5TimedBytes] = {};
    CMD5 md5(CMD5::PORTABLE);
    const Clock::time_point start = Clock::now();
    md5.Update(bytes, form == CMD5::PORTABLE ? g_slowBytes : kMd5TimedBytes);
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void PrintChoice(CMD5::Form chosen, double seconds)
{
    std::printf("chosen form: %s, chosen in %.0f us\n", Md5FormName(chosen), seconds * 1e6);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 2 && std::strcmp(argv[1], "--emulate") == 0) {
        const double gap = std::atof(argv[2]);
        if (!(gap > 1 && gap <= 2)) {
            std::fprintf(stderr, "md5_speed: --emulate takes a gap above 1, up to 2, not %s\n", argv[2]);
            return 2;
        }
        g_slowBytes = static_cast<int>(kMd5TimedBytes * gap + 0.5);
        const bool faster = Md5MeasureForms(EmulatedSeconds, Md5Pause) != CMD5::PORTABLE;
        std::printf("emulated choice: %s form\n", faster ? "faster" : "slower");
        return 0;
    }
    const Clock::time_point start = Clock::now();
    Md5ChosenForm();
    const double chooseSeconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (argc > 1 && std::strcmp(argv[1], "--choose") == 0) {
        static const unsigned char piece[1024] = {};
        CMD5 md5;
        for (int i = 0; i < 16 << 10; i++)
            md5.Update(piece, sizeof piece);
        md5.Final();
        PrintChoice(Md5ChosenForm(), chooseSeconds);
        return 0;
    }

    const int reps = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const size_t sizes[] = {16u << 10, 1u << 20};

    std::vector<std::vector<unsigned char>> msgs;
    for (size_t n : sizes) {
        std::vector<unsigned char> v(n);
        for (size_t i = 0; i < n; i++)
            v[i] = static_cast<unsigned char>(i * 131 + 7);
        msgs.push_back(v);
    }

    // Sizes alternate within each repetition so both see the same machine.
    std::vector<std::vector<double>> rates(msgs.size());
    std::vector<std::string> digests(msgs.size());
    for (int r = 0; r < reps; r++)
        for (size_t s = 0; s < msgs.size(); s++)
            rates[s].push_back(Rate(msgs[s], 0.2));

    // The digests show that both builds hash alike.
    for (size_t s = 0; s < msgs.size(); s++) {
        CMD5 md5;
        md5.Update(msgs[s].data(), static_cast<int>(msgs[s].size()));
        md5.Final();
        digests[s] = md5.HexDigest();
    }

    std::printf("%-9s %26s  %s\n", "bytes", "CMD5 MB/s (min/med/max)", "digest");
    for (size_t s = 0; s < msgs.size(); s++) {
        std::vector<double>& v = rates[s];
        std::sort(v.begin(), v.end());
        std::printf("%-9lu %8.0f %8.0f %8.0f  %s\n", static_cast<unsigned long>(sizes[s]),
                    v.front(), v[v.size() / 2], v.back(), digests[s].c_str());
    }
    PrintChoice(Md5ChosenForm(), chooseSeconds);
    return 0;
}
