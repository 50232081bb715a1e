// Tests of the MD5 engine, and of finding a digest among copied MD5s. The
// same suite runs natively, under ASan and UBSan, and as the MinGW build
// under Wine, the engine's tests once for each form of the compression
// function by name; a form this processor cannot run is reported as
// skipped. The OpenSSL cross-check is native only.
#include "digest/md5.h"
#include "digest/md5_find.h"
#include "digest/md5_forms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#ifdef SUMWISE_HAVE_OPENSSL
#include <openssl/md5.h>
#endif

namespace {

// Exposes the context's fields so tests can see the count and the buffer.
class CMD5Probe : public CMD5
{
public:
    CMD5Probe() {}
    explicit CMD5Probe(Form form) : CMD5(form) {}
    using CMD5::m_buffer;
    using CMD5::m_count;
    using CMD5::m_form;
    using CMD5::m_state;
};

const unsigned char* Bytes(const std::string& s)
{
    return reinterpret_cast<const unsigned char*>(s.data());
}

// Each test of the engine runs in every form.
class EachForm : public ::testing::TestWithParam<int>
{
protected:
    void SetUp() override
    {
        if (!CMD5::CanRun(Form()))
            GTEST_SKIP() << Md5FormName(Form()) << " cannot run here";
    }

    CMD5::Form Form() const { return static_cast<CMD5::Form>(GetParam()); }

    std::string Digest(const unsigned char* p, size_t n) const
    {
        CMD5 md5(Form());
        md5.Update(p, static_cast<int>(n));
        md5.Final();
        return md5.HexDigest();
    }

    std::string Digest(const std::string& s) const { return Digest(Bytes(s), s.size()); }
};

class KnownAnswers : public EachForm {};
class Chunking : public EachForm {};
class BitCount : public EachForm {};
class HexText : public EachForm {};
class AgainstOpenSsl : public EachForm {};

// Byte i is i % 251: a prime period, so no block repeats another.
std::vector<unsigned char> Pattern(size_t n)
{
    std::vector<unsigned char> v(n);
    for (size_t i = 0; i < n; i++)
        v[i] = static_cast<unsigned char>(i % 251);
    return v;
}

struct Vector { const char* message; const char* digest; };

const Vector kRfc1321[] = {
#include "tests/vectors/rfc1321.inc"
};

const char* const kLengths[] = {
#include "tests/vectors/lengths.inc"
};

// Test names end in the form's name.
std::string FormName(const ::testing::TestParamInfo<int>& info)
{
    return Md5FormName(static_cast<CMD5::Form>(info.param));
}

} // namespace

TEST_P(KnownAnswers, Rfc1321Suite)
{
    for (const Vector& v : kRfc1321)
        EXPECT_EQ(Digest(v.message), v.digest) << "message \"" << v.message << "\"";
}

TEST_P(KnownAnswers, NoUpdateIsTheEmptyMessage)
{
    CMD5 md5(Form());
    md5.Final();
    EXPECT_STREQ(md5.HexDigest(), "d41d8cd98f00b204e9800998ecf8427e");
}

// Covers every padding case: 55 bytes pad by 1, 56 by 64, 64 by 56, and
// every length either side of the first four block boundaries.
TEST_P(KnownAnswers, EveryLengthUpTo256AgainstMd5sum)
{
    ASSERT_EQ(sizeof(kLengths) / sizeof(kLengths[0]), 257u);
    const std::vector<unsigned char> msg = Pattern(256);
    for (size_t n = 0; n <= 256; n++)
        EXPECT_EQ(Digest(msg.data(), n), kLengths[n]) << "length " << n;
}

TEST_P(Chunking, EveryThreeWaySplitEqualsOneShot)
{
    const std::vector<unsigned char> msg = Pattern(3 * 64);
    const std::string whole = Digest(msg.data(), msg.size());
    for (size_t i = 0; i <= msg.size(); i++) {
        for (size_t j = i; j <= msg.size(); j++) {
            CMD5 md5(Form());
            md5.Update(msg.data(), static_cast<int>(i));
            md5.Update(msg.data() + i, static_cast<int>(j - i));
            md5.Update(msg.data() + j, static_cast<int>(msg.size() - j));
            md5.Final();
            ASSERT_EQ(md5.HexDigest(), whole) << "split at " << i << ", " << j;
        }
    }
}

TEST_P(Chunking, ByteByByteAndStraddlingPieces)
{
    const std::vector<unsigned char> msg = Pattern(135);
    const std::string whole = Digest(msg.data(), msg.size());

    CMD5 bytes(Form());
    for (unsigned char c : msg)
        bytes.Update(&c, 1);
    bytes.Final();
    EXPECT_EQ(bytes.HexDigest(), whole);

    CMD5 pieces(Form());
    pieces.Update(msg.data(), 63);
    pieces.Update(msg.data() + 63, 2);
    pieces.Update(msg.data() + 65, 70);
    pieces.Final();
    EXPECT_EQ(pieces.HexDigest(), whole);
}

TEST_P(Chunking, NonPositiveLengthsChangeNothing)
{
    const std::vector<unsigned char> msg = Pattern(70);
    CMD5Probe md5(Form());
    md5.Update(msg.data(), 70); // leaves 6 bytes waiting
    const CMD5Probe before = md5;

    for (int length : {0, -1, -64, -2147483647 - 1}) {
        md5.Update(msg.data(), length);
        EXPECT_EQ(0, std::memcmp(md5.m_count, before.m_count, sizeof md5.m_count)) << length;
        EXPECT_EQ(0, std::memcmp(md5.m_state, before.m_state, sizeof md5.m_state)) << length;
        EXPECT_EQ(0, std::memcmp(md5.m_buffer, before.m_buffer, 6)) << length;
    }
    md5.Final();
    EXPECT_EQ(md5.HexDigest(), Digest(msg.data(), 70));
}

TEST_P(BitCount, LowWordCarriesIntoHighWord)
{
    // 2^32 - 8 bits counted so far, block-aligned; one more byte carries.
    CMD5Probe md5(Form());
    md5.m_count[0] = 0xFFFFFFF8u;
    md5.m_count[1] = 0;
    md5.Update(Bytes("x"), 1);
    EXPECT_EQ(md5.m_count[0], 0u);
    EXPECT_EQ(md5.m_count[1], 1u);
}

TEST_P(BitCount, HalfGibibyteMessageMatchesMd5sum)
{
    // 8192 feeds of one 64 KiB buffer, then its first 5 bytes: 2^32 bits and
    // 40 more. The digest was made once with md5sum:
    //   python3 -c 'import sys; b = bytes(i % 251 for i in range(65536));
    //     [sys.stdout.buffer.write(b) for _ in range(8192)];
    //     sys.stdout.buffer.write(b[:5])' | md5sum
    const std::vector<unsigned char> buffer = Pattern(65536);
    CMD5Probe md5(Form());
    for (int i = 0; i < 8192; i++)
        md5.Update(buffer.data(), 65536);
    md5.Update(buffer.data(), 5);
    EXPECT_EQ(md5.m_count[0], 40u);
    EXPECT_EQ(md5.m_count[1], 1u);
    md5.Final();
    EXPECT_STREQ(md5.HexDigest(), "6081a0bdb9508f62055eefdf8858d8d6");
}

TEST_P(HexText, ExtremeBytesAndLength)
{
    // Digests that begin with the bytes 0x00 and 0xff (printf 168 | md5sum,
    // printf 373 | md5sum): no dropped zero, no sign extension.
    EXPECT_EQ(Digest("168"), "006f52e9102a8d3be2fe5614f42ba989");
    EXPECT_EQ(Digest("373"), "ffd52f3c7e12435a724a8f30fddadd9c");
    for (int i = 0; i < 1000; i++) {
        const std::string d = Digest(std::to_string(i));
        ASSERT_EQ(d.size(), 32u);
        ASSERT_EQ(d.find_first_not_of("0123456789abcdef"), std::string::npos) << d;
    }
}

// A context made without a form uses the chosen one.
TEST(HexTextOfChosenForm, PointerStaysValidUntilNextCall)
{
    CMD5 md5;
    md5.Update(Bytes("abc"), 3);
    md5.Final();
    const char* first = md5.HexDigest();
    EXPECT_STREQ(first, "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_STREQ(md5.HexDigest(), "900150983cd24fb0d6963f7d28e17f72");
}

#ifdef SUMWISE_HAVE_OPENSSL
TEST_P(AgainstOpenSsl, RandomMessagesInRandomChunks)
{
    std::mt19937 rng(20261207);
    for (int round = 0; round < 300; round++) {
        std::vector<unsigned char> msg(rng() % 5000);
        for (unsigned char& c : msg)
            c = static_cast<unsigned char>(rng());

        unsigned char ref[MD5_DIGEST_LENGTH];
        MD5(msg.data(), msg.size(), ref);
        char hex[33];
        for (int i = 0; i < 16; i++)
            std::snprintf(hex + 2 * i, 3, "%02x", ref[i]);

        CMD5 md5(Form());
        size_t at = 0;
        while (at < msg.size()) {
            size_t n = std::min<size_t>(msg.size() - at, rng() % 200);
            md5.Update(msg.data() + at, static_cast<int>(n));
            at += n;
        }
        md5.Final();
        ASSERT_STREQ(md5.HexDigest(), hex) << "round " << round << ", " << msg.size() << " bytes";
    }
}
#endif

// Timings in microseconds like those of two processors with AVX-512: one
// where the portable form is faster, one where the AVX-512 form is.
TEST(FormChoice, FastestRoundOfEachFormDecides)
{
    const double X = -1; // not timed: the form cannot run here
    enum { ROUNDS = 5 };
    struct Case { const char* what; double seconds[ROUNDS][CMD5::FORMS]; CMD5::Form want; };
    const Case cases[] = {
        {"AMD EPYC family 26", {{11.7, 20.9}, {11.6, 20.8}, {11.8, 20.8}, {11.6, 21.0}, {11.7, 20.9}}, CMD5::PORTABLE},
        {"Intel Xeon", {{12.6, 11.5}, {12.7, 11.4}, {12.6, 11.5}, {12.8, 11.5}, {12.6, 11.6}}, CMD5::AVX512},
        // An interrupt in one round: a mean would pick the slower form.
        {"AMD, one slow round", {{11.7, 20.9}, {95.0, 20.8}, {11.8, 20.8}, {11.6, 21.0}, {11.7, 20.9}}, CMD5::PORTABLE},
        {"Intel, one slow round", {{12.6, 60.2}, {12.7, 11.4}, {12.6, 11.5}, {12.8, 11.5}, {12.6, 11.6}}, CMD5::AVX512},
        {"no AVX-512", {{11.7, X}, {11.6, X}, {11.8, X}, {11.6, X}, {11.7, X}}, CMD5::PORTABLE},
        {"a tie", {{11.7, 11.7}, {11.7, 11.7}, {11.7, 11.7}, {11.7, 11.7}, {11.7, 11.7}}, CMD5::PORTABLE},
        // A busy processor can bring the forms level: a small lead is not enough.
        {"AVX-512 ahead by 3 %", {{11.7, 11.4}, {11.7, 11.4}, {11.8, 11.3}, {11.7, 11.4}, {11.7, 11.4}}, CMD5::PORTABLE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Md5ChooseForm(c.seconds, ROUNDS), c.want) << c.what;

    EXPECT_TRUE(CMD5::CanRun(Md5ChosenForm()));
    EXPECT_EQ(CMD5Probe().m_form, Md5ChosenForm());
    std::printf("chosen form here: %s\n", Md5FormName(Md5ChosenForm()));
}

namespace {

// A stand-in for the clock, in microseconds: each form's first timing and
// every later one.
struct FakeTimings { const char* what; double first[CMD5::FORMS], then[CMD5::FORMS]; CMD5::Form want; };
const FakeTimings* g_fake;
int g_calls[CMD5::FORMS];

double FakeSeconds(CMD5::Form f) { return 1e-6 * (g_calls[f]++ ? g_fake->then[f] : g_fake->first[f]); }

} // namespace

// Each form's timings must reach the choice as that form's, and the untimed
// pass must not count: in the last case it alone would pick the slower form.
TEST(FormChoice, MeasureFilesEachTimingUnderItsForm)
{
    const FakeTimings cases[] = {
        {"AVX-512 faster", {90.0, 90.0}, {12.6, 11.4}, CMD5::AVX512},
        {"portable faster", {90.0, 90.0}, {11.7, 20.9}, CMD5::PORTABLE},
        {"untimed pass of the slower form fastest", {11.0, 1.0}, {11.7, 20.9}, CMD5::PORTABLE},
    };
    for (const FakeTimings& c : cases) {
        g_fake = &c;
        for (int& n : g_calls)
            n = 0;
        EXPECT_EQ(Md5MeasureForms(FakeSeconds, [] {}), c.want) << c.what;
        for (int n : g_calls)
            EXPECT_EQ(n, 2 * (1 + kMd5ChooseRounds)) << c.what;
    }
}

namespace {

// Each form's timings in microseconds in the first measurement and in the
// second, and the calls of each form when the pause came.
struct TwoTimings { const char* what; double first[CMD5::FORMS], second[CMD5::FORMS]; CMD5::Form want; };
const TwoTimings* g_two;
int g_pauses, g_callsAtPause[CMD5::FORMS];

double TwoSeconds(CMD5::Form f)
{
    const bool bFirst = g_calls[f]++ < 1 + kMd5ChooseRounds;
    return 1e-6 * (bFirst ? g_two->first[f] : g_two->second[f]);
}

void CountPause()
{
    g_pauses++;
    std::copy(g_calls, g_calls + CMD5::FORMS, g_callsAtPause);
}

} // namespace

// The pause comes between the two measurements, and each form's fastest
// round of both decides: a form slowed for one measurement is not lost.
TEST(FormChoice, TwoMeasurementsAPauseApartDecideTogether)
{
    const TwoTimings cases[] = {
        {"AVX-512 faster both times", {12.6, 11.4}, {12.6, 11.4}, CMD5::AVX512},
        {"portable faster both times", {11.7, 20.9}, {11.7, 20.9}, CMD5::PORTABLE},
        {"portable slowed for the first", {16.0, 11.2}, {10.0, 11.2}, CMD5::PORTABLE},
        {"AVX-512 slowed for the first", {12.6, 19.0}, {12.6, 11.4}, CMD5::AVX512},
        {"AVX-512 slowed for the second", {12.6, 11.4}, {12.6, 19.0}, CMD5::AVX512},
        {"AVX-512 ahead by 4 % once both count", {12.0, 11.0}, {11.4, 11.0}, CMD5::PORTABLE},
    };
    for (const TwoTimings& c : cases) {
        g_two = &c;
        g_pauses = 0;
        for (int f = 0; f < CMD5::FORMS; f++)
            g_calls[f] = g_callsAtPause[f] = 0;
        EXPECT_EQ(Md5MeasureForms(TwoSeconds, CountPause), c.want) << c.what;
        EXPECT_EQ(g_pauses, 1) << c.what;
        for (int f = 0; f < CMD5::FORMS; f++)
            EXPECT_EQ(g_callsAtPause[f], 1 + kMd5ChooseRounds) << c.what << ": the pause between the two";
    }
}

// What counts as a copied MD5, at every boundary of a run: its length, the
// character either side, the edge of the part searched, and letters beyond
// ASCII as the caller's tables tell them.
TEST(CopiedMd5, RunsOfExactly32HexDigitsWithNoLetterOrDigitBeside)
{
    const std::u16string fox = u"9e107d9d372bb6826bd81d3542a419d6", abc = u"900150983cd24fb0d6963f7d28e17f72";
    const std::u16string sha256 = u"d7a8fbb307d7809469ca9abcb0082e4f8d5651e46d3cdb762d02d0bf37c9e592";
    const std::u16string upper = u"9E107D9D372BB6826BD81D3542A419D6";
    const std::u16string edgeAt(kCopiedMd5MaxChars - 32, u' ');    // a run after it ends at the edge
    const CopiedMd5 NONE = CopiedMd5::NONE, MATCHES = CopiedMd5::MATCHES, DIFFERS = CopiedMd5::DOES_NOT_MATCH;
    const struct { const char* what; std::u16string text; CopiedMd5 want; } cases[] = {
        { "empty", u"", NONE },
        { "text with no digest", u"The quick brown fox jumps over the lazy dog", NONE },
        { "the digest alone", fox, MATCHES },
        { "upper case with a label", u"MD5: " + upper, MATCHES },
        { "mixed case", u"9E107d9D372bb6826BD81D3542A419d6", MATCHES },
        { "an md5sum line", fox + u"  fox.txt\n", MATCHES },
        { "certutil's output", u"MD5 hash of fox.txt:\r\n" + fox +
                               u"\r\nCertUtil: -hashfile command completed successfully.\r\n", MATCHES },
        { "a list, the last one matching", abc + u"  abc.txt\n" + abc + u"  b\n" + fox + u"  fox.txt\n", MATCHES },
        { "a list, none matching", abc + u"  abc.txt\n" + abc + u"  b.txt\n", DIFFERS },
        { "another MD5", abc, DIFFERS },
        { "only a SHA-256", sha256, NONE },
        { "only a SHA-1", u"2fd4e1c67a2d28fced849ee1bb76e7391b93eb12", NONE },
        { "31 digits", fox.substr(1), NONE },
        { "33 digits", fox + u"0", NONE },
        { "33 digits the other way", u"0" + fox, NONE },
        { "a letter before", u"x" + fox, NONE },
        { "a letter after", fox + u"g", NONE },
        { "upper-case letters beside", u"Z" + fox + u"Z", NONE },
        { "punctuation beside", u"(" + fox + u")", MATCHES },
        { "an underscore beside", u"md5_" + fox, MATCHES },
        { "a letter beyond ASCII before", u"\u00e9" + fox, NONE },
        { "a digit beyond ASCII after", fox + u"\u0663", NONE },
        { "a no-break space and a full-width colon beside", u"MD5\uff1a\u00a0" + fox + u"\u00a0", MATCHES },
        { "ending at the edge", edgeAt + fox, MATCHES },
        { "ending at the edge, a space past it", edgeAt + fox + u" ", MATCHES },
        { "ending at the edge, a digit past it", edgeAt + fox + u"0", NONE },
        { "ending at the edge, a letter past it", edgeAt + fox + u"z", NONE },
        { "ending one past the edge", edgeAt + u" " + fox, NONE },
        { "a match past the edge after another MD5", abc + edgeAt + fox, DIFFERS },
    };
    // Beyond ASCII the caller's tables decide; here, two characters.
    const IsLetterOrDigitFn tables = [](char16_t ch) { return ch == u'\u00e9' || ch == u'\u0663'; };
    for (const auto& c : cases) {
        EXPECT_EQ(CompareWithCopiedMd5(c.text.data(), c.text.size(), "9e107d9d372bb6826bd81d3542a419d6", tables),
                  c.want) << c.what;
    }
    // Without tables no character beyond ASCII is a letter or a digit.
    const std::u16string accented = u"\u00e9" + fox;
    EXPECT_EQ(CompareWithCopiedMd5(accented.data(), accented.size(), "9e107d9d372bb6826bd81d3542a419d6", nullptr),
              MATCHES);
}

INSTANTIATE_TEST_SUITE_P(Form, KnownAnswers, ::testing::Range(0, int(CMD5::FORMS)), FormName);
INSTANTIATE_TEST_SUITE_P(Form, Chunking, ::testing::Range(0, int(CMD5::FORMS)), FormName);
INSTANTIATE_TEST_SUITE_P(Form, BitCount, ::testing::Range(0, int(CMD5::FORMS)), FormName);
INSTANTIATE_TEST_SUITE_P(Form, HexText, ::testing::Range(0, int(CMD5::FORMS)), FormName);
#ifdef SUMWISE_HAVE_OPENSSL
INSTANTIATE_TEST_SUITE_P(Form, AgainstOpenSsl, ::testing::Range(0, int(CMD5::FORMS)), FormName);
#else
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(AgainstOpenSsl);
#endif
