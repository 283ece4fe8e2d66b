// SPDX-License-Identifier: MIT
// The reader benchmark's data file, the same bytes on every run: a comment
// line, a header line, then `lines` lines of four columns such as
// "1.234560e-03 2.345678 -0.123456 1.000000" (about 42 MB for a million).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include <sys/resource.h>

inline bool WriteReaderBenchFile(const std::string& path, int lines = 1'000'000)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    std::fputs("# Tracely reader benchmark: four columns\n", file);
    std::fputs("time ch1 ch2 ch3\n", file);
    std::uint64_t seed = 0x9E3779B97F4A7C15ull;
    auto next = [&seed] {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<double>(seed >> 11) / static_cast<double>(1ull << 53);
    };
    char line[128];
    for (int i = 0; i < lines; ++i) {
        const double x = (i + 1) * 1.23456e-6;
        const double y1 = 10.0 * next();
        const double y2 = 2.0 * next() - 1.0;
        const double y3 = 2.0 * next();
        const int n = std::snprintf(line, sizeof line, "%e %f %f %f\n", x, y1, y2, y3);
        std::fwrite(line, 1, static_cast<std::size_t>(n), file);
    }
    return std::fclose(file) == 0;
}

// The process's peak resident set so far, in KiB.
inline long PeakRssKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}
