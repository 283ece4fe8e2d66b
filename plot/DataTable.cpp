// SPDX-License-Identifier: MIT
#include "DataTable.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <utility>

namespace {

AllocTableGate& Gate()
{
    static AllocTableGate gate;
    return gate;
}

// The block is not cleared: the reader decides what cells a short line leaves.
std::unique_ptr<float[]> AllocBlock(int rows, std::size_t n)
{
    if (rows <= 0 || n > (SIZE_MAX / sizeof(float)) / static_cast<std::size_t>(rows))
        return nullptr;
    if (const AllocTableGate& gate = Gate(); gate && !gate(rows, n))
        return nullptr;
    return std::unique_ptr<float[]>(new (std::nothrow) float[static_cast<std::size_t>(rows) * n + 1]);
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
