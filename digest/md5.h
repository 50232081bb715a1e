// Classes in this file:
//   CMD5 - a streaming MD5 message digest (RFC 1321). One context hashes one
//          message: construct, Update any number of times, Final once, then
//          HexDigest. Portable C++: no Windows headers.
#pragma once

#include <cstddef>
#include <cstdint>

#include "framework/cstring.h"

class CMD5
{
public:
    // The forms of the compression function. All give the same digest; which
    // one new contexts use is chosen in md5_forms.h.
    enum Form { PORTABLE, AVX512, FORMS };

// Constructors
    // A context with the form chosen for this processor, once a process
    // (md5_forms.cpp).
    CMD5();
    // A context with the given form, or the portable one where this
    // processor cannot run it: for tests and benchmarks of each form.
    explicit CMD5(Form form);

// Operations
    // Absorbs length bytes at input; a length of zero or less is ignored.
    void Update(const unsigned char* input, int length);
    // Appends the padding and the bit length, and writes the digest.
    void Final();
    // The digest as 32 lower-case hex characters, byte 0 first. Valid while
    // the context lives and until the next call.
    const char* HexDigest();

    // Whether this processor and its operating system can run the form.
    static bool CanRun(Form form);

protected:
    void Transform(const unsigned char* block);
    // Whole blocks in the context's form.
    void Compress(const unsigned char* block, size_t blocks);

// Attributes
    uint32_t m_count[2];        // message length in bits mod 2^64, low word first
    uint32_t m_state[4];        // chaining words A, B, C, D
    unsigned char m_buffer[64]; // partial block: (m_count[0] >> 3) & 63 bytes
    unsigned char m_digest[16]; // written by Final
    CString m_strHex;           // written by HexDigest
    Form m_form;                // the compression function's form
};
