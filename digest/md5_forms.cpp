#include "digest/md5_forms.h"

#include <algorithm>
#include <chrono>

namespace {

// Each timing hashes 4 KiB through a context: long enough that the 100 ns
// tick of Windows' performance counter is small beside the gap between forms
// where the gap matters.
const int kTimedBytes = 4096;

// A form listed later is chosen only if it is faster than the best before
// it by more than this fraction. A busy processor can bring two forms level
// for a while, and then the portable form, listed first, is the safe one: it
// is never far behind where another form wins, while another can be far
// behind where it loses.
const double kMargin = 0.05;

typedef std::chrono::steady_clock Clock;

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double Seconds(CMD5::Form form)
{
    if (!CMD5::CanRun(form))
        return -1;
    static const unsigned char bytes[kTimedBytes] = {};
    // The engine is another object file, so the hashing cannot be left out.
    CMD5 md5(form);
    const Clock::time_point start = Clock::now();
    md5.Update(bytes, kTimedBytes);
    return SecondsSince(start);
}

unsigned RunnableForms()
{
    unsigned forms = 0;
    for (int f = 0; f < CMD5::FORMS; f++)
        forms |= CMD5::CanRun(static_cast<CMD5::Form>(f)) ? 1u << f : 0;
    return forms;
}

// The first measurement's choice.
CMD5::Form MeasuredForm()
{
    static const CMD5::Form measured = Md5MeasureForms(Seconds);
    return measured;
}

CMd5Trial& ProcessTrial()
{
    static CMd5Trial trial(RunnableForms(), MeasuredForm());
    return trial;
}

} // namespace

CMD5::CMD5() : CMD5(Md5ChosenForm())
{
    if (ProcessTrial().Confirmed() == FORMS)
        m_pTrial = &ProcessTrial();
}

void CMD5::TryForms(const unsigned char* block, size_t blocks)
{
    while (blocks > 0) {
        if (m_pTrial->Confirmed() != FORMS) {
            m_form = m_pTrial->Confirmed();
            m_pTrial = NULL;
            Compress(block, blocks);
            return;
        }
        const int sliceBytes = m_pTrial->SliceBytes(m_form);
        const size_t n = std::min(blocks, static_cast<size_t>(sliceBytes - m_nSliceBytes) / 64);
        const Clock::time_point start = Clock::now();
        Compress(block, n);
        m_sliceSeconds += SecondsSince(start);
        m_nSliceBytes += static_cast<int>(64 * n);
        block += 64 * n;
        blocks -= n;
        if (m_nSliceBytes == sliceBytes) {
            m_pTrial->Add(m_form, m_sliceSeconds);
            m_form = m_pTrial->Next(m_form);
            m_nSliceBytes = 0;
            m_sliceSeconds = 0;
        }
    }
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
    const CMD5::Form confirmed = ProcessTrial().Confirmed();
    return confirmed != CMD5::FORMS ? confirmed : MeasuredForm();
}

CMD5::Form Md5MeasureForms(Md5FormSeconds seconds)
{
    double table[1 + kMd5ChooseRounds][CMD5::FORMS];
    for (int r = 0; r <= kMd5ChooseRounds; r++) {
        for (int i = 0; i < CMD5::FORMS; i++) {
            const CMD5::Form f = static_cast<CMD5::Form>(r % 2 ? CMD5::FORMS - 1 - i : i);
            table[r][f] = seconds(f);
        }
    }
    return Md5ChooseForm(table + 1, kMd5ChooseRounds);
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

CMd5Trial::CMd5Trial(unsigned forms, CMD5::Form measured)
    : m_forms(forms), m_measured(measured), m_confirmed(measured == CMD5::PORTABLE ? measured : CMD5::FORMS)
{
    for (int f = 0; f < CMD5::FORMS; f++) {
        m_slices[f] = 0;
        m_fastest[f] = -1;
    }
}

int CMd5Trial::SliceBytes(CMD5::Form form) const
{
    return form == m_measured ? kMd5MeasuredSlices * kMd5SliceBytes : kMd5SliceBytes;
}

void CMd5Trial::Add(CMD5::Form form, double seconds)
{
    const double perByte = seconds / SliceBytes(form);
    double fastest = m_fastest[form];
    while ((fastest < 0 || perByte < fastest) && !m_fastest[form].compare_exchange_weak(fastest, perByte)) {
    }
    m_slices[form]++;

    double row[1][CMD5::FORMS];
    for (int f = 0; f < CMD5::FORMS; f++) {
        if (!(m_forms & 1u << f)) {
            row[0][f] = -1;
        } else if (m_slices[f] < kMd5TrialSlices) {
            return;
        } else {
            row[0][f] = m_fastest[f];
        }
    }
    int trying = CMD5::FORMS;
    m_confirmed.compare_exchange_strong(trying, Md5ChooseForm(row, 1));
}

CMD5::Form CMd5Trial::Next(CMD5::Form form) const
{
    for (int i = 1; i <= CMD5::FORMS; i++) {
        const int f = (form + i) % CMD5::FORMS;
        if (m_forms & 1u << f)
            return static_cast<CMD5::Form>(f);
    }
    return form;
}
