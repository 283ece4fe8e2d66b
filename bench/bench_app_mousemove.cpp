// SPDX-License-Identifier: MIT
// A mouse move over the plot of the real main window (offscreen), with the
// cursor on and a red cursor set, until the eight read-outs hold their new
// texts and the cross stands at the mouse; and, second, until the window has
// also repainted what changed (the read-outs and the two lines of the cross).
// Each move is timed on its own and the median is reported in microseconds.
//
// Beside them, in the same run: the same moves with the cursor off, where the
// read-outs are rewritten (hidden) and no cross is drawn, and a full paint of
// the window, which a move must never cost.
//
// The window takes the screen's device pixel ratio: QT_SCALE_FACTOR=2 runs
// it as on a 4K laptop (reported as the ratio counter).
#include "Dialogs.h"
#include "PlotView.h"
#include "Unit1.h"

#include <QApplication>
#include <QCheckBox>
#include <QMouseEvent>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

std::string g_file;

Dialogs QuietDialogs()
{
    Dialogs d;
    d.Message = [](QWidget*, const QString&, const QString&) {};
    d.Error = [](QWidget*, const QString& text) { std::fprintf(stderr, "error: %s\n", qPrintable(text)); };
    d.ConfirmOkCancel = [](QWidget*, const QString&, const QString&) { return false; };
    d.OpenFiles = [](QWidget*, const QString&, const QString&, int) { return QStringList(); };
    d.PickColor = [](QWidget*, const QColor&) -> std::optional<QColor> { return std::nullopt; };
    return d;
}

bool WriteDataFile()
{
    char pattern[] = "/tmp/bench_mousemove-XXXXXX";
    if (!::mkdtemp(pattern))
        return false;
    g_file = std::string(pattern) + "/moves.dat";
    std::FILE* file = std::fopen(g_file.c_str(), "wb");
    if (!file)
        return false;
    for (int i = 0; i < 10'000; ++i)
        std::fprintf(file, "%d %f %f %f\n", i, std::sin(i * 0.01), std::cos(i * 0.013) * 100, i * 0.5 - 300);
    return std::fclose(file) == 0;
}

// A path over the whole plot rectangle, never on the same pixel twice in a row.
QPoint PathPoint(std::size_t i)
{
    const int x = 70 + static_cast<int>((i * 37) % 311);
    const int y = 1 + static_cast<int>((i * 53 + i / 311) % 311);
    return {x, y};
}

struct Window {
    TForm1 Form{g_file, QuietDialogs()};
    PlotView* View = nullptr;

    explicit Window(bool cursorOn)
    {
        Form.show();
        QApplication::processEvents();
        View = Form.findChild<PlotView*>();
        Form.findChild<QCheckBox*>(QStringLiteral("Cursor"))->setChecked(cursorOn);
        if (cursorOn)
            Form.SetRedCursor(150, 200);
        QApplication::processEvents();
    }

    void Move(QPoint client)
    {
        const QPointF local = client - View->pos();
        QMouseEvent event(QEvent::MouseMove, local, View->mapToGlobal(local), Qt::NoButton, Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(View, &event);
    }
};

void ReportMedian(benchmark::State& state, std::vector<double>& micros)
{
    if (micros.empty())
        return;
    std::nth_element(micros.begin(), micros.begin() + micros.size() / 2, micros.end());
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["ratio"] = qApp->devicePixelRatio();
}

// cursorOn, flushPaint
void MouseMove(benchmark::State& state)
{
    const bool cursorOn = state.range(0) != 0;
    const bool flush = state.range(1) != 0;
    Window window(cursorOn);
    std::vector<double> micros;
    std::size_t i = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        window.Move(PathPoint(i++));
        if (flush)
            QApplication::processEvents();
        const auto end = std::chrono::steady_clock::now();
        micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    if (cursorOn && window.Form.State.CursorX != PathPoint(i - 1).x())
        state.SkipWithError("the cross did not follow the mouse");
    ReportMedian(state, micros);
}

void FullPaint(benchmark::State& state)
{
    Window window(true);
    std::vector<double> micros;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        window.Form.PaintGraph();
        const auto end = std::chrono::steady_clock::now();
        micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    ReportMedian(state, micros);
}

}   // namespace

BENCHMARK(MouseMove)
    ->ArgNames({"cursor", "flush"})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Args({0, 0})
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();
BENCHMARK(FullPaint)->Unit(benchmark::kMicrosecond)->UseRealTime();

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (!WriteDataFile()) {
        std::fprintf(stderr, "cannot write the data file under /tmp\n");
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(g_file).parent_path(), ignored);
    return 0;
}
