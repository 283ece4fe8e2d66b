// SPDX-License-Identifier: MIT
// A second start that hands a 10,000-line file to the running copy, timed
// from its start until its process has ended (the running copy has loaded
// and drawn the file by then). Beside it: starting and reaping /bin/true,
// the floor any start pays, and a second start without a file, which
// leaves the loading out.
//
// Run from the build tree: bench/bench_app_handover <path to tracely>
// (defaults to ../app/tracely beside this program).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

std::string g_program;
std::string g_root;
pid_t g_first = -1;

pid_t Spawn(const std::vector<std::string>& args)
{
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    return pid;
}

int RunToEnd(const std::vector<std::string>& args)
{
    const pid_t pid = Spawn(args);
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool FileHas(const std::string& path, const std::string& text)
{
    std::ifstream in(path);
    const std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return all.find(text) != std::string::npos;
}

// A private tree: the program beside its option file (single copy on), a
// runtime directory, a data file, and the first copy running in it.
bool SetUpFirstCopy()
{
    char pattern[] = "/tmp/bench_handover-XXXXXX";
    if (!::mkdtemp(pattern))
        return false;
    g_root = pattern;
    ::mkdir((g_root + "/runtime").c_str(), 0700);
    const std::string program = g_root + "/tracely";
    if (::link(g_program.c_str(), program.c_str()) != 0 && RunToEnd({"/bin/cp", g_program, program}) != 0)
        return false;
    std::ofstream(g_root + "/Tracely.ini") << "[Option]\nNoMulExec=1\n";
    {
        std::ofstream data(g_root + "/lines.dat");
        for (int i = 0; i < 10000; ++i)
            data << i * 0.001 << ' ' << (i % 97) * 0.5 << ' ' << (i % 13) - 6.0 << '\n';
    }
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("XDG_RUNTIME_DIR", (g_root + "/runtime").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", g_root.c_str(), 1);
    g_program = program;
    // Only the first copy's events are wanted; the log would grow with every run.
    g_first = Spawn({program, "--event-log", g_root + "/events.log"});
    for (int i = 0; i < 500; ++i) {
        if (FileHas(g_root + "/events.log", "listening"))
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return g_first > 0;
}

void TearDown()
{
    if (g_first > 0) {
        ::kill(g_first, SIGTERM);
        ::waitpid(g_first, nullptr, 0);
    }
    if (!g_root.empty())
        RunToEnd({"/bin/rm", "-rf", g_root});
}

void BM_StartOfBinTrue(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(RunToEnd({"/bin/true"}));
}

void BM_SecondStartWithoutAFile(benchmark::State& state)
{
    for (auto _ : state) {
        if (RunToEnd({g_program}) != 255)
            state.SkipWithError("the second copy did not hand over");
    }
}

void BM_SecondStartHandingOver10000Lines(benchmark::State& state)
{
    const std::string file = g_root + "/lines.dat";
    for (auto _ : state) {
        if (RunToEnd({g_program, file}) != 255)
            state.SkipWithError("the second copy did not hand over");
    }
}

}   // namespace

BENCHMARK(BM_StartOfBinTrue)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_SecondStartWithoutAFile)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly();
BENCHMARK(BM_SecondStartHandingOver10000Lines)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly();

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (argc > 1) {
        g_program = argv[1];
    } else {
        std::string self = argv[0];
        const std::size_t slash = self.rfind('/');
        g_program = (slash == std::string::npos ? std::string(".") : self.substr(0, slash)) + "/../app/tracely";
    }
    if (!SetUpFirstCopy()) {
        std::fprintf(stderr, "cannot start the first copy from %s\n", g_program.c_str());
        TearDown();
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    TearDown();
    return 0;
}
