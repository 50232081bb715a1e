// MD5's compression function in AVX-512 registers, one word in the low lane
// of each. Only lane 0 matters: the gain is vpternlogd, which computes each
// step's three-input function in one instruction of one cycle, where the
// integer form needs two in a row for F and I. With vprold rotating in one
// cycle too, what waits for the previous step is ternlog, add, rol, add:
// half a cycle a step under the portable form. Where vector operations
// take longer than a cycle the form loses, so it is timed, not assumed
// (md5_forms.cpp). This file alone is compiled with -mavx512f -mavx512vl.
#include <immintrin.h>

#include <cstring>

#include "digest/md5_rounds.h"

namespace {

struct Avx512Ops
{
    typedef __m128i Word;
    static Word Make(uint32_t v) { return _mm_cvtsi32_si128(static_cast<int>(v)); }
    static uint32_t Value(Word w) { return static_cast<uint32_t>(_mm_cvtsi128_si32(w)); }
    // x86 is little-endian, as MD5's words are.
    static Word Load(const unsigned char* p)
    {
        uint32_t v;
        std::memcpy(&v, p, 4);
        return Make(v);
    }
    static Word Add(Word a, Word b) { return _mm_add_epi32(a, b); }

    // The table of a ternlog immediate is the function applied to the
    // operands' own tables, 0xf0 (b), 0xcc (c) and 0xaa (d).
    template <int f, int s> static void Step(Word& a, Word b, Word c, Word d, Word x, uint32_t t)
    {
        Word early = Add(a, Add(x, Make(t)));
        // Keeps GCC from reassociating the sum so that the function's value
        // is added to x first: that puts two additions after the ternlog.
        __asm__("" : "+v"(early));
        a = Add(_mm_rol_epi32(Add(early, _mm_ternarylogic_epi32(b, c, d, f)), s), b);
    }
    // (b & c) | (~b & d), (b & d) | (c & ~d), b ^ c ^ d, c ^ (b | ~d)
    template <int s> static void FF(Word& a, Word b, Word c, Word d, Word x, uint32_t t) { Step<0xca, s>(a, b, c, d, x, t); }
    template <int s> static void GG(Word& a, Word b, Word c, Word d, Word x, uint32_t t) { Step<0xe4, s>(a, b, c, d, x, t); }
    template <int s> static void HH(Word& a, Word b, Word c, Word d, Word x, uint32_t t) { Step<0x96, s>(a, b, c, d, x, t); }
    template <int s> static void II(Word& a, Word b, Word c, Word d, Word x, uint32_t t) { Step<0x39, s>(a, b, c, d, x, t); }
};

} // namespace

void Md5CompressAvx512(uint32_t state[4], const unsigned char* block, size_t blocks)
{
    CompressBlocks<Avx512Ops>(state, block, blocks);
}
