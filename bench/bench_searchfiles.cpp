// SPDX-License-Identifier: MIT
// Listing a directory of 100,000 measurement files the way the main window
// does (".dat", files only, by name), against plain readdir loops over the
// same directory in the same run. The directory is made once and removed at
// the end.
#include "Searchfiles.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kFileCount = 100000;

std::string g_dir;

bool MakeDirectory()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "bench-searchfiles-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        return false;
    g_dir = pattern;
    // Nine in ten are data files; the rest carry other extensions, as a
    // measurement directory with notes and exports would.
    for (int i = 0; i < kFileCount; ++i) {
        char name[64];
        const char* ext = i % 10 == 9 ? (i % 20 == 9 ? ".txt" : ".csv") : ".dat";
        std::snprintf(name, sizeof name, "/run_%06d%s", (i * 7919) % kFileCount, ext);
        const int fd = open((g_dir + name).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0)
            return false;
        close(fd);
    }
    return true;
}

void BM_PlainReaddir(benchmark::State& state)
{
    for (auto _ : state) {
        std::vector<std::string> names;
        DIR* dir = opendir(g_dir.c_str());
        while (const dirent* entry = readdir(dir))
            names.emplace_back(entry->d_name);
        closedir(dir);
        benchmark::DoNotOptimize(names.data());
    }
}
BENCHMARK(BM_PlainReaddir)->Unit(benchmark::kMillisecond);

void BM_ReaddirAndStat(benchmark::State& state)
{
    for (auto _ : state) {
        std::vector<std::string> names;
        off_t total = 0;
        DIR* dir = opendir(g_dir.c_str());
        while (const dirent* entry = readdir(dir)) {
            struct stat st;
            if (fstatat(dirfd(dir), entry->d_name, &st, 0) == 0)
                total += st.st_size;
            names.emplace_back(entry->d_name);
        }
        closedir(dir);
        benchmark::DoNotOptimize(total);
        benchmark::DoNotOptimize(names.data());
    }
}
BENCHMARK(BM_ReaddirAndStat)->Unit(benchmark::kMillisecond);

void ExecuteListing(benchmark::State& state, TSortStyle order)
{
    TSearchFiles files;
    files.DispFile = dfFile;
    files.ExtFilter = ".dat";
    files.SortStyle = order;
    for (auto _ : state) {
        files.Execute(g_dir);
        benchmark::DoNotOptimize(files.Count());
    }
    state.counters["entries"] = files.Count();
}

void BM_ExecuteMainWindowListing(benchmark::State& state)
{
    ExecuteListing(state, ssNameSmall);
}
BENCHMARK(BM_ExecuteMainWindowListing)->Unit(benchmark::kMillisecond);

// Sorting by date needs every entry's write time, so every entry is looked up.
void BM_ExecuteByDate(benchmark::State& state)
{
    ExecuteListing(state, ssDateSmall);
}
BENCHMARK(BM_ExecuteByDate)->Unit(benchmark::kMillisecond);

}   // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    const bool made = MakeDirectory();
    if (made)
        benchmark::RunSpecifiedBenchmarks();
    else
        std::fprintf(stderr, "cannot make the benchmark directory\n");
    if (!g_dir.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(g_dir, ignored);
    }
    benchmark::Shutdown();
    return made ? 0 : 1;
}
