// SPDX-License-Identifier: MIT
// LoadDataFile on the million-line, four-column file, against a baseline run
// in the same process: two plain passes over the same bytes that count the
// lines and convert four floats per line with std::from_chars. Prints the
// ratio of the two and the peak resident memory against the table + 32 MB.
#include "DataFileReader.h"
#include "PlainControls.h"
#include "ReaderDataGenerator.h"

#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

std::string g_path;
std::size_t g_fileBytes = 0;
constexpr int kLines = 1'000'000;

struct BaselineResult {
    std::size_t Lines = 0;
    double Sum = 0;
};

// One pass: 1 MiB reads, lines found with memchr, four from_chars per line.
BaselineResult BaselinePass(int fd)
{
    constexpr std::size_t kBlock = std::size_t(1) << 20;
    static std::unique_ptr<char[]> buffer(new char[kBlock + 4096]);
    BaselineResult result;
    ::lseek(fd, 0, SEEK_SET);
    std::size_t carried = 0;
    for (;;) {
        const ssize_t got = ::read(fd, buffer.get() + carried, kBlock);
        if (got <= 0)
            break;
        const char* p = buffer.get();
        const char* end = p + carried + static_cast<std::size_t>(got);
        for (;;) {
            const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
            if (!lf)
                break;
            if ((*p >= '0' && *p <= '9') || *p == '-') {
                const char* q = p;
                for (int k = 0; k < 4; ++k) {
                    while (q < lf && *q == ' ')
                        ++q;
                    float v = 0;
                    q = std::from_chars(q, lf, v).ptr;
                    result.Sum += v;
                }
                ++result.Lines;
            }
            p = lf + 1;
        }
        carried = static_cast<std::size_t>(end - p);
        std::memmove(buffer.get(), p, carried);
    }
    return result;
}

void BM_Baseline(benchmark::State& state)
{
    for (auto _ : state) {
        const int fd = ::open(g_path.c_str(), O_RDONLY | O_CLOEXEC);
        const BaselineResult first = BaselinePass(fd);
        const BaselineResult second = BaselinePass(fd);
        ::close(fd);
        benchmark::DoNotOptimize(first.Sum + second.Sum);
        if (first.Lines != kLines || second.Lines != kLines)
            state.SkipWithError("baseline miscounted the lines");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * g_fileBytes));
}

void BM_LoadDataFile(benchmark::State& state)
{
    for (auto _ : state) {
        PlotState plot;
        PlainControls controls;
        plot.Controls = &controls;
        const LoadResult result = LoadDataFile(plot, g_path);
        if (!result.Ok || plot.Traces[0].Points != std::size_t(kLines))
            state.SkipWithError("LoadDataFile failed");
        benchmark::DoNotOptimize(plot.Traces[0].Max[1]);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * g_fileBytes));
}

BENCHMARK(BM_Baseline)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_LoadDataFile)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

struct Timing {
    double RealNs = 0;
    double CpuNs = 0;
};

// Console output plus the times per iteration of each benchmark (of its last
// repetition). CPU time is reported beside real time because a busy shared
// machine stretches the real time of both runs unevenly.
class CapturingReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, Timing> Times;

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && run.iterations > 0)
                Times[run.benchmark_name()] = {run.real_accumulated_time * 1e9 / double(run.iterations),
                                               run.cpu_accumulated_time * 1e9 / double(run.iterations)};
    }
};

}   // namespace

int main(int argc, char** argv)
{
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/tracely-bench-reader-XXXXXX";
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    g_path = pattern + "/million.dat";
    if (!WriteReaderBenchFile(g_path, kLines)) {
        std::fprintf(stderr, "cannot write %s\n", g_path.c_str());
        return 1;
    }
    g_fileBytes = std::filesystem::file_size(g_path);
    const long rssBefore = PeakRssKiB();

    benchmark::Initialize(&argc, argv);
    CapturingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    Timing base;
    Timing load;
    for (const auto& [name, timing] : reporter.Times) {
        if (name.starts_with("BM_Baseline"))
            base = timing;
        else if (name.starts_with("BM_LoadDataFile"))
            load = timing;
    }
    const double megabytes = static_cast<double>(g_fileBytes) / 1e6;
    if (base.RealNs > 0 && load.RealNs > 0) {
        std::printf("\nfile: %.1f MB, %d data lines\n", megabytes, kLines);
        std::printf("%-34s %9s %8s %9s %8s\n", "", "real ms", "MB/s", "cpu ms", "MB/s");
        auto row = [&](const char* label, const Timing& t) {
            std::printf("%-34s %9.1f %8.0f %9.1f %8.0f\n", label, t.RealNs / 1e6, megabytes / (t.RealNs / 1e9),
                        t.CpuNs / 1e6, megabytes / (t.CpuNs / 1e9));
        };
        row("baseline (two from_chars passes)", base);
        row("LoadDataFile", load);
        std::printf("ratio LoadDataFile / baseline: real %.2f, cpu %.2f (target <= 1.0)\n", load.RealNs / base.RealNs,
                    load.CpuNs / base.CpuNs);
    }
    const double tableMiB = 4.0 * 4.0 * kLines / (1 << 20);
    std::printf("peak RSS: %.1f MiB (%.1f MiB before the runs); table %.1f MiB, limit table + 32 = %.1f MiB\n",
                double(PeakRssKiB()) / 1024.0, double(rssBefore) / 1024.0, tableMiB, tableMiB + 32);

    std::filesystem::remove_all(pattern);
    return 0;
}
