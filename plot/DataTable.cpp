// SPDX-License-Identifier: MIT
#include "DataTable.h"

#include <new>
#include <utility>

namespace {

AllocTableGate& Gate()
{
    static AllocTableGate gate;
    return gate;
}

}   // namespace

DataTable::DataTable(int rows, std::size_t n, std::unique_ptr<float[]> block)
    : m_rows(rows), m_n(n), m_block(std::move(block))
{
}

TablePtr AllocTable(int rows, std::size_t n)
{
    if (rows <= 0 || n > (SIZE_MAX / sizeof(float)) / static_cast<std::size_t>(rows))
        return nullptr;
    if (const AllocTableGate& gate = Gate(); gate && !gate(rows, n))
        return nullptr;
    // The block is not cleared: the reader decides what cells a short line leaves.
    std::unique_ptr<float[]> block(new (std::nothrow) float[static_cast<std::size_t>(rows) * n + 1]);
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
