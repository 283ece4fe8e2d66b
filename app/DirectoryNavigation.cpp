// SPDX-License-Identifier: MIT
// Stepping through the files of the current directory: Prev., Next, the
// wheel, and ReDraw.
//
// A step only moves ListingIndex inside the listing made when the file was
// opened (or at the last ReDraw); files created or removed since are not seen
// until the next listing. A listed neighbour that has gone away since is
// reported and loads nothing, but the index stays on it, so the next step
// goes on beyond it instead of running into it again.
#include "Unit1.h"

#include "Conversions.h"
#include "DataFileReader.h"

#include <QLineEdit>
#include <QStringList>

#include <algorithm>
#include <vector>

namespace {

// Brings slot `from` to slot 0 the way a load pushes a file, the slots
// above it moving down by one. The slot itself moves, table and all: a
// reload that failed for want of memory would find none for a copy either.
// Nothing drops off the end, and the trace is not left behind below as a
// second entry of the same file.
void BringSlotToFront(PlotState& state, std::size_t from)
{
    std::rotate(state.Traces.begin(), state.Traces.begin() + static_cast<std::ptrdiff_t>(from),
                state.Traces.begin() + static_cast<std::ptrdiff_t>(from) + 1);
    ClearRedCursor(state);
}

}   // namespace

void TForm1::StepInDir(std::string (DirectoryNavigator::*step)())
{
    const bool redetect = State.RedetectColumns;
    const int position = State.ListingIndex;
    // A step keeps the column choice; the directory's settings are not read again.
    State.RedetectColumns = false;
    m_steppedBack = step == &DirectoryNavigator::StepPrevious;
    m_loadCancelled = false;
    // A position outside the listing raises the list error before anything is loaded.
    const bool loaded = LoadAndReport((m_navigator.*step)());
    if (m_loadCancelled) {
        // The shown file stays the one the listing is at.
        State.RedetectColumns = redetect;
        State.ListingIndex = position;
    }
    // Read ahead while this one is painted.
    PrefetchNeighbours();
    if (loaded)
        PaintGraph();
}

void TForm1::NextInDir()
{
    StepInDir(&DirectoryNavigator::StepNext);
}

void TForm1::PrevInDir()
{
    StepInDir(&DirectoryNavigator::StepPrevious);
}

void TForm1::FirstInDir()
{
    StepInDir(&DirectoryNavigator::StepFirst);
}

void TForm1::LastInDir()
{
    StepInDir(&DirectoryNavigator::StepLast);
}

void TForm1::ReDrawInDir()
{
    // A text that is not a number stops here, before anything is reloaded.
    const int shown = std::clamp(StrToInt(NumofTraces->text().toStdString()), 0, kHistorySlots);
    std::vector<std::string> names;
    for (int k = 0; k < shown; ++k)
        names.push_back(State.Traces[static_cast<std::size_t>(k)].Name);

    // Oldest first, so that the same files end up in the same slots. A file
    // that can no longer be read keeps its old trace in its place: skipping it
    // would shift the others and show one file twice.
    QStringList refusals;
    std::size_t handled = 0;
    bool cancelled = false;
    for (std::size_t k = names.size(); k-- > 0;) {
        if (names[k].empty())
            continue;
        // Once the user cancelled one, the rest keep their traces as well.
        LoadResult result;
        if (cancelled)
            result.Ok = false;
        else
            result = LoadFile(names[k]);
        if (!result) {
            cancelled = cancelled || result.Error == LoadError::Cancelled;
            if (!cancelled)
                refusals << RefusalLine(result.Message, FileNameToText(names[k]));
            // Slot k has moved down by one for each file handled before it,
            // reloaded or kept.
            BringSlotToFront(State, k + handled);
            HideDeltaReadouts();
        }
        ++handled;
    }

    if (!names.empty() && !names.front().empty())
        m_navigator.Relist(names.front());
    PaintGraph();
    if (!refusals.isEmpty())
        Modals.Error(this, refusals.join(QLatin1Char('\n')));
}

void TForm1::NextByWheel()
{
    if (m_navigator.WheelNotch(true) > 0)
        NextInDir();
}

void TForm1::PrevByWheel()
{
    if (m_navigator.WheelNotch(false) < 0)
        PrevInDir();
}
