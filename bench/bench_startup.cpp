// Start-up and the peak resident memory of that process. What a user waits
// for: the program until its window's first paint has finished, against a
// bare window of the same size painted once. Kept beside it, the earlier
// figure: the program until its window is shown and calculated (never
// painted), against a bare window showing one label (never painted). Each
// iteration starts a fresh process; all run in the same benchmark run.
#include "benchsupport.h"

#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

namespace {

// Runs the program to its end; returns its peak resident set in KiB.
long RunOnce(const char* program) {
    pid_t pid = 0;
    char* argv[] = {const_cast<char*>(program), nullptr};
    if (posix_spawn(&pid, program, nullptr, nullptr, argv, environ) != 0) {
        return -1;
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    return usage.ru_maxrss;
}

void Startup(benchmark::State& state, const char* program) {
    long rss = 0;
    for (auto _ : state) {
        rss = std::max(rss, RunOnce(program));
    }
    state.counters["peak_rss_KiB"] = static_cast<double>(rss);
}

void BM_StartupVoltisk(benchmark::State& state) {
    Startup(state, VOLTISK_STARTUP);
}
void BM_StartupBareWindow(benchmark::State& state) {
    Startup(state, BARE_WINDOW);
}
void BM_StartupVoltiskPainted(benchmark::State& state) {
    Startup(state, VOLTISK_STARTUP_PAINTED);
}
void BM_StartupBareWindowPainted(benchmark::State& state) {
    Startup(state, BARE_WINDOW_PAINTED);
}

} // namespace

BENCHMARK(BM_StartupBareWindow)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_StartupVoltisk)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_StartupBareWindowPainted)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_StartupVoltiskPainted)->Unit(benchmark::kMillisecond)->Iterations(20);

int main(int argc, char** argv) {
    return RunBenchmarks(argc, argv);
}
