// SPDX-License-Identifier: MIT
// Runs a numbered set of jobs on a few threads at once, each thread taking
// the next job not yet taken as soon as it is done with its last: a thread
// slowed by other work takes fewer of them instead of holding up the rest.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <exception>
#include <thread>
#include <vector>

// Runs work(0) .. work(n - 1), each once, on up to `threads` threads, the
// calling one among them. A thread that cannot be had leaves its share to
// the others. `work` must not throw.
template <typename Work> void RunEachOnThreads(std::size_t n, std::size_t threads, const Work& work)
{
    if (n == 0)
        return;
    std::atomic<std::size_t> next{0};
    auto take = [&] {
        for (std::size_t k = next++; k < n; k = next++)
            work(k);
    };
    const std::size_t helpers = std::min(n, std::max<std::size_t>(threads, 1)) - 1;
    std::vector<std::jthread> started;
    try {
        started.reserve(helpers);
        for (std::size_t t = 0; t < helpers; ++t)
            started.emplace_back(take);
    } catch (const std::exception&) {
        // No thread to be had (system_error), or no memory for one.
    }
    take();
}
