// SPDX-License-Identifier: MIT
// Stepping through a directory of 200 files of 10,000 lines with the wheel,
// ten traces of three Ys overlaid, in the real main window (offscreen): each
// wheel notch loads the next file and paints the window. Reported as files
// per second.
//
// Beside it, in the same run: the plain loop of the same work without a
// window (LoadDataFile and DrawGraph into a bare pixel buffer), the reader
// alone, the picture alone, and the window's load and picture without any
// widget repainted.
//
// Qt's drawing (text and widget paints) leaves the upper halves of the AVX
// registers dirty on this machine; the reader and the painter clear that
// state before their SSE loops (plot/VectorState.h), else the stepping runs
// at about 60 % of this speed.
#include "DataFileReader.h"
#include "Dialogs.h"
#include "GraphPainter.h"
#include "LargeViewWindow.h"
#include "PlainControls.h"
#include "PlotView.h"
#include "Unit1.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QWheelEvent>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kFiles = 200;
constexpr int kLines = 10'000;

std::string g_dir;   // ends in '/'
std::vector<std::string> g_names;

// Four columns: time, a random walk, a sine with noise, a sawtooth; each file
// its own seed so that no two files draw the same picture.
bool WriteStepFile(const std::string& path, unsigned seed)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    std::mt19937 rng(seed);
    std::normal_distribution<double> noise(0, 0.1);
    std::fputs("# time walk sine saw\n", file);
    double walk = 0;
    for (int i = 0; i < kLines; ++i) {
        walk += noise(rng);
        std::fprintf(file, "%.6e %f %f %f\n", i * 1e-4, walk, std::sin(i * 0.01 + seed) + noise(rng),
                     (i % 500) * 0.002);
    }
    return std::fclose(file) == 0;
}

bool MakeDirectory()
{
    char pattern[] = "/tmp/bench_stepping-XXXXXX";
    if (!::mkdtemp(pattern))
        return false;
    g_dir = std::string(pattern) + "/";
    for (int i = 0; i < kFiles; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "step%03d.dat", i);
        g_names.emplace_back(name);
        if (!WriteStepFile(g_dir + name, static_cast<unsigned>(i + 1)))
            return false;
    }
    return true;
}

Dialogs QuietDialogs()
{
    Dialogs d;
    d.Message = [](QWidget*, const QString&, const QString& text) {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    };
    d.Error = [](QWidget*, const QString& text) { std::fprintf(stderr, "error: %s\n", qPrintable(text)); };
    d.ConfirmOkCancel = [](QWidget*, const QString&, const QString&) { return false; };
    d.OpenFiles = [](QWidget*, const QString&, const QString&, int) { return QStringList(); };
    d.PickColor = [](QWidget*, const QColor&) -> std::optional<QColor> { return std::nullopt; };
    return d;
}

// view: 1 with the large view open at 1920 x 1080 beside the window;
// prefetch: 1 with the neighbours read ahead, as the running program does.
// Every notch is followed by the event loop's pending work, as in the
// running program, so the view's coalesced repaints are counted too.
void WheelStepping(benchmark::State& state)
{
    TForm1 form(g_dir + g_names.front(), QuietDialogs());
    form.show();
    if (state.range(0) != 0) {
        form.ShowLargeView();
        form.LargeView()->resize(1920, 1080);
    }
    form.SetPrefetching(state.range(1) != 0);
    QApplication::processEvents();
    form.findChild<QLineEdit*>(QStringLiteral("NumofTraces"))->setText(QStringLiteral("10"));
    form.State.UnitWheel = 1;
    auto* view = form.findChild<PlotView*>();
    // Fill the history first: every step then draws ten traces.
    for (int i = 0; i < kHistorySlots; ++i)
        form.NextInDir();

    const QPointF pos(100, 100);
    for (auto _ : state) {
        QWheelEvent notch(pos, view->mapToGlobal(pos), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &notch);
        QApplication::processEvents();
    }
    if (form.State.DisplayedTraces != kHistorySlots || form.State.Traces[0].Points != std::size_t(kLines))
        state.SkipWithError("the window did not show ten traces of the whole files");
    state.counters["files_per_s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    if (const LargeViewWindow* largeView = form.LargeView())
        state.counters["view_paints"] = double(largeView->Renders());
}

// Where the window's time goes: the load and the picture in the window's own
// buffer, but no widget repainted. names: 0 off, 1 on.
void WindowLoadAndRender(benchmark::State& state)
{
    TForm1 form(g_dir + g_names.front(), QuietDialogs());
    form.show();
    QApplication::processEvents();
    form.findChild<QLineEdit*>(QStringLiteral("NumofTraces"))->setText(QStringLiteral("10"));
    form.findChild<QCheckBox*>(QStringLiteral("DispNameToggle"))->setChecked(state.range(0) != 0);
    std::size_t next = 0;
    for (auto _ : state) {
        if (!LoadDataFile(form.State, g_dir + g_names[next]))
            state.SkipWithError("a file did not load");
        next = (next + 1) % g_names.size();
        form.DrawGraphIntoPicture();
    }
    state.counters["files_per_s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

// Ten traces of three Ys drawn as the window draws them, into a bare pixel
// buffer of the window's size.
struct PlainPicture {
    PlainControls Controls;
    PlotState Plot;
    std::vector<std::uint32_t> Pixels = std::vector<std::uint32_t>(TForm1::kClientWidth * TForm1::kClientHeight);
    RasterCanvas Canvas{PixelBuffer{Pixels.data(), TForm1::kClientWidth, TForm1::kClientHeight, TForm1::kClientWidth}};

    PlainPicture()
    {
        Controls.YsItem = 2;
        Plot.Controls = &Controls;
        Plot.TracesShown = kHistorySlots;
        Plot.ColumnMap = {1, 2, 3, 4};
    }

    void Draw()
    {
        DrawGraph(Plot, Canvas);
        benchmark::DoNotOptimize(Pixels.data());
    }
};

// The same loads and pictures without a window: the floor for the stepping.
void PlainLoadAndDraw(benchmark::State& state)
{
    PlainPicture picture;
    std::size_t next = 0;
    for (auto _ : state) {
        if (!LoadDataFile(picture.Plot, g_dir + g_names[next]))
            state.SkipWithError("a file did not load");
        next = (next + 1) % g_names.size();
        picture.Draw();
    }
    state.counters["files_per_s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

// The picture alone, ten files loaded once: what a step costs the window's
// thread when its file was read ahead.
void DrawOnly(benchmark::State& state)
{
    PlainPicture picture;
    for (int i = 0; i < kHistorySlots; ++i)
        if (!LoadDataFile(picture.Plot, g_dir + g_names[std::size_t(i)]))
            state.SkipWithError("a file did not load");
    for (auto _ : state)
        picture.Draw();
    state.counters["pictures_per_s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void LoadOnly(benchmark::State& state)
{
    PlainControls controls;
    PlotState plot;
    plot.Controls = &controls;
    plot.ColumnMap = {1, 2, 3, 4};
    std::size_t next = 0;
    for (auto _ : state) {
        if (!LoadDataFile(plot, g_dir + g_names[next]))
            state.SkipWithError("a file did not load");
        next = (next + 1) % g_names.size();
    }
    state.counters["files_per_s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

}   // namespace

BENCHMARK(WheelStepping)
    ->ArgNames({"view", "prefetch"})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(3.0);
BENCHMARK(WindowLoadAndRender)
    ->ArgName("names")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(3.0);
BENCHMARK(PlainLoadAndDraw)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(DrawOnly)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(LoadOnly)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (!MakeDirectory()) {
        std::fprintf(stderr, "cannot write the data files under /tmp\n");
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    std::filesystem::remove_all(g_dir, ignored);
    return 0;
}
