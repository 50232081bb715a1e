// Which form of the compression function new contexts use. One MD5 stream
// is a single chain of dependent steps, so a form's speed is the latency of
// its operations, which the feature bits do not tell: the AVX-512 form wins
// on some processors with AVX-512 and loses on others. So the first context
// of a process times every form this processor can run and keeps the
// fastest. A processor kept busy can slow one form for longer than that
// measurement, so a choice of the AVX-512 form is then confirmed on the
// process's first megabytes of real work. Built on the engine (md5.h), whose
// default constructor and TryForms are defined here; md5.cpp uses nothing
// from this file.
#pragma once

#include <atomic>

#include "digest/md5.h"

// The rounds each form is timed for, after one untimed pass.
const int kMd5ChooseRounds = 5;

// "portable" or "avx512", for test names and reports.
const char* Md5FormName(CMD5::Form form);

// The form new contexts use: measured once per process, and where that is
// not the portable form, confirmed by a trial (CMd5Trial below).
CMD5::Form Md5ChosenForm();

// The form with the lowest time: seconds[r][f] is form f's time in round r,
// negative where f was not timed. Each form counts its fastest round, so a
// round slowed by an interrupt does not decide.
CMD5::Form Md5ChooseForm(const double seconds[][CMD5::FORMS], int rounds);

// Seconds one timing of the form takes; negative where it cannot run.
typedef double (*Md5FormSeconds)(CMD5::Form form);

// Times every form with seconds, the forms alternating and taking turns to
// go first, one untimed pass and then kMd5ChooseRounds rounds; chooses.
CMD5::Form Md5MeasureForms(Md5FormSeconds seconds);

// The bytes of a slice of a form tried; the measured form's slices are
// kMd5MeasuredSlices times as long. kMd5TrialSlices of each form decide.
const int kMd5SliceBytes = 8 << 10;
const int kMd5MeasuredSlices = 7;
const int kMd5TrialSlices = 256;
// The bytes of whole blocks a trial of two forms takes.
const int kMd5TrialBytes = (1 + kMd5MeasuredSlices) * kMd5TrialSlices * kMd5SliceBytes;

// The confirmation of a process's choice on real work, where the first
// measurement chose a form other than the portable one: the portable form is
// never far behind where another wins, so only a choice of another is worth
// the trial's cost. Contexts of the chosen form hash their whole blocks in
// slices, the forms taking turns, and file each slice's seconds here; the
// measured form's slices are the longer, so that a slower form costs little.
// Once every form has kMd5TrialSlices, the fastest bytes of each decide, as
// in Md5ChooseForm, and a slowdown of one form that outlasted the first
// measurement is outlasted. Safe to share between threads.
class CMd5Trial
{
public:
    // Tries the forms whose bit (1 << form) is set in forms, the measured
    // one first.
    CMd5Trial(unsigned forms, CMD5::Form measured);

    // The bytes of a slice of the form.
    int SliceBytes(CMD5::Form form) const;
    // Files a slice of the form that took seconds.
    void Add(CMD5::Form form, double seconds);
    // The confirmed form, or CMD5::FORMS while the trial goes on.
    CMD5::Form Confirmed() const { return static_cast<CMD5::Form>(m_confirmed.load()); }
    // The form tried after the given one.
    CMD5::Form Next(CMD5::Form form) const;
    // Seconds a byte in the form's fastest slice; negative before its first.
    double Fastest(CMD5::Form form) const { return m_fastest[form]; }

private:
    const unsigned m_forms;
    const CMD5::Form m_measured;
    std::atomic<int> m_confirmed;
    std::atomic<int> m_slices[CMD5::FORMS];
    std::atomic<double> m_fastest[CMD5::FORMS];
};
