// SPDX-License-Identifier: MIT
// Follow mode under a logger: a writer thread appends one line every
// millisecond (1,000 lines a second) to a followed file that starts at
// 1,000,000 lines, while the real main window (offscreen) follows it. For
// every line, the delay from its write to the first paint of the plot that
// shows it; and the CPU the viewer used meanwhile (the process's less the
// writer's), as a share of one core.
//
//     bench_app_follow [SECONDS=60] [START_LINES=1000000]
#include "Dialogs.h"
#include "PlotView.h"
#include "Unit1.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double CpuSeconds(clockid_t clock)
{
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

std::string Line(long i)
{
    char text[96];
    std::snprintf(text, sizeof text, "%.3f %.6f %.6f %.6f\n", double(i) * 1e-3, double(i % 1000) * 1e-3,
                  double((i * 7) % 1013), double(i % 97) - 48.0);
    return text;
}

// Sees each paint of the plot and what it showed.
class PaintWatch : public QObject {
public:
    PaintWatch(const TForm1& form, long startLines, const std::vector<std::atomic<std::int64_t>>& written)
        : m_form(form), m_shown(startLines), m_start(startLines), m_written(written)
    {
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::Paint)
            return false;
        ++Paints;
        const long points = static_cast<long>(m_form.State.Traces[0].Points);
        const std::int64_t now = Clock::now().time_since_epoch().count();
        for (long line = m_shown; line < points; ++line) {
            const std::int64_t at = m_written[static_cast<std::size_t>(line - m_start)].load(std::memory_order_acquire);
            if (at != 0)
                Delays.push_back(double(now - at) * 1e-6);
        }
        m_shown = std::max(m_shown, points);
        return false;
    }

    long Paints = 0;
    std::vector<double> Delays;   // milliseconds

private:
    const TForm1& m_form;
    long m_shown;
    long m_start;
    const std::vector<std::atomic<std::int64_t>>& m_written;
};

}   // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    const long startLines = argc > 2 ? std::atol(argv[2]) : 1'000'000;
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QTemporaryDir settings;
    const std::string path = dir.path().toStdString() + "/follow.dat";
    {
        std::string text;
        for (long i = 0; i < startLines; ++i)
            text += Line(i);
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (!file || std::fwrite(text.data(), 1, text.size(), file) != text.size())
            return 1;
        std::fclose(file);
    }

    TForm1 form(path, Dialogs::Real(), nullptr, settings.path().toStdString() + "/");
    form.show();
    QApplication::processEvents();
    form.SetFollowing(true);

    const std::size_t toWrite = static_cast<std::size_t>(seconds) * 1000;
    std::vector<std::atomic<std::int64_t>> written(toWrite);
    PaintWatch watch(form, startLines, written);
    form.findChild<PlotView*>()->installEventFilter(&watch);

    double writerCpu = 0;
    std::thread writer([&] {
        const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
        const Clock::time_point begin = Clock::now();
        for (std::size_t i = 0; i < toWrite; ++i) {
            std::this_thread::sleep_until(begin + std::chrono::milliseconds(i));
            const std::string line = Line(startLines + static_cast<long>(i));
            written[i].store(Clock::now().time_since_epoch().count(), std::memory_order_release);
            if (::write(fd, line.data(), line.size()) != static_cast<ssize_t>(line.size()))
                break;
        }
        ::close(fd);
        writerCpu = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    });

    const double cpuBefore = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    const Clock::time_point wallBefore = Clock::now();
    QTimer::singleShot(seconds * 1000 + 500, &app, &QApplication::quit);
    QApplication::exec();
    writer.join();
    const double cpu = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - cpuBefore - writerCpu;
    const double wall = std::chrono::duration<double>(Clock::now() - wallBefore).count();

    std::vector<double>& d = watch.Delays;
    std::sort(d.begin(), d.end());
    auto at = [&d](double q) { return d.empty() ? 0.0 : d[std::min(d.size() - 1, std::size_t(q * double(d.size())))]; };
    std::printf("lines written %zu, shown %zu, paints %ld (%.1f per second)\n", toWrite, d.size(), watch.Paints,
                double(watch.Paints) / wall);
    std::printf("write to painted: median %.1f ms, 95th percentile %.1f ms, max %.1f ms\n", at(0.5), at(0.95),
                d.empty() ? 0.0 : d.back());
    std::printf("viewer CPU: %.1f %% of one core\n", 100.0 * cpu / wall);
    return 0;
}
