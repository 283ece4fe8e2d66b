// SPDX-License-Identifier: MIT
#include "ExportCommand.h"

#include "FileNames.h"
#include "LargeView.h"
#include "TraceStatistics.h"
#include "Unit1.h"
#include "ViewZoom.h"

#include <QApplication>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// Every box the window would open becomes a line for standard error.
Dialogs Reporting(QStringList& reasons)
{
    Dialogs d;
    d.Message = [&reasons](QWidget*, const QString&, const QString& text) { reasons << text; };
    d.Error = [&reasons](QWidget*, const QString& text) { reasons << text; };
    d.ConfirmOkCancel = [](QWidget*, const QString&, const QString&) { return false; };
    d.OpenFiles = [](QWidget*, const QString&, const QString&, int) { return QStringList(); };
    d.PickColor = [](QWidget*, const QColor&) -> std::optional<QColor> { return std::nullopt; };
    return d;
}

}   // namespace

int RunExportCommand(const CommandLine& options, int& argc, char** argv)
{
    if (options.FileNames.empty()) {
        std::fprintf(stderr, "tracely: --export needs at least one data file\n");
        return 2;
    }
    // No display is needed, whatever the session has.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QStringList reasons;
    TForm1 form({}, Reporting(reasons));
    std::vector<std::string> names;
    for (const std::string& name : options.FileNames) {
        const std::string whole = CompletedFileName(name, WorkingDirectory());
        names.push_back(whole.empty() ? name : whole);
    }
    form.OpenFilesTogether(names, 1, {});
    if (!reasons.isEmpty()) {
        for (const QString& reason : reasons)
            std::fprintf(stderr, "tracely: %s\n", qPrintable(reason));
        return 1;
    }

    // The limits asked for replace the settled ones axis by axis, kept to a
    // width the view can show, as a zoom in the window would keep them.
    ViewLimits limits = ViewLimits::FromState(form.State);
    ViewOptions view;
    for (std::size_t axis = 0; axis < options.ExportLimits.size(); ++axis) {
        if (const auto& range = options.ExportLimits[axis]) {
            limits.Axes[axis] = SaneLimits({range->first, range->second});
            view.Limits = limits;
        }
    }

    std::string error;
    if (!ExportView(form.State, view, QString::fromLocal8Bit(options.ExportTo.c_str()),
                    QSize(options.ExportWidth, options.ExportHeight), error)) {
        std::fprintf(stderr, "tracely: %s\n", error.c_str());
        return 1;
    }
    if (options.ExportStats) {
        LargeViewCache headers;
        const ViewAxisLimits x = SaneLimits(limits.Axes[0]);
        const std::string table = StatisticsAsTsv(ShownTraceStatistics(
            form.State, x.Lower, x.Upper, [&headers](const TraceSlot& slot) { return headers.NamesOf(slot); }));
        std::fputs(table.c_str(), stdout);
        std::fflush(stdout);
    }
    return 0;
}
