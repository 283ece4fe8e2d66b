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
#include <cstdint>
#include <vector>

namespace {

std::string BaseNameOf(const std::string& name)
{
    const std::size_t slash = name.rfind('/');
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

// From the last "." of the base name on, dot included; empty without a dot,
// which lists every file of the directory.
std::string ExtensionOf(const std::string& name)
{
    const std::string base = BaseNameOf(name);
    const std::size_t dot = base.rfind('.');
    return dot == std::string::npos ? std::string() : base.substr(dot);
}

// Lists CurrentDir for the file `name` and finds the file's place in it. The
// working directory is not used: the open dialog can move it without a file
// being opened, and the steps join the listed names with CurrentDir, so the
// listing has to come from there too.
void ListDirectoryFor(TForm1& form, const std::string& name)
{
    PlotState& state = form.State;
    TSearchFiles& files = form.SearchFiles1;
    files.SortStyle = ssNameSmall;
    files.ExtFilter = ExtensionOf(name);
    files.Execute(state.CurrentDir.empty() ? std::string(".") : state.CurrentDir);
    state.ListingCount = files.Count();
    // Letter case counts here: a file opened as DATA.GDW while the directory
    // holds data.gdw is not found, and the index stays where it was.
    const std::string base = BaseNameOf(name);
    for (int i = 0; i < state.ListingCount; ++i) {
        if (files.GetFileName(i) == base) {
            state.ListingIndex = i;
            return;
        }
    }
}

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

// The listed file at ListingIndex, loaded and drawn. A position outside the
// listing raises the list error before anything is loaded.
void LoadListedFile(TForm1& form)
{
    const std::string name = form.SearchFiles1.GetFileName(form.State.ListingIndex);
    if (!form.LoadAndReport(form.State.CurrentDir + name))
        return;
    form.PaintGraph();
}

} // namespace

void TForm1::NextInDir()
{
    State.RedetectColumns = false;
    if (++State.ListingIndex > State.ListingCount - 1)
        State.ListingIndex = 0;
    LoadListedFile(*this);
}

void TForm1::PrevInDir()
{
    State.RedetectColumns = false;
    if (--State.ListingIndex < 0)
        State.ListingIndex = State.ListingCount - 1;
    LoadListedFile(*this);
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
    for (std::size_t k = names.size(); k-- > 0;) {
        if (names[k].empty())
            continue;
        const LoadResult result = LoadFile(names[k]);
        if (!result) {
            refusals << RefusalLine(result.Message, FileNameToText(names[k]));
            // Slot k has moved down by one for each file handled before it,
            // reloaded or kept.
            BringSlotToFront(State, k + handled);
            HideDeltaReadouts();
        }
        ++handled;
    }

    if (!names.empty() && !names.front().empty())
        ListDirectoryFor(*this, names.front());
    PaintGraph();
    if (!refusals.isEmpty())
        Modals.Error(this, refusals.join(QLatin1Char('\n')));
}

// One shared count for both directions: a step happens whenever the count
// comes back to 0, which a change of direction does too. The comparisons are
// made in 64 bits so that no UnitWheel from a settings file can overflow them.
void TForm1::NextByWheel()
{
    if (std::int64_t(State.WheelCount) + 1 >= State.UnitWheel)
        State.WheelCount = 0;
    else
        ++State.WheelCount;
    if (State.WheelCount == 0)
        NextInDir();
}

void TForm1::PrevByWheel()
{
    if (std::int64_t(State.WheelCount) - 1 <= -std::int64_t(State.UnitWheel))
        State.WheelCount = 0;
    else
        --State.WheelCount;
    if (State.WheelCount == 0)
        PrevInDir();
}
