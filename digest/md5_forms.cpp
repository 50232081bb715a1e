#include "digest/md5_forms.h"

#include <chrono>
#include <thread>

namespace {

// A form listed later is chosen only if it is faster than the best before
// it by more than this fraction. A busy processor can bring two forms level
// for a while, and then the portable form, listed first, is the safe one: it
// is never far behind where another form wins, while another can be far
// behind where it loses.
const double kMargin = 0.05;

typedef std::chrono::steady_clock Clock;

double Seconds(CMD5::Form form)
{
    if (!CMD5::CanRun(form))
        return -1;
    static const unsigned char bytes[kMd5TimedBytes] = {};
    // The engine is another object file, so the hashing cannot be left out.
    CMD5 md5(form);
    const Clock::time_point start = Clock::now();
    md5.Update(bytes, kMd5TimedBytes);
    return std::chrono::duration<double>(Clock::now() - start).count();
}

int RunnableForms()
{
    int n = 0;
    for (int f = 0; f < CMD5::FORMS; f++)
        n += CMD5::CanRun(static_cast<CMD5::Form>(f));
    return n;
}

// Times every form into rounds[0..kMd5ChooseRounds - 1], the forms
// alternating and taking turns to go first, after one untimed pass.
void Measure(Md5FormSeconds seconds, double rounds[][CMD5::FORMS])
{
    for (int r = 0; r <= kMd5ChooseRounds; r++) {
        for (int i = 0; i < CMD5::FORMS; i++) {
            const CMD5::Form f = static_cast<CMD5::Form>(r % 2 ? CMD5::FORMS - 1 - i : i);
            const double s = seconds(f);
            if (r > 0)
                rounds[r - 1][f] = s;
        }
    }
}

} // namespace

void Md5Pause()
{
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

CMD5::CMD5() : CMD5(Md5ChosenForm())
{
}

const char* Md5FormName(CMD5::Form form)
{
    switch (form) {
    case CMD5::AVX512: return "avx512";
    default: return "portable";
    }
}

CMD5::Form Md5ChosenForm()
{
    static const CMD5::Form chosen = RunnableForms() > 1 ? Md5MeasureForms(Seconds, Md5Pause) : CMD5::PORTABLE;
    return chosen;
}

CMD5::Form Md5MeasureForms(Md5FormSeconds seconds, void (*pause)())
{
    double table[2 * kMd5ChooseRounds][CMD5::FORMS];
    Measure(seconds, table);
    pause();
    Measure(seconds, table + kMd5ChooseRounds);
    return Md5ChooseForm(table, 2 * kMd5ChooseRounds);
}

CMD5::Form Md5ChooseForm(const double seconds[][CMD5::FORMS], int rounds)
{
    CMD5::Form best = CMD5::PORTABLE;
    double bestSeconds = -1;
    for (int f = 0; f < CMD5::FORMS; f++) {
        double fastest = -1;
        for (int r = 0; r < rounds; r++) {
            if (seconds[r][f] >= 0 && (fastest < 0 || seconds[r][f] < fastest))
                fastest = seconds[r][f];
        }
        if (fastest >= 0 && (bestSeconds < 0 || fastest * (1 + kMargin) < bestSeconds)) {
            best = static_cast<CMD5::Form>(f);
            bestSeconds = fastest;
        }
    }
    return best;
}
