// SPDX-License-Identifier: MIT
#include "Prefetcher.h"

#include <algorithm>

Prefetcher::~Prefetcher()
{
    Clear();
}

void Prefetcher::JoinEndedWorkers()
{
    std::erase_if(m_workers, [](Worker& worker) {
        if (!worker.Ended->load())
            return false;
        worker.Thread.join();
        return true;
    });
}

void Prefetcher::Start(const std::vector<std::string>& names, const LoadInputs& inputs)
{
    JoinEndedWorkers();
    const auto wanted = names.begin() + static_cast<std::ptrdiff_t>(std::min(names.size(), kPrefetchFiles));
    std::erase_if(m_entries, [&](const std::shared_ptr<Entry>& entry) {
        if (entry->Inputs == inputs && std::find(names.begin(), wanted, entry->Name) != wanted)
            return false;
        entry->Watch.Cancel = true;   // the worker still holds it and lets it go
        return true;
    });
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
    Worker worker;
    worker.Thread = std::thread([batch = std::move(batch), ended = worker.Ended] {
        for (const std::shared_ptr<Entry>& entry : batch) {
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
        *ended = true;
    });
    m_workers.push_back(std::move(worker));
}

std::optional<PreparedLoad> Prefetcher::Take(const std::string& name, const LoadInputs& inputs)
{
    const auto found = std::find_if(m_entries.begin(), m_entries.end(),
                                    [&name](const std::shared_ptr<Entry>& entry) { return entry->Name == name; });
    if (found == m_entries.end())
        return std::nullopt;
    const std::shared_ptr<Entry> entry = *found;
    m_entries.erase(found);
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
    for (Worker& worker : m_workers)
        worker.Thread.join();
    m_workers.clear();
}
