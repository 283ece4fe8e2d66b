// SPDX-License-Identifier: MIT
#include "ListError.h"

#include <string>

namespace {

std::string IndexMessage(int index)
{
    return "リストのインデックスが範囲を超えています (" + std::to_string(index) + ")";
}

}   // namespace

EListError::EListError(int index) : std::runtime_error(IndexMessage(index)), m_index(index)
{
}
