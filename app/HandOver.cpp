// SPDX-License-Identifier: MIT
// A file handed over by a second copy of the program.
#include "Unit1.h"

#include "SingleInstance.h"

#include <filesystem>
#include <system_error>

void TForm1::ReceiveCopyData(const std::string& name)
{
    AppendTestLog("received " + name);
    Guarded([&] {
        ShowDataControls();
        if (name.empty())
            return;
        // The sender passes its argument as typed. Entering the file's
        // directory moves the working directory, so a relative name with a
        // directory part would no longer lead to the file: it is made whole
        // against our working directory first.
        std::string path = name;
        if (path.front() != '/') {
            std::error_code error;
            std::string cwd = std::filesystem::current_path(error).string();
            if (cwd.empty() || cwd.back() != '/')
                cwd += '/';
            path = cwd + path;
        }
        EnterDirectoryOf(path);
        LoadAndReport(path);
        PaintGraph();
    });
    // The sender waits for the acknowledgement that follows this call, so the
    // picture must be on the screen by then.
    repaint();
    AppendTestLog("shown " + State.Traces[0].Name + " in " + State.CurrentDir);
}
