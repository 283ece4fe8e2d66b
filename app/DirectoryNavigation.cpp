// SPDX-License-Identifier: MIT
// Stepping through the files of the current directory: Prev., Next, the
// wheel, and ReDraw.
#include "Unit1.h"

#include "Conversions.h"
#include "DataFileReader.h"

#include <QLineEdit>

#include <vector>

void TForm1::NextInDir()
{
    State.RedetectColumns = false;
    if (++State.ListingIndex > State.ListingCount - 1)
        State.ListingIndex = 0;
    if (!LoadAndReport(State.CurrentDir + SearchFiles1.GetFileName(State.ListingIndex)))
        return;
    PaintGraph();
}

void TForm1::PrevInDir()
{
    State.RedetectColumns = false;
    if (--State.ListingIndex < 0)
        State.ListingIndex = State.ListingCount - 1;
    if (!LoadAndReport(State.CurrentDir + SearchFiles1.GetFileName(State.ListingIndex)))
        return;
    PaintGraph();
}

void TForm1::ReDrawInDir()
{
    const int shown = StrToInt(NumofTraces->text().toStdString());
    std::vector<std::string> names;
    for (int k = 0; k < shown && k < kHistorySlots; ++k)
        names.push_back(State.Traces[static_cast<std::size_t>(k)].Name);
    for (auto name = names.rbegin(); name != names.rend(); ++name)
        if (!name->empty())
            LoadAndReport(*name);

    if (!names.empty() && !names.front().empty()) {
        const std::string& newest = names.front();
        const std::size_t slash = newest.rfind('/');
        const std::string base = slash == std::string::npos ? newest : newest.substr(slash + 1);
        const std::size_t dot = base.rfind('.');
        SearchFiles1.SortStyle = ssNameSmall;
        SearchFiles1.ExtFilter = dot == std::string::npos ? std::string() : base.substr(dot);
        SearchFiles1.Execute(".");
        State.ListingCount = SearchFiles1.Count();
        for (int i = 0; i < State.ListingCount; ++i)
            if (SearchFiles1.GetFileName(i) == base) {
                State.ListingIndex = i;
                break;
            }
    }
    PaintGraph();
}

void TForm1::NextByWheel()
{
    if (++State.WheelCount >= State.UnitWheel)
        State.WheelCount = 0;
    if (State.WheelCount == 0)
        NextInDir();
}

void TForm1::PrevByWheel()
{
    if (--State.WheelCount <= -State.UnitWheel)
        State.WheelCount = 0;
    if (State.WheelCount == 0)
        PrevInDir();
}
