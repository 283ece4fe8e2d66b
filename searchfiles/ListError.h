// SPDX-License-Identifier: MIT
// Raised by a list query with a position outside the list. The message is the
// one the user sees in the application's error box.
#pragma once

#include <stdexcept>

class EListError : public std::runtime_error {
public:
    explicit EListError(int index);

    int Index() const { return m_index; }

private:
    int m_index;
};
