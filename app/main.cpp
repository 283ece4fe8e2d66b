// SPDX-License-Identifier: MIT
// Program entry: hands the file to a running copy when the options ask for a
// single copy, else runs the main window on it.
#include "CommandLine.h"
#include "DataFileReader.h"
#include "Dialogs.h"
#include "ExportCommand.h"
#include "FileNames.h"
#include "FontConfigWarmUp.h"
#include "HeapWarmUp.h"
#include "LanguageSetting.h"
#include "OptionKeys.h"
#include "ProfileFile.h"
#include "ScreenshotPng.h"
#include "SettingsPaths.h"
#include "SingleInstance.h"
#include "StandardIcons.h"
#include "Unit1.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPixmap>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

namespace {

// Seen as 255 by the shell.
constexpr int kHandedOverStatus = -1;

bool SingleCopyWanted()
{
    try {
        return ProfileFile(GlobalSettingsPath()).ReadBool(kOptionSection, kNoMulExecKey, kNoMulExecAtStart);
    } catch (const std::exception&) {
        return false;   // an unreadable option file reads as the default
    }
}

// The names a second copy hands over: each made whole against this copy's
// working directory, since the running copy works in a directory of its own.
// Empty when one is too long to hand over.
std::vector<std::string> NamesToHandOver(const std::vector<std::string>& given)
{
    std::vector<std::string> names;
    const std::string here = WorkingDirectory();
    for (const std::string& name : given) {
        if (name.empty()) {   // an empty argument: a start without a file
            names.push_back(name);
            continue;
        }
        const std::string whole = name.size() > kMaxGivenFileName ? std::string() : CompletedFileName(name, here);
        if (whole.empty())
            return {};
        names.push_back(whole);
    }
    return names;
}

// Several files on the command line open together, as a drop opens them.
int RunWindow(const std::vector<std::string>& fileNames, bool showLargeView, bool follow, SingleInstance& instance)
{
    TForm1 form(fileNames.size() == 1 ? fileNames.front() : std::string());
    if (fileNames.size() > 1)
        form.OpenCommandLineFiles(fileNames);
    form.AcceptDroppedFiles();
    if (follow || form.FollowWasOn())
        form.SetFollowing(true);
    instance.Serve([&form](const std::vector<std::string>& names) { form.ReceiveHandOver(names); });
    // From the first moment of closing (the settings are written then, and
    // their error box could take a hand-over) no file is taken any more.
    QObject::connect(&form, &TForm1::Closing, &instance, [&instance] { instance.StopServing(); });
    QObject::connect(&form, &TForm1::LoadingChanged, &instance, [&instance](bool loading) { instance.Hold(loading); });

    // Without a display, a picture of the window instead of a session.
    const QString screenshot = qEnvironmentVariable("TRACELY_SCREENSHOT");
    if (!screenshot.isEmpty()) {
        // The window painted its plot while it was made, and the grab
        // paints the controls itself: no pass of the event loop is needed,
        // which would paint them all once more for nothing.
        form.show();
        instance.Serve(nullptr);
        if (!WriteScreenshotPng(form.grab().toImage(), screenshot)) {
            std::fprintf(stderr, "tracely: cannot write %s\n", qPrintable(screenshot));
            return 1;
        }
        return 0;
    }

    form.SetPrefetching(true);
    form.show();
    if (showLargeView || form.LargeViewWasOpen())
        form.ShowLargeView();
    QApplication::exec();
    // The window goes away with this scope; nothing may be handed to it after.
    instance.Serve(nullptr);
    return 0;
}

}   // namespace

int main(int argc, char** argv)
{
    // QApplication takes the options it knows (-style, -platform, -reverse,
    // ...) out of argv, values included; a data file of any name must survive.
    const CommandLine options = ParseCommandLine(std::vector<std::string>(argv, argv + argc));
    if (!options.Error.empty()) {
        std::fprintf(stderr, "tracely: %s\n", options.Error.c_str());
        return 2;
    }
    SetEventLog(options.EventLog);
    if (!options.ExportTo.empty())
        return RunExportCommand(options, argc, argv);

    // Decided before the application object exists: a second copy that only
    // hands its file over never needs a display and ends sooner without one.
    const bool singleCopy = SingleCopyWanted();
    SingleInstance instance;
    SingleInstance::Role role = instance.Claim();
    if (role == SingleInstance::Role::Other && singleCopy) {
        const std::vector<std::string> handed = NamesToHandOver(options.FileNames);
        if (handed.size() != options.FileNames.size()) {
            std::fprintf(stderr, "tracely: the file name is too long to hand over to the running copy\n");
            return kHandedOverStatus;
        }
        switch (instance.HandOver(handed)) {
        case SingleInstance::HandOverResult::BecameFirst: role = SingleInstance::Role::First; break;
        case SingleInstance::HandOverResult::NameRefused:
            std::fprintf(stderr, "tracely: the file names are more than a hand-over carries\n");
            return kHandedOverStatus;
        case SingleInstance::HandOverResult::Acknowledged: AppendTestLog("handed over"); return kHandedOverStatus;
        default:
            // Like a start that finds no window to send to: nothing is said.
            AppendTestLog("not handed over");
            return kHandedOverStatus;
        }
    }
    AppendTestLog(role == SingleInstance::Role::First       ? "first copy"
                      : role == SingleInstance::Role::Other ? "side by side"
                                                            : "alone");

    // A copy that hands its file over ends before it would use the heap.
    WarmUpHeap(kStartHeap);
    // The file named on the command line is counted now, while the
    // application and the window are made; its load takes the count.
    if (options.FileNames.size() == 1 && !options.FileNames.front().empty() &&
        options.FileNames.front().size() <= kMaxGivenFileName)
        StartEarlyCount(CompletedFileName(options.FileNames.front(), WorkingDirectory()));

    FontConfigWarmUp fonts;
    QApplication app(argc, argv);
    InstallLanguage(PlanLanguage(ReadLanguageChoice(GlobalSettingsPath())));
    QGuiApplication::setDesktopFileName(QStringLiteral(TRACELY_APP_ID));
    QApplication::setApplicationName(QStringLiteral("Tracely"));
    if (role == SingleInstance::Role::First)
        instance.Listen();
    // Made while the font configuration is still being read.
    const StandardIconsAhead icons;
    fonts.Wait();

    int status = 0;
    try {
        status = RunWindow(options.FileNames, options.View, options.Follow, instance);
    } catch (const std::exception& error) {
        instance.Serve(nullptr);
        ShowHandlerError(Dialogs::Real(), nullptr, error);
    }
    instance.Release();
    return status;
}
