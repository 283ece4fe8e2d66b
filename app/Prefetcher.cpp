// SPDX-License-Identifier: MIT
#include "Prefetcher.h"

#include <algorithm>
#include <chrono>
#include <system_error>

Prefetcher::~Prefetcher()
{
    Clear();
    {
        const std::lock_guard<std::mutex> hold(m_lock);
        m_quit = true;
    }
    m_wake.notify_one();
    if (m_worker.joinable())
        m_worker.join();
}

void Prefetcher::Work()
{
    for (;;) {
        std::shared_ptr<Entry> entry;
        {
            std::unique_lock<std::mutex> hold(m_lock);
            m_wake.wait(hold, [this] { return m_quit || !m_queue.empty(); });
            if (m_queue.empty())
                return;
            entry = std::move(m_queue.front());
            m_queue.pop_front();
            m_current = entry->Done;
        }
        if (!entry->Watch.Cancel) {
            DataFileReaderHooks hooks;
            hooks.Watch = &entry->Watch;
            // One part: the other core is the window's.
            hooks.ReadParts = 1;
            hooks.Alloc = [](int rows, std::size_t n) -> TablePtr {
                if (n > kPrefetchTableBytes / sizeof(float) / static_cast<std::size_t>(std::max(rows, 1)))
                    return nullptr;
                return AllocTable(rows, n);
            };
            entry->Read = ReadDataFile(entry->Inputs, entry->Name, hooks);
        }
        entry->Finished.set_value();
    }
}

void Prefetcher::Start(const std::vector<std::string>& names, const LoadInputs& inputs)
{
    const auto wanted = names.begin() + static_cast<std::ptrdiff_t>(std::min(names.size(), kPrefetchFiles));
    std::erase_if(m_entries, [&](const std::shared_ptr<Entry>& entry) {
        if (entry->Inputs == inputs && std::find(names.begin(), wanted, entry->Name) != wanted)
            return false;
        entry->Watch.Cancel = true;   // the worker still holds it and lets it go
        return true;
    });
    if (!m_worker.joinable()) {
        try {
            m_worker = std::thread([this] { Work(); });
        } catch (const std::system_error&) {
            return;   // no thread to be had: the neighbours are read when stepped to
        }
    }
    std::vector<std::shared_ptr<Entry>> batch;
    for (auto name = names.begin(); name != wanted; ++name) {
        const bool held = std::any_of(m_entries.begin(), m_entries.end(),
                                      [&name](const std::shared_ptr<Entry>& entry) { return entry->Name == *name; });
        if (name->empty() || held)
            continue;
        auto entry = std::make_shared<Entry>();
        entry->Name = *name;
        entry->Inputs = inputs;
        m_entries.push_back(entry);
        batch.push_back(std::move(entry));
    }
    if (batch.empty())
        return;
    {
        const std::lock_guard<std::mutex> hold(m_lock);
        // Reads cancelled before the worker came to them are dropped unread.
        std::erase_if(m_queue, [](const std::shared_ptr<Entry>& entry) { return entry->Watch.Cancel.load(); });
        m_queue.insert(m_queue.end(), batch.begin(), batch.end());
    }
    m_wake.notify_one();
}

std::optional<PreparedLoad> Prefetcher::Take(const std::string& name, const LoadInputs& inputs, bool wait)
{
    const auto found = std::find_if(m_entries.begin(), m_entries.end(),
                                    [&name](const std::shared_ptr<Entry>& entry) { return entry->Name == name; });
    if (found == m_entries.end())
        return std::nullopt;
    const std::shared_ptr<Entry> entry = *found;
    m_entries.erase(found);
    if (!wait && entry->Done.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
        entry->Watch.Cancel = true;   // the worker lets it go, or drops it unread
        return std::nullopt;
    }
    entry->Done.wait();
    PreparedLoad& read = entry->Read;
    if (!read.Result || !read.Steady || !(entry->Inputs == inputs) || !(StampOf(name) == read.Result.Stamp))
        return std::nullopt;
    return std::move(read);
}

void Prefetcher::Clear()
{
    for (const std::shared_ptr<Entry>& entry : m_entries)
        entry->Watch.Cancel = true;
    m_entries.clear();
    std::shared_future<void> current;
    {
        const std::lock_guard<std::mutex> hold(m_lock);
        m_queue.clear();
        current = m_current;
    }
    // The read under way, cancelled, ends at its next block.
    if (current.valid())
        current.wait();
}
