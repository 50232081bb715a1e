#include "digest/md5_find.h"

namespace {

const size_t kMd5Digits = 32;

// The hex digit's value, or -1.
int HexValue(char16_t ch)
{
    if (ch >= u'0' && ch <= u'9')
        return ch - u'0';
    if (ch >= u'a' && ch <= u'f')
        return ch - u'a' + 10;
    if (ch >= u'A' && ch <= u'F')
        return ch - u'A' + 10;
    return -1;
}

bool IsLetterOrDigit(char16_t ch, IsLetterOrDigitFn isLetterOrDigit)
{
    if (ch < 0x80)
        return HexValue(ch) >= 0 || (ch >= u'g' && ch <= u'z') || (ch >= u'G' && ch <= u'Z');
    return isLetterOrDigit != nullptr && isLetterOrDigit(ch);
}

// Whether the 32 digits at run spell digest, whatever their case.
bool SameDigest(const char16_t* run, const char* digest)
{
    for (size_t i = 0; i < kMd5Digits; ++i)
        if (HexValue(run[i]) != HexValue(static_cast<char16_t>(digest[i])))
            return false;
    return true;
}

} // namespace

CopiedMd5 CompareWithCopiedMd5(const char16_t* text, size_t length, const char* digest,
                               IsLetterOrDigitFn isLetterOrDigit)
{
    const size_t searched = length < kCopiedMd5MaxChars ? length : kCopiedMd5MaxChars;
    CopiedMd5 verdict = CopiedMd5::NONE;
    size_t i = 0;
    while (i < searched) {
        if (HexValue(text[i]) < 0) {
            ++i;
            continue;
        }
        // A run starts after a character that is not a hex digit; the run
        // [i, end) is every digit up to the next one that is not, or up to
        // the edge of the part searched, past which the character that
        // follows still counts: a run cut there is followed by a digit.
        size_t end = i + 1;
        while (end < searched && HexValue(text[end]) >= 0)
            ++end;
        const bool bMd5 = end - i == kMd5Digits &&
                          (i == 0 || !IsLetterOrDigit(text[i - 1], isLetterOrDigit)) &&
                          (end == length || !IsLetterOrDigit(text[end], isLetterOrDigit));
        if (bMd5) {
            if (SameDigest(text + i, digest))
                return CopiedMd5::MATCHES;
            verdict = CopiedMd5::DOES_NOT_MATCH;
        }
        i = end;
    }
    return verdict;
}
