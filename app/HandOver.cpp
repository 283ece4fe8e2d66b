// SPDX-License-Identifier: MIT
// Files handed over by a second copy of the program.
#include "Unit1.h"

#include "SingleInstance.h"

void TForm1::ReceiveCopyData(const std::string& name)
{
    AppendTestLog("received " + name);
    Guarded([&] {
        OpeningKept kept = KeepWhatOpeningChanges();
        ShowDataControls();
        if (name.empty())
            return;
        // The sender completes a relative name against its own working
        // directory; one that still arrives relative is taken in CurrentDir,
        // and kept whole so a later ReDraw finds the same file.
        const std::string path = CompletedFileName(name, State.CurrentDir);
        const FileKind kind = KindOfFile(path);
        if (kind != FileKind::Regular) {
            // Nothing changes for a name that is no file: not the browsed
            // directory, not its listing, not the settings.
            Modals.Error(this, RefusalLine(RefusalReason(kind), FileNameToText(name)));
            return;
        }
        EnterAndLoad(path, std::move(kept));
        PaintGraph();
    });
    // The sender waits for the acknowledgement that follows this call, so the
    // picture must be on the screen by then.
    repaint();
    AppendTestLog("shown " + State.Traces[0].Name + " in " + State.CurrentDir);
}

void TForm1::ReceiveCopyDataList(const std::vector<std::string>& names)
{
    std::string logged;
    for (const std::string& name : names)
        logged += " " + name;
    AppendTestLog("received" + logged);
    Guarded([&] { OpenNamesTogether(names, State.CurrentDir); });
    repaint();
    AppendTestLog("shown " + State.Traces[0].Name + " in " + State.CurrentDir);
}

void TForm1::ReceiveHandOver(const std::vector<std::string>& names)
{
    if (names.size() <= 1)
        ReceiveCopyData(names.empty() ? std::string() : names.front());
    else
        ReceiveCopyDataList(names);
}
