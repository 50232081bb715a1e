// Which form of the compression function default-constructed contexts use.
// One MD5 stream is a single chain of dependent steps, so a form's speed is
// the latency of its operations, which the feature bits do not tell: the
// AVX-512 form wins on some processors with AVX-512 and loses on others. So
// the first default-constructed context of a process times every form this
// processor can run, twice, and keeps the fastest for the process. Built on the
// engine (md5.h), whose default constructor is defined here; md5.cpp uses
// nothing from this file.
#pragma once

#include "digest/md5.h"

// The rounds each form is timed for in one measurement, after one untimed
// pass.
const int kMd5ChooseRounds = 5;

// The bytes one timing hashes through a context: long enough that the 100 ns
// tick of Windows' performance counter is small beside the gap between forms
// where the gap matters.
const int kMd5TimedBytes = 4096;

// "portable" or "avx512", for test names and reports.
const char* Md5FormName(CMD5::Form form);

// The form default-constructed contexts use, chosen once per process by
// Md5MeasureForms with the clock where more than one form can run. Safe to
// call from any thread.
CMD5::Form Md5ChosenForm();

// The form with the lowest time: seconds[r][f] is form f's time in round r,
// negative where f was not timed. Each form counts its fastest round, so a
// round slowed by an interrupt does not decide.
CMD5::Form Md5ChooseForm(const double seconds[][CMD5::FORMS], int rounds);

// Seconds one timing of the form takes; negative where it cannot run.
typedef double (*Md5FormSeconds)(CMD5::Form form);

// Times every form with seconds in two measurements with pause between,
// each one untimed pass and then kMd5ChooseRounds rounds, the forms
// alternating and taking turns to go first; chooses from the rounds of
// both. A busy processor can slow one form for a few milliseconds, longer
// than one measurement lasts: the other measurement then decides for it.
CMD5::Form Md5MeasureForms(Md5FormSeconds seconds, void (*pause)());

// The pause Md5ChosenForm puts between the two measurements: longer than
// most slowdowns of one form on a busy processor (docs/performance.md).
void Md5Pause();
