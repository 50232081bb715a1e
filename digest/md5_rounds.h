// The 64 steps of MD5's compression function over a run of whole blocks,
// written once for every instruction set: Ops supplies the word type, the
// loads and the four step functions. md5.cpp instantiates it with 32-bit
// integers, md5_avx512.cpp with vector registers; each file is compiled for
// its own instruction set, so everything defined here has internal linkage
// and the linker never swaps one file's copy for the other's.
#pragma once

#include <cstddef>
#include <cstdint>

// md5_avx512.cpp's entry point, called only where CMD5::CanRun(CMD5::AVX512).
void Md5CompressAvx512(uint32_t state[4], const unsigned char* block, size_t blocks);

namespace {

#define MD5_FF(a, b, c, d, x, s, t) Ops::template FF<s>(a, b, c, d, x, t)
#define MD5_GG(a, b, c, d, x, s, t) Ops::template GG<s>(a, b, c, d, x, t)
#define MD5_HH(a, b, c, d, x, s, t) Ops::template HH<s>(a, b, c, d, x, t)
#define MD5_II(a, b, c, d, x, s, t) Ops::template II<s>(a, b, c, d, x, t)

// Compresses blocks 64-byte blocks at block into state. The chaining words
// stay in registers from one block to the next.
template <class Ops>
inline void CompressBlocks(uint32_t state[4], const unsigned char* block, size_t blocks)
{
    typedef typename Ops::Word Word;
    Word a = Ops::Make(state[0]), b = Ops::Make(state[1]);
    Word c = Ops::Make(state[2]), d = Ops::Make(state[3]);

    for (; blocks > 0; blocks--, block += 64) {
        Word x[16];
        for (int i = 0; i < 16; i++)
            x[i] = Ops::Load(block + 4 * i);
        const Word aa = a, bb = b, cc = c, dd = d;

        // Round 1
        MD5_FF(a, b, c, d, x[ 0],  7, 0xd76aa478);
        MD5_FF(d, a, b, c, x[ 1], 12, 0xe8c7b756);
        MD5_FF(c, d, a, b, x[ 2], 17, 0x242070db);
        MD5_FF(b, c, d, a, x[ 3], 22, 0xc1bdceee);
        MD5_FF(a, b, c, d, x[ 4],  7, 0xf57c0faf);
        MD5_FF(d, a, b, c, x[ 5], 12, 0x4787c62a);
        MD5_FF(c, d, a, b, x[ 6], 17, 0xa8304613);
        MD5_FF(b, c, d, a, x[ 7], 22, 0xfd469501);
        MD5_FF(a, b, c, d, x[ 8],  7, 0x698098d8);
        MD5_FF(d, a, b, c, x[ 9], 12, 0x8b44f7af);
        MD5_FF(c, d, a, b, x[10], 17, 0xffff5bb1);
        MD5_FF(b, c, d, a, x[11], 22, 0x895cd7be);
        MD5_FF(a, b, c, d, x[12],  7, 0x6b901122);
        MD5_FF(d, a, b, c, x[13], 12, 0xfd987193);
        MD5_FF(c, d, a, b, x[14], 17, 0xa679438e);
        MD5_FF(b, c, d, a, x[15], 22, 0x49b40821);

        // Round 2
        MD5_GG(a, b, c, d, x[ 1],  5, 0xf61e2562);
        MD5_GG(d, a, b, c, x[ 6],  9, 0xc040b340);
        MD5_GG(c, d, a, b, x[11], 14, 0x265e5a51);
        MD5_GG(b, c, d, a, x[ 0], 20, 0xe9b6c7aa);
        MD5_GG(a, b, c, d, x[ 5],  5, 0xd62f105d);
        MD5_GG(d, a, b, c, x[10],  9, 0x02441453);
        MD5_GG(c, d, a, b, x[15], 14, 0xd8a1e681);
        MD5_GG(b, c, d, a, x[ 4], 20, 0xe7d3fbc8);
        MD5_GG(a, b, c, d, x[ 9],  5, 0x21e1cde6);
        MD5_GG(d, a, b, c, x[14],  9, 0xc33707d6);
        MD5_GG(c, d, a, b, x[ 3], 14, 0xf4d50d87);
        MD5_GG(b, c, d, a, x[ 8], 20, 0x455a14ed);
        MD5_GG(a, b, c, d, x[13],  5, 0xa9e3e905);
        MD5_GG(d, a, b, c, x[ 2],  9, 0xfcefa3f8);
        MD5_GG(c, d, a, b, x[ 7], 14, 0x676f02d9);
        MD5_GG(b, c, d, a, x[12], 20, 0x8d2a4c8a);

        // Round 3
        MD5_HH(a, b, c, d, x[ 5],  4, 0xfffa3942);
        MD5_HH(d, a, b, c, x[ 8], 11, 0x8771f681);
        MD5_HH(c, d, a, b, x[11], 16, 0x6d9d6122);
        MD5_HH(b, c, d, a, x[14], 23, 0xfde5380c);
        MD5_HH(a, b, c, d, x[ 1],  4, 0xa4beea44);
        MD5_HH(d, a, b, c, x[ 4], 11, 0x4bdecfa9);
        MD5_HH(c, d, a, b, x[ 7], 16, 0xf6bb4b60);
        MD5_HH(b, c, d, a, x[10], 23, 0xbebfbc70);
        MD5_HH(a, b, c, d, x[13],  4, 0x289b7ec6);
        MD5_HH(d, a, b, c, x[ 0], 11, 0xeaa127fa);
        MD5_HH(c, d, a, b, x[ 3], 16, 0xd4ef3085);
        MD5_HH(b, c, d, a, x[ 6], 23, 0x04881d05);
        MD5_HH(a, b, c, d, x[ 9],  4, 0xd9d4d039);
        MD5_HH(d, a, b, c, x[12], 11, 0xe6db99e5);
        MD5_HH(c, d, a, b, x[15], 16, 0x1fa27cf8);
        MD5_HH(b, c, d, a, x[ 2], 23, 0xc4ac5665);

        // Round 4
        MD5_II(a, b, c, d, x[ 0],  6, 0xf4292244);
        MD5_II(d, a, b, c, x[ 7], 10, 0x432aff97);
        MD5_II(c, d, a, b, x[14], 15, 0xab9423a7);
        MD5_II(b, c, d, a, x[ 5], 21, 0xfc93a039);
        MD5_II(a, b, c, d, x[12],  6, 0x655b59c3);
        MD5_II(d, a, b, c, x[ 3], 10, 0x8f0ccc92);
        MD5_II(c, d, a, b, x[10], 15, 0xffeff47d);
        MD5_II(b, c, d, a, x[ 1], 21, 0x85845dd1);
        MD5_II(a, b, c, d, x[ 8],  6, 0x6fa87e4f);
        MD5_II(d, a, b, c, x[15], 10, 0xfe2ce6e0);
        MD5_II(c, d, a, b, x[ 6], 15, 0xa3014314);
        MD5_II(b, c, d, a, x[13], 21, 0x4e0811a1);
        MD5_II(a, b, c, d, x[ 4],  6, 0xf7537e82);
        MD5_II(d, a, b, c, x[11], 10, 0xbd3af235);
        MD5_II(c, d, a, b, x[ 2], 15, 0x2ad7d2bb);
        MD5_II(b, c, d, a, x[ 9], 21, 0xeb86d391);

        a = Ops::Add(a, aa);
        b = Ops::Add(b, bb);
        c = Ops::Add(c, cc);
        d = Ops::Add(d, dd);
    }

    state[0] = Ops::Value(a);
    state[1] = Ops::Value(b);
    state[2] = Ops::Value(c);
    state[3] = Ops::Value(d);
}

#undef MD5_FF
#undef MD5_GG
#undef MD5_HH
#undef MD5_II

} // namespace
