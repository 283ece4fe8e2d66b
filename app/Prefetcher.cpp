// SPDX-License-Identifier: MIT
#include "Prefetcher.h"

#include <algorithm>

Prefetcher::~Prefetcher()
{
    Clear();
}

void Prefetcher::Finish(Entry& entry, bool cancel)
{
    if (cancel)
        entry.Watch.Cancel = true;
    if (entry.Worker.joinable())
        entry.Worker.join();
}

void Prefetcher::Start(const std::vector<std::string>& names, const LoadInputs& inputs)
{
    const std::size_t wanted = std::min(names.size(), kPrefetchFiles);
    auto isWanted = [&](const Entry& entry) {
        return entry.Inputs == inputs &&
            std::find(names.begin(), names.begin() + static_cast<std::ptrdiff_t>(wanted), entry.Name) !=
            names.begin() + static_cast<std::ptrdiff_t>(wanted);
    };
    std::erase_if(m_entries, [&](const std::unique_ptr<Entry>& entry) {
        if (isWanted(*entry))
            return false;
        Finish(*entry, true);
        return true;
    });
    for (std::size_t k = 0; k < wanted; ++k) {
        const std::string& name = names[k];
        const bool held = std::any_of(m_entries.begin(), m_entries.end(),
                                      [&name](const std::unique_ptr<Entry>& entry) { return entry->Name == name; });
        if (name.empty() || held)
            continue;
        auto entry = std::make_unique<Entry>();
        entry->Name = name;
        entry->Inputs = inputs;
        Entry* e = entry.get();
        e->Worker = std::thread([e] {
            DataFileReaderHooks hooks;
            hooks.Watch = &e->Watch;
            // One part: the other core is the window's.
            hooks.ReadParts = 1;
            hooks.Alloc = [](int rows, std::size_t n) -> TablePtr {
                if (n > kPrefetchTableBytes / sizeof(float) / static_cast<std::size_t>(std::max(rows, 1)))
                    return nullptr;
                return AllocTable(rows, n);
            };
            e->Read = ReadDataFile(e->Inputs, e->Name, hooks);
        });
        m_entries.push_back(std::move(entry));
    }
}

std::optional<PreparedLoad> Prefetcher::Take(const std::string& name, const LoadInputs& inputs)
{
    const auto found = std::find_if(m_entries.begin(), m_entries.end(),
                                    [&name](const std::unique_ptr<Entry>& entry) { return entry->Name == name; });
    if (found == m_entries.end())
        return std::nullopt;
    std::unique_ptr<Entry> entry = std::move(*found);
    m_entries.erase(found);
    Finish(*entry, false);
    PreparedLoad& read = entry->Read;
    if (!read.Result || !read.Steady || !(entry->Inputs == inputs) || !(StampOf(name) == read.Stamp))
        return std::nullopt;
    return std::move(read);
}

void Prefetcher::Clear()
{
    for (const std::unique_ptr<Entry>& entry : m_entries)
        Finish(*entry, true);
    m_entries.clear();
}
