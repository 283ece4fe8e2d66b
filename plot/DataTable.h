// SPDX-License-Identifier: MIT
// A trace's value table: one block of rows x n 32-bit floats with a pointer to
// the start of each row (row r starts at value r x n).
#pragma once

#include <cstddef>
#include <functional>
#include <memory>

class DataTable {
public:
    DataTable(int rows, std::size_t n, std::unique_ptr<float[]> block);

    float* operator[](int row) { return m_block.get() + static_cast<std::size_t>(row) * m_n; }
    const float* operator[](int row) const { return m_block.get() + static_cast<std::size_t>(row) * m_n; }
    int Rows() const { return m_rows; }
    std::size_t Points() const { return m_n; }

private:
    int m_rows;
    std::size_t m_n;
    std::unique_ptr<float[]> m_block;
};

using TablePtr = std::unique_ptr<DataTable>;

// Returns no table (nullptr) when the memory cannot be had; never ends the process.
TablePtr AllocTable(int rows, std::size_t n);
void FreeTable(TablePtr& table);

// Lets tests run the program's own code paths under memory pressure, which an
// address-space limit cannot give under the address sanitizer: while a gate
// is set, AllocTable asks it first and returns no table when it says no.
// An empty gate lets every allocation through. Set it from one thread only,
// while no load runs.
using AllocTableGate = std::function<bool(int rows, std::size_t n)>;
void SetAllocTableGate(AllocTableGate gate);
