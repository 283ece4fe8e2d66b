// SPDX-License-Identifier: MIT
#include "DataFileColumns.h"

#include <algorithm>

ColumnChoice ChooseColumns(const PlotState& state, bool redetect, int columns)
{
    return ChooseColumnsFromMap(state.ColumnMap, redetect, columns);
}

ColumnChoice ChooseColumnsFromMap(const std::array<std::int32_t, kAxisCount>& columnMap, bool redetect, int columns)
{
    ColumnChoice choice;
    choice.Map = columnMap;
    if (!redetect) {
        choice.HighestColumn = *std::max_element(choice.Map.begin(), choice.Map.end());
        return choice;
    }
    choice.Redetected = true;
    choice.HighestColumn = std::max(columns, 0);
    if (columns == 1) {
        // Only the X and Y1 groups change; Y2 and Y3 keep their columns.
        choice.Map[0] = 0;
        choice.Map[1] = 1;
        choice.YsItem = 0;
        choice.AxesSet = 2;
    } else {
        choice.Map = {1, 2, 3, 4};
        choice.YsItem = std::clamp(columns - 2, 0, 2);
        choice.AxesSet = kAxisCount;
    }
    return choice;
}

void ApplyColumnChoice(PlotState& state, const ColumnChoice& choice)
{
    if (choice.Redetected)
        state.ColumnMap = choice.Map;
}
