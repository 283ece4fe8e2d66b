// SPDX-License-Identifier: MIT
// Reads the files a step is likely to go to next (the neighbours of the shown
// file) on a worker thread, one after the other, so that the step itself is a
// paint only and the window keeps a core of its own.
//
// A prefetched read is handed out only when it is provably what a load now
// would read: the same column inputs, a file that held still while it was
// read, and a file with the same stamp now (device, inode, size,
// modification and change times). Anything else is read again as usual.
//
// Memory is bounded: at most kPrefetchFiles reads are held, and a file whose
// table would pass kPrefetchTableBytes is not prefetched at all.
#pragma once

#include "DataFileReader.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

inline constexpr std::size_t kPrefetchFiles = 2;
inline constexpr std::size_t kPrefetchTableBytes = std::size_t(32) << 20;

class Prefetcher {
public:
    Prefetcher() = default;
    ~Prefetcher();
    Prefetcher(const Prefetcher&) = delete;
    Prefetcher& operator=(const Prefetcher&) = delete;

    // Reads these files (at most kPrefetchFiles, in this order) with these
    // inputs; reads of other files or with other inputs are cancelled and
    // dropped.
    void Start(const std::vector<std::string>& names, const LoadInputs& inputs);

    // The read of `name` when it can stand for a load now. One still running
    // is waited for, or with `wait` false cancelled. The read is given up
    // either way.
    std::optional<PreparedLoad> Take(const std::string& name, const LoadInputs& inputs, bool wait = true);

    // Cancels and drops every read; none is running when it returns.
    void Clear();

    // Reads held or running.
    std::size_t Size() const { return m_entries.size(); }

private:
    struct Entry {
        std::string Name;
        LoadInputs Inputs;
        ReadWatch Watch;
        PreparedLoad Read;
        std::promise<void> Finished;
        std::shared_future<void> Done = Finished.get_future().share();
    };
    // One thread reads for the whole life of the prefetcher, started with
    // the first read: a thread made at every step cost the window more
    // than the rest of handing the reads over.
    void Work();

    std::vector<std::shared_ptr<Entry>> m_entries;   // the window's view: held, queued or being read
    std::mutex m_lock;
    std::condition_variable m_wake;
    std::deque<std::shared_ptr<Entry>> m_queue;   // under m_lock
    std::shared_future<void> m_current;           // under m_lock: the read the worker took last
    bool m_quit = false;                          // under m_lock
    std::thread m_worker;
};
