// SPDX-License-Identifier: MIT
// The settings files. For now the program runs on the in-memory defaults, as
// it would with none of the files present.
#include "Unit1.h"

void TForm1::ReadSettingsFile(const std::string& /*dir*/, bool global)
{
    if (global) {
        State.FileDialogFilter = kBuiltInFileDialogFilter;
        return;
    }
    // A directory without its own settings: columns are chosen again when the
    // column count changes (the option's default).
    State.AutoDet = true;
    State.RedetectColumns = State.AutoDet;
}

void TForm1::WriteSettingsFile(const std::string& /*dir*/, bool /*global*/) {}

void TForm1::Closure()
{
    WriteSettingsFile(ProgramDirectory(), true);
    for (TraceSlot& slot : State.Traces)
        slot.Table.reset();
}

void TForm1::SaveIniFile()
{
    WriteSettingsFile(State.CurrentDir, false);
}
