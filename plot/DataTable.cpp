// SPDX-License-Identifier: MIT
#include "DataTable.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <sys/mman.h>
#include <utility>

namespace {

AllocTableGate& Gate()
{
    static AllocTableGate gate;
    return gate;
}

// A large table is written once from end to end right after it is made;
// in 2 MiB pages that is one fault per 2 MiB instead of one per 4 KiB.
void AskForHugePages(void* block, std::size_t bytes)
{
    constexpr std::uintptr_t kHuge = std::uintptr_t(2) << 20;
    const auto begin = (reinterpret_cast<std::uintptr_t>(block) + kHuge - 1) & ~(kHuge - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(block) + bytes) & ~(kHuge - 1);
    if (end > begin)
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

// The block is not cleared: the reader decides what cells a short line leaves.
std::unique_ptr<float[]> AllocBlock(int rows, std::size_t n)
{
    if (rows <= 0 || n > (SIZE_MAX / sizeof(float)) / static_cast<std::size_t>(rows))
        return nullptr;
    if (const AllocTableGate& gate = Gate(); gate && !gate(rows, n))
        return nullptr;
    std::unique_ptr<float[]> block(new (std::nothrow) float[static_cast<std::size_t>(rows) * n + 1]);
    if (block)
        AskForHugePages(block.get(), (static_cast<std::size_t>(rows) * n + 1) * sizeof(float));
    return block;
}

}   // namespace

DataTable::DataTable(int rows, std::size_t n, std::unique_ptr<float[]> block)
    : m_rows(rows), m_n(n), m_capacity(n), m_block(std::move(block))
{
}

bool DataTable::Resize(std::size_t n)
{
    if (n <= m_capacity) {
        m_n = n;
        return true;
    }
    std::size_t capacity = std::max({n, m_capacity + m_capacity / 2, std::size_t(1024)});
    std::unique_ptr<float[]> block = AllocBlock(m_rows, capacity);
    if (!block && capacity > n) {
        // The exact room may still be there when half again is not.
        capacity = n;
        block = AllocBlock(m_rows, capacity);
    }
    if (!block)
        return false;
    for (int row = 0; row < m_rows; ++row)
        std::copy_n((*this)[row], m_n, block.get() + static_cast<std::size_t>(row) * capacity);
    m_block = std::move(block);
    m_capacity = capacity;
    m_n = n;
    return true;
}

TablePtr AllocTable(int rows, std::size_t n)
{
    std::unique_ptr<float[]> block = AllocBlock(rows, n);
    if (!block)
        return nullptr;
    return std::make_unique<DataTable>(rows, n, std::move(block));
}

void FreeTable(TablePtr& table)
{
    table.reset();
}

void SetAllocTableGate(AllocTableGate gate)
{
    Gate() = std::move(gate);
}
