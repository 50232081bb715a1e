// CMD5 against OpenSSL's MD5, measured side by side in the same run, in
// every form of the compression function this processor can run. Each
// benchmark hashes one whole message per iteration (fresh context, Update,
// Final) for 64 B, 1 KiB, 16 KiB and 1 MiB messages. Repetitions are
// interleaved at random so that all peers see the same machine state; the
// table at the end gives min/median/max MB/s and the median ratio, and the
// form that the process's first context chose, with what choosing took.
#include "digest/md5.h"
#include "digest/md5_forms.h"

#include <benchmark/benchmark.h>
#include <openssl/md5.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

std::vector<unsigned char> Message(size_t n)
{
    std::vector<unsigned char> v(n);
    for (size_t i = 0; i < n; i++)
        v[i] = static_cast<unsigned char>(i * 131 + 7);
    return v;
}

void BM_CMD5(benchmark::State& state, CMD5::Form form)
{
    const std::vector<unsigned char> msg = Message(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        CMD5 md5(form);
        md5.Update(msg.data(), static_cast<int>(msg.size()));
        md5.Final();
        benchmark::DoNotOptimize(md5);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}

void BM_OpenSSL(benchmark::State& state)
{
    const std::vector<unsigned char> msg = Message(static_cast<size_t>(state.range(0)));
    unsigned char digest[MD5_DIGEST_LENGTH];
    for (auto _ : state) {
        MD5_CTX ctx;
        MD5_Init(&ctx);
        MD5_Update(&ctx, msg.data(), msg.size());
        MD5_Final(digest, &ctx);
        benchmark::DoNotOptimize(digest);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}

const char kOpenSSL[] = "OpenSSL";

// Keeps each repetition's throughput, keyed by message size and peer (a
// form's name, or OpenSSL).
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    using ConsoleReporter::ConsoleReporter;

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration)
                continue;
            const std::string name = run.run_name.function_name;
            // Registered as "<peer>/<size>": the peer is the function name.
            const long size = std::stol(run.run_name.args);
            auto it = run.counters.find("bytes_per_second");
            if (it != run.counters.end())
                m_rates[size][name].push_back(it->second / 1e6);
        }
    }

    void PrintRatios() const
    {
        std::printf("\n%-9s %-9s %28s %28s %20s\n", "bytes", "form", "CMD5 MB/s (min/med/max)",
                    "OpenSSL MB/s (min/med/max)", "CMD5/OpenSSL (med)");
        for (const auto& [size, peers] : m_rates) {
            auto o = Stats(peers, kOpenSSL);
            for (const auto& [name, rates] : peers) {
                if (name == kOpenSSL)
                    continue;
                auto c = Stats(peers, name);
                std::printf("%-9ld %-9s %8.0f %8.0f %8.0f    %8.0f %8.0f %8.0f %20.3f\n", size,
                            name.c_str(), c[0], c[1], c[2], o[0], o[1], o[2], o[1] > 0 ? c[1] / o[1] : 0.0);
            }
        }
    }

private:
    static std::vector<double> Stats(const std::map<std::string, std::vector<double>>& peers,
                                     const std::string& name)
    {
        auto it = peers.find(name);
        if (it == peers.end() || it->second.empty())
            return {0, 0, 0};
        std::vector<double> v = it->second;
        std::sort(v.begin(), v.end());
        return {v.front(), v[v.size() / 2], v.back()};
    }

    std::map<long, std::map<std::string, std::vector<double>>> m_rates;
};

} // namespace

int main(int argc, char** argv)
{
    // The first context of the process times the forms: that is the cost.
    const auto start = std::chrono::steady_clock::now();
    const CMD5::Form chosen = Md5ChosenForm();
    const double chooseSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    const long sizes[] = {64, 1 << 10, 16 << 10, 1 << 20};
    for (int f = 0; f < CMD5::FORMS; f++) {
        const CMD5::Form form = static_cast<CMD5::Form>(f);
        if (CMD5::CanRun(form))
            for (long size : sizes)
                benchmark::RegisterBenchmark(Md5FormName(form), BM_CMD5, form)->Arg(size);
    }
    for (long size : sizes)
        benchmark::RegisterBenchmark(kOpenSSL, BM_OpenSSL)->Arg(size);

    // Defaults: 7 interleaved repetitions; the command line may override.
    std::vector<char*> args(argv, argv + argc);
    std::string reps = "--benchmark_repetitions=7";
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    std::string mintime = "--benchmark_min_time=0.2";
    args.insert(args.begin() + 1, {reps.data(), interleave.data(), mintime.data()});
    int n = static_cast<int>(args.size());
    benchmark::Initialize(&n, args.data());
    // Colours only on a terminal: bench/run.sh keeps a copy of the table.
    RatioReporter reporter(isatty(STDOUT_FILENO) ? RatioReporter::OO_ColorTabular : RatioReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    std::printf("chosen form: %s, chosen in %.0f us\n", Md5FormName(chosen), chooseSeconds * 1e6);
    benchmark::Shutdown();
    return 0;
}
