// SPDX-License-Identifier: MIT
// Reading a large file on a worker thread while the window's event loop runs
// on, so the window is never frozen by a load and a long one can be stopped.
//
// While the worker reads, nothing else may load, so no second load can race
// this one for slot 0: user input waits (first held back, then kept off every
// window by the progress dialog, which is application-modal), the follow
// timer waits for the load, and hand-overs are held (LoadingChanged): a
// hand-over that arrives meanwhile is taken once the load is over and
// acknowledged only after its file is shown, as always. Holding back socket
// notifiers through the event loop's flags is not enough: the toolkit's
// GLib event loop serves them regardless.
#include "Unit1.h"

#include "Prefetcher.h"

#include <QEventLoop>
#include <QProgressBar>
#include <QProgressDialog>
#include <QTimer>

#include <sys/stat.h>
#include <system_error>
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
    const std::uint64_t size = SizeOf(name);
    const bool large = size >= m_backgroundLoadFrom;
    // A large file still being read ahead is read again, with the progress
    // dialog and its Cancel, rather than waited for.
    if (m_prefetcher)
        if (std::optional<PreparedLoad> read = m_prefetcher->Take(name, LoadInputs::Of(State), !large))
            return CommitDataFile(State, std::move(*read));
    if (!large)
        return LoadDataFile(State, name);

    ReadWatch watch;
    PreparedLoad read;
    const LoadInputs inputs = LoadInputs::Of(State);
    QEventLoop loop;
    bool done = false;
    std::thread worker;
    try {
        worker = std::thread([&] {
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
    } catch (const std::system_error&) {
        // No thread to be had: read here, as a small file is.
        return LoadDataFile(State, name);
    }
    m_loading = true;
    emit LoadingChanged(true);
    // However the wait ends (an exception too), the worker is stopped and
    // gone before what it writes to, and nothing is loading any more.
    struct Ending {
        TForm1& Form;
        std::thread& Worker;
        ReadWatch& Watch;
        ~Ending()
        {
            if (Worker.joinable()) {
                Watch.Cancel = true;
                Worker.join();
            }
            Form.m_loading = false;
            emit Form.LoadingChanged(false);
        }
    } ending{*this, worker, watch};

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
        // The dialog's own setValue runs the event loop for a modal dialog,
        // input and all; its bar is moved directly instead.
        auto* bar = new QProgressBar(&progress);
        bar->setRange(0, kProgressSteps);
        progress.setBar(bar);
        connect(&progress, &QProgressDialog::canceled, &loop, [&watch] { watch.Cancel = true; });
        QTimer tick;
        // Both passes read the whole file.
        const double total = 2.0 * static_cast<double>(std::max<std::uint64_t>(size, 1));
        connect(&tick, &QTimer::timeout, &progress, [&] {
            if (progress.wasCanceled())
                watch.Cancel = true;
            const double part = static_cast<double>(watch.BytesRead.load()) / total;
            bar->setValue(static_cast<int>(std::min(part, 1.0) * (kProgressSteps - 1)));
        });
        tick.start(50);
        progress.show();
        while (!done)
            loop.exec(QEventLoop::ExcludeSocketNotifiers);
    }
    worker.join();
    // A Cancel that came as the reading ended still leaves everything as it was.
    if (watch.Cancel.load()) {
        m_loadCancelled = true;
        return Refuse(LoadError::Cancelled);
    }
    return CommitDataFile(State, std::move(read));
}
