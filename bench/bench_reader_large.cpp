// SPDX-License-Identifier: MIT
// A 20,000,000-line, four-column file (about 840 MB) loaded with LoadDataFile
// and painted with DrawGraph, three Ys over the time column. Reports the load
// and the paint time per run and the process's peak resident memory against
// the table + 32 MiB: the reader streams the file through one fixed buffer,
// so nothing but the table should grow with the file.
#include "DataFileReader.h"
#include "GraphPainter.h"
#include "PlainControls.h"
#include "ReaderDataGenerator.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int kLines = 20'000'000;
constexpr int kClientWidth = 383;
constexpr int kClientHeight = 431;

std::string g_path;
double g_loadMs = 0;
double g_paintMs = 0;

double MillisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void BM_LoadAndPaint(benchmark::State& bench)
{
    std::vector<std::uint32_t> pixels(kClientWidth * kClientHeight);
    RasterCanvas canvas{PixelBuffer{pixels.data(), kClientWidth, kClientHeight, kClientWidth}};
    double loadMs = 0;
    double paintMs = 0;
    for (auto _ : bench) {
        // One state per run, gone before the next: only one table is ever held.
        PlainControls controls;
        PlotState plot;
        plot.Controls = &controls;
        plot.AutoDet = true;   // the four columns become X, Y1..Y3

        const auto start = std::chrono::steady_clock::now();
        const LoadResult result = LoadDataFile(plot, g_path);
        loadMs += MillisecondsSince(start);
        // The reader returns its column choice; the window shows it, and the
        // painter then draws as many Ys as the choice selects.
        controls.YsItem = result.Columns.YsItem;
        if (!result.Ok || plot.Traces[0].Points != std::size_t(kLines) || controls.YsItem != 2) {
            bench.SkipWithError(result.Ok ? "wrong point count or Ys" : result.Message.c_str());
            break;
        }

        const auto paintStart = std::chrono::steady_clock::now();
        DrawGraph(plot, canvas);
        paintMs += MillisecondsSince(paintStart);
        benchmark::DoNotOptimize(pixels.data());
    }
    if (bench.iterations() > 0) {
        g_loadMs = loadMs / double(bench.iterations());
        g_paintMs = paintMs / double(bench.iterations());
        bench.counters["load_ms"] = g_loadMs;
        bench.counters["paint_ms"] = g_paintMs;
    }
}

// Each run reads 840 MB twice; three runs are plenty and keep the program short.
BENCHMARK(BM_LoadAndPaint)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

}   // namespace

int main(int argc, char** argv)
{
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/tracely-bench-large-XXXXXX";
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    g_path = pattern + "/twenty-million.dat";
    if (!WriteReaderBenchFile(g_path, kLines)) {
        std::fprintf(stderr, "cannot write %s\n", g_path.c_str());
        std::filesystem::remove_all(pattern);
        return 1;
    }
    const double megabytes = static_cast<double>(std::filesystem::file_size(g_path)) / 1e6;
    const long rssBefore = PeakRssKiB();

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    const double tableMiB = 4.0 * 4.0 * kLines / (1 << 20);
    const double peakMiB = double(PeakRssKiB()) / 1024.0;
    std::printf("\nfile: %.1f MB, %d data lines\n", megabytes, kLines);
    std::printf("per run: load %.0f ms, paint %.0f ms, together %.0f ms\n", g_loadMs, g_paintMs, g_loadMs + g_paintMs);
    std::printf("peak RSS: %.1f MiB (%.1f MiB before the runs); table %.1f MiB, limit table + 32 = %.1f MiB: %s\n",
                peakMiB, double(rssBefore) / 1024.0, tableMiB, tableMiB + 32,
                peakMiB <= tableMiB + 32 ? "within" : "OVER");

    std::filesystem::remove_all(pattern);
    return 0;
}
