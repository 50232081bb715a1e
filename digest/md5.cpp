#include "digest/md5.h"

#include <cstring>

#include "digest/md5_rounds.h"

namespace {

// Endian-neutral; GCC merges the four byte loads into one 32-bit load on
// x86, so a memcpy load would buy nothing.
inline uint32_t Load32(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

inline void Store32(unsigned char* p, uint32_t v)
{
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
    p[2] = static_cast<unsigned char>(v >> 16);
    p[3] = static_cast<unsigned char>(v >> 24);
}

// Constant shift amounts, so each rotation compiles to one instruction.
inline uint32_t Rotl(uint32_t x, int s) { return (x << s) | (x >> (32 - s)); }

const unsigned char kPadding[64] = {0x80};

// One step each. Every step's new value of b is the previous step's result,
// so the message word, the constant and whatever does not involve b are added
// first; only the last additions wait for b. G is written as the sum of two
// terms that share no bits, (b & d) + (c & ~d), which lets c & ~d start early.
// What then waits for b, as GCC 12 compiles it at -O3 or -O2 alike:
//   F: and, xor, add, rol, add   (c ^ d is ready)          5 cycles
//   G: and, add, rol, add        (c & ~d already added)    4
//   H: xor, add, rol, add        (c ^ d is ready)          4
//   I: or, xor, add, rol, add    (~d is ready)             5
// 4.5 cycles a step, i.e. a byte: the floor while each logic operation
// takes two inputs and a cycle (the AVX-512 form in md5_avx512.cpp gets
// under it where vector operations take a cycle). Leave GCC's reassociation
// on, and no BMI or three-operand lea form is kept: each measured no faster
// (docs/performance.md).
struct PortableOps
{
    typedef uint32_t Word;
    static Word Make(uint32_t v) { return v; }
    static uint32_t Value(Word w) { return w; }
    static Word Load(const unsigned char* p) { return Load32(p); }
    static Word Add(Word a, Word b) { return a + b; }

    template <int s> static void FF(Word& a, Word b, Word c, Word d, Word x, uint32_t t)
    {
        a += x + t; a += d ^ (b & (c ^ d)); a = Rotl(a, s) + b;
    }
    template <int s> static void GG(Word& a, Word b, Word c, Word d, Word x, uint32_t t)
    {
        a += x + t + (c & ~d); a += b & d; a = Rotl(a, s) + b;
    }
    template <int s> static void HH(Word& a, Word b, Word c, Word d, Word x, uint32_t t)
    {
        a += x + t; a += (c ^ d) ^ b; a = Rotl(a, s) + b;
    }
    template <int s> static void II(Word& a, Word b, Word c, Word d, Word x, uint32_t t)
    {
        a += x + t; a += c ^ (b | ~d); a = Rotl(a, s) + b;
    }
};

// The given form, which must be one this processor can run. Out of line,
// so that Update and Transform share one copy of the 64 steps.
__attribute__((noinline)) void CompressIn(CMD5::Form form, uint32_t state[4], const unsigned char* block,
                                          size_t blocks)
{
#ifdef SUMWISE_MD5_AVX512
    if (form == CMD5::AVX512) {
        Md5CompressAvx512(state, block, blocks);
        return;
    }
#endif
    (void)form;
    CompressBlocks<PortableOps>(state, block, blocks);
}

} // namespace

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

CMD5::CMD5(Form form) : m_form(CanRun(form) ? form : PORTABLE)
{
    m_count[1] = m_count[0] = 0;
    m_state[0] = 0x67452301;
    m_state[1] = 0xefcdab89;
    m_state[2] = 0x98badcfe;
    m_state[3] = 0x10325476;
}

void CMD5::Update(const unsigned char* input, int length)
{
    if (length <= 0)
        return;

    unsigned index = (m_count[0] >> 3) & 63;
    const uint32_t bits = static_cast<uint32_t>(length) << 3;
    m_count[0] += bits;
    m_count[1] += static_cast<uint32_t>(length) >> 29;
    if (m_count[0] < bits)
        m_count[1]++;

    // Top up a waiting partial block first.
    if (index != 0) {
        unsigned n = index + static_cast<unsigned>(length) > 64 ? 64 - index
                                                                 : static_cast<unsigned>(length);
        std::memcpy(m_buffer + index, input, n);
        if (index + n < 64)
            return;
        Transform(m_buffer);
        input += n;
        length -= static_cast<int>(n);
    }

    // Whole blocks straight from the caller's memory.
    const int blocks = length / 64;
    if (blocks > 0) {
        Compress(input, static_cast<size_t>(blocks));
        input += 64 * blocks;
        length -= 64 * blocks;
    }

    if (length > 0)
        std::memcpy(m_buffer, input, static_cast<size_t>(length));
}

void CMD5::Final()
{
    unsigned char bits[8];
    Store32(bits, m_count[0]);
    Store32(bits + 4, m_count[1]);

    // 56 - index bytes when index < 56, else 120 - index: always 1..64.
    const uint32_t padLen = ((0xFFFFFFF7u - (m_count[0] >> 3)) & 63) + 1;
    Update(kPadding, static_cast<int>(padLen));
    Update(bits, 8);

    for (int i = 0; i < 4; i++)
        Store32(m_digest + 4 * i, m_state[i]);
}

const char* CMD5::HexDigest()
{
    const unsigned char* d = m_digest;
    m_strHex.Format("%02x%02x%02x%02x%02x%02x%02x%02x%02x%02x%02x%02x%02x%02x%02x%02x",
                    d[0], d[1], d[2], d[3], d[4], d[5], d[6], d[7],
                    d[8], d[9], d[10], d[11], d[12], d[13], d[14], d[15]);
    return m_strHex;
}

// One block, from the context's buffer.
void CMD5::Transform(const unsigned char* block)
{
    Compress(block, 1);
}

void CMD5::Compress(const unsigned char* block, size_t blocks)
{
    CompressIn(m_form, m_state, block, blocks);
}
