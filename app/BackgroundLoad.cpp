// SPDX-License-Identifier: MIT
// Reading a large file on a worker thread while the window's event loop runs
// on, so the window is never frozen by a load and a long one can be stopped.
//
// While the worker reads, nothing else may load: user input waits (first
// held back, then kept off every window by the progress dialog, which is
// application-modal), and so do hand-overs and change notifications (their
// socket notifiers are not served), so no second load can race this one for
// slot 0. A hand-over that arrives meanwhile is taken once the load is over
// and acknowledged only after its file is shown, as always.
#include "Unit1.h"

#include "Prefetcher.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>

#include <sys/stat.h>
#include <thread>

namespace {

// A load shows its progress dialog once it has taken this long.
constexpr int kProgressDelayMs = 300;
constexpr int kProgressSteps = 1000;

std::uint64_t SizeOf(const std::string& name)
{
    struct stat info { };
    return ::stat(name.c_str(), &info) == 0 && S_ISREG(info.st_mode) ? static_cast<std::uint64_t>(info.st_size) : 0;
}

}   // namespace

void TForm1::SetPrefetching(bool on)
{
    if (!on)
        m_prefetcher.reset();
    else if (!m_prefetcher) {
        m_prefetcher = std::make_unique<Prefetcher>();
        if (State.Traces[0].Loaded())
            PrefetchNeighbours();
    }
}

void TForm1::PrefetchNeighbours()
{
    if (!m_prefetcher)
        return;
    LoadInputs inputs = LoadInputs::Of(State);
    inputs.RedetectColumns = false;   // as a step reads
    // The way the last step went first: a walk through the directory goes on.
    const int ahead = m_steppedBack ? -1 : 1;
    m_prefetcher->Start({m_navigator.PathAfterSteps(ahead), m_navigator.PathAfterSteps(-ahead)}, inputs);
}

LoadResult TForm1::ReadAndCommit(const std::string& name)
{
    if (m_prefetcher)
        if (std::optional<PreparedLoad> read = m_prefetcher->Take(name, LoadInputs::Of(State)))
            return CommitDataFile(State, std::move(*read));
    const std::uint64_t size = SizeOf(name);
    if (size < m_backgroundLoadFrom)
        return LoadDataFile(State, name);

    ReadWatch watch;
    PreparedLoad read;
    const LoadInputs inputs = LoadInputs::Of(State);
    QEventLoop loop;
    bool done = false;
    m_loading = true;
    std::thread worker([&] {
        DataFileReaderHooks hooks;
        hooks.Watch = &watch;
        read = ReadDataFile(inputs, name, hooks);
        QMetaObject::invokeMethod(
            &loop,
            [&] {
                done = true;
                loop.quit();
            },
            Qt::QueuedConnection);
    });

    // Most loads end before anyone would notice: no dialog for them, and no
    // input taken meanwhile.
    QTimer::singleShot(kProgressDelayMs, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers);
    if (!done) {
        QProgressDialog progress(tr("Reading %1").arg(FileNameToText(name)), tr("Cancel"), 0, kProgressSteps, this);
        progress.setObjectName(QStringLiteral("LoadProgress"));
        progress.setWindowModality(Qt::ApplicationModal);
        progress.setMinimumDuration(0);
        progress.setAutoReset(false);
        progress.setAutoClose(false);
        connect(&progress, &QProgressDialog::canceled, &loop, [&watch] { watch.Cancel = true; });
        QTimer tick;
        // Both passes read the whole file.
        const double total = 2.0 * static_cast<double>(std::max<std::uint64_t>(size, 1));
        connect(&tick, &QTimer::timeout, &progress, [&] {
            if (progress.wasCanceled())
                watch.Cancel = true;
            const double part = static_cast<double>(watch.BytesRead.load()) / total;
            progress.setValue(static_cast<int>(std::min(part, 1.0) * (kProgressSteps - 1)));
        });
        tick.start(50);
        progress.show();
        while (!done)
            loop.exec(QEventLoop::ExcludeSocketNotifiers);
    }
    worker.join();
    m_loading = false;
    return CommitDataFile(State, std::move(read));
}
