// Whether a digest is among the MD5s in a text the user copied: a published
// checksum line, md5sum's or certutil's output, a list of several files'
// digests. Portable C++: no Windows headers.
#pragma once

#include <cstddef>

// What a copied text says of a digest.
enum class CopiedMd5
{
    NONE,           // the text holds no MD5
    MATCHES,        // one of its MD5s is the digest
    DOES_NOT_MATCH, // it holds MD5s, none of them the digest
};

// The part of a text that is searched: its first 64 KiB as UTF-16, so a
// huge clipboard costs no more than a small one.
const size_t kCopiedMd5MaxChars = 32768;

// Tells whether a character beyond ASCII is a letter or a digit; the caller
// knows the character tables, this code does not.
typedef bool (*IsLetterOrDigitFn)(char16_t ch);

// Compares digest (32 lower-case hex characters) with every MD5 in the
// first kCopiedMd5MaxChars of text (length UTF-16 units, no terminator
// needed). An MD5 is a run of exactly 32 hex digits, either case, with no
// letter or digit right before or after it, so SHA-1 and SHA-256 digests
// and hex inside words are not MD5s. A run must end within the part
// searched; the character just after it counts even past the part, so
// length may run one character past it.
// isLetterOrDigit may be NULL: then no character beyond ASCII is one.
CopiedMd5 CompareWithCopiedMd5(const char16_t* text, size_t length, const char* digest,
                               IsLetterOrDigitFn isLetterOrDigit);
