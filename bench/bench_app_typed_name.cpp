// SPDX-License-Identifier: MIT
// From a name typed into the file-name box (Enter) to a painted window: a
// 10,000-line file of four columns loaded into a history of ten, all ten
// traces overlaid (three Ys each), offscreen. Beside it, in the same run,
// the two parts on their own: the reader loading the file, and a paint of
// the ten traces with the window's control updates.
#include "DataFileReader.h"
#include "PlainControls.h"
#include "Unit1.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

namespace {

struct Fixture {
    QTemporaryDir Data;
    QTemporaryDir Settings;
    std::string File;
    std::unique_ptr<TForm1> Form;

    Fixture()
    {
        File = Data.path().toStdString() + "/sweep.dat";
        std::ofstream out(File);
        out << "# time voltage current temperature\n";
        char line[128];
        for (int i = 0; i < 10000; ++i) {
            const double t = i * 0.001;
            std::snprintf(line, sizeof line, "%.4f\t%.5f\t%.5f\t%.3f\n", t, 2.5 * std::sin(31.4 * t) * std::exp(-t),
                          0.8 * std::cos(18.8 * t), 24.0 + 3 * t);
            out << line;
        }
        out.close();

        Dialogs quiet;
        quiet.Message = [](QWidget*, const QString&, const QString&) {};
        quiet.Error = [](QWidget*, const QString& text) { std::fprintf(stderr, "%s\n", qPrintable(text)); };
        Form = std::make_unique<TForm1>(std::string(), quiet, nullptr, Settings.path().toStdString() + "/");
        Form->show();
        QApplication::processEvents();
        for (int i = 0; i < kHistorySlots; ++i)
            TypeAndEnter();
        Form->findChild<QLineEdit*>(QStringLiteral("NumofTraces"))->setText("10");
        TypeAndEnter();
    }

    void TypeAndEnter()
    {
        auto* nameBox = Form->findChild<QLineEdit*>(QStringLiteral("MaskEdit1"));
        nameBox->setText(QString::fromStdString(File));
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(nameBox, &press);
        QApplication::sendEvent(nameBox, &release);
    }
};

Fixture* g_fixture = nullptr;

void BM_TypedNameToPaintedWindow(benchmark::State& state)
{
    Fixture& f = *g_fixture;
    for (auto _ : state) {
        f.TypeAndEnter();
        benchmark::DoNotOptimize(f.Form->State.Traces[0].Table.get());
    }
    if (f.Form->State.DisplayedTraces != kHistorySlots || f.Form->State.NumYs() != 3)
        state.SkipWithError("not ten traces of three Ys");
}

void BM_LoadDataFileOnly(benchmark::State& state)
{
    PlotState plot;
    PlainControls controls;
    plot.Controls = &controls;
    plot.ColumnMap = {1, 2, 3, 4};
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadDataFile(plot, g_fixture->File).Ok);
}

void BM_PaintGraphOnly(benchmark::State& state)
{
    for (auto _ : state)
        g_fixture->Form->PaintGraph();
}

}   // namespace

BENCHMARK(BM_TypedNameToPaintedWindow)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);
BENCHMARK(BM_LoadDataFileOnly)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);
BENCHMARK(BM_PaintGraphOnly)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    const QString cwd = QDir::currentPath();
    {
        Fixture fixture;
        g_fixture = &fixture;
        benchmark::RunSpecifiedBenchmarks();
        g_fixture = nullptr;
    }
    QDir::setCurrent(cwd);
    benchmark::Shutdown();
    return 0;
}
