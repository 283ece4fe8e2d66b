// SPDX-License-Identifier: MIT
// Puts a file into a history slot the way the reader leaves it: rows given as
// values, an empty row meaning a column the file lacked (present 0, sentinels).
#pragma once

#include "PlotState.h"

#include <string>
#include <vector>

inline void FillSlot(TraceSlot& t, const std::string& name, const std::vector<float>& x, const std::vector<float>& y1,
                     const std::vector<float>& y2 = {}, const std::vector<float>& y3 = {})
{
    t.Name = name;
    t.Table = AllocTable(4, x.size());
    t.Points = x.size();
    const std::vector<float>* rows[4] = {&x, &y1, &y2, &y3};
    for (int r = 0; r < 4; ++r) {
        t.Present[r] = rows[r]->empty() ? 0 : 1;
        t.Max[r] = -1e37f;
        t.Min[r] = 1e37f;
        for (std::size_t i = 0; i < x.size(); ++i) {
            const float v = rows[r]->empty() ? 0.0f : (*rows[r])[i];
            (*t.Table)[r][i] = v;
            if (!rows[r]->empty()) {
                t.Max[r] = v > t.Max[r] ? v : t.Max[r];
                t.Min[r] = v < t.Min[r] ? v : t.Min[r];
            }
        }
    }
}
