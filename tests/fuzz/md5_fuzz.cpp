// libFuzzer target for CMD5. The input is a chunking plan and a message:
//   byte 0        k = byte 0 % 8, the number of plan bytes that follow
//   bytes 1..k    chunk lengths 0..255, used in turn until the message ends;
//                 0 also feeds a zero and a negative length, which must be
//                 ignored
//   the rest      the message
// In every form of the compression function this processor can run, the
// digests of the chunked feed and of the one-shot feed must equal OpenSSL's
// (and so the portable form's). Every chunk is copied into a heap block of exactly its length,
// so AddressSanitizer reports any read past what Update was given.
#include "digest/md5.h"
#include "digest/md5_forms.h"

#include <openssl/evp.h>

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

std::string Hex(const unsigned char* digest)
{
    static const char kDigits[] = "0123456789abcdef";
    std::string s;
    for (int i = 0; i < 16; i++) {
        s += kDigits[digest[i] >> 4];
        s += kDigits[digest[i] & 15];
    }
    return s;
}

void Feed(CMD5& md5, const uint8_t* p, size_t n)
{
    std::unique_ptr<unsigned char[]> copy(new unsigned char[n]);
    if (n > 0)
        std::memcpy(copy.get(), p, n);
    md5.Update(copy.get(), static_cast<int>(n));
    if (n == 0)
        md5.Update(copy.get(), INT_MIN);
}

void Expect(const std::string& got, const std::string& want, const char* what, CMD5::Form form)
{
    if (got != want) {
        std::fprintf(stderr, "%s, %s form: %s, expected %s\n", what, Md5FormName(form), got.c_str(),
                     want.c_str());
        std::abort();
    }
}

} // namespace

// Every chunk is its own allocation, so ASan's default 256 MB quarantine
// pushes the fuzzer past 1 GB of RSS on this shared machine; 32 MB keeps it
// near 200 MB. The engine allocates nothing, so use-after-free detection
// loses nothing that matters here.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=32"; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const size_t k = size > 0 ? data[0] % 8 : 0;
    if (size < 1 + k)
        return 0;
    const uint8_t* plan = data + 1;
    const uint8_t* msg = data + 1 + k;
    const size_t len = size - 1 - k;

    unsigned char ref[EVP_MAX_MD_SIZE];
    unsigned int refLen = 0;
    if (!EVP_Digest(msg, len, ref, &refLen, EVP_md5(), nullptr) || refLen != 16)
        std::abort();
    const std::string want = Hex(ref);

    for (int f = 0; f < CMD5::FORMS; f++) {
        const CMD5::Form form = static_cast<CMD5::Form>(f);
        if (!CMD5::CanRun(form))
            continue;
        CMD5 chunked(form);
        size_t done = 0;
        for (size_t i = 0; done < len; i++) {
            size_t n = k > 0 ? plan[i % k] : len;
            if (n > len - done)
                n = len - done;
            Feed(chunked, msg + done, n);
            done += n;
            // A plan of nothing but zeros would never advance.
            if (i >= k && done == 0)
                break;
        }
        if (done < len)
            Feed(chunked, msg + done, len - done);
        chunked.Final();

        CMD5 whole(form);
        Feed(whole, msg, len);
        whole.Final();

        Expect(whole.HexDigest(), want, "one-shot digest", form);
        Expect(chunked.HexDigest(), want, "chunked digest", form);
    }
    return 0;
}
