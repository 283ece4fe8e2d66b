// SPDX-License-Identifier: MIT
// A trace's value table: one block of rows x capacity 32-bit floats with a
// pointer to the start of each row (row r starts at value r x capacity), of
// which the first Points() of each row are in use. A table read whole has
// exactly the room it needs; one that follows a growing file grows.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>

class DataTable {
public:
    DataTable(int rows, std::size_t n, std::unique_ptr<float[]> block);

    float* operator[](int row) { return m_block.get() + static_cast<std::size_t>(row) * m_capacity; }
    const float* operator[](int row) const { return m_block.get() + static_cast<std::size_t>(row) * m_capacity; }
    int Rows() const { return m_rows; }
    std::size_t Points() const { return m_n; }
    std::size_t Capacity() const { return m_capacity; }

    // Makes the table `n` points long, keeping the values of the points it
    // has; the values of points added are undefined. Room grows by half again
    // at least, so a table that a file's appends lengthen a few lines at a
    // time is copied only now and then. False, with the table as it was, when
    // the memory cannot be had. Pointers into the rows are invalid afterwards.
    bool Resize(std::size_t n);

private:
    int m_rows;
    std::size_t m_n;
    std::size_t m_capacity;
    std::unique_ptr<float[]> m_block;
};

using TablePtr = std::unique_ptr<DataTable>;

// Returns no table (nullptr) when the memory cannot be had; never ends the process.
TablePtr AllocTable(int rows, std::size_t n);
void FreeTable(TablePtr& table);

// Lets tests run the program's own code paths under memory pressure, which an
// address-space limit cannot give under the address sanitizer: while a gate
// is set, AllocTable and Resize ask it first (with the room they want) and
// fail when it says no. An empty gate lets every allocation through. Set it
// from one thread only, while no load runs.
using AllocTableGate = std::function<bool(int rows, std::size_t n)>;
void SetAllocTableGate(AllocTableGate gate);
