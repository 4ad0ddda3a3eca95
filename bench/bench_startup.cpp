// Start-up and the peak resident memory of those same processes. What a user
// waits for: the program until the first paint of its shown window has
// finished, against a bare window of the same size painted once. Kept beside
// it, the earlier figure: the program until its window is shown and
// calculated (never painted), against a bare window showing one label.
//
// Figure and reference alternate process by process inside one benchmark, so
// a change of load on a shared machine falls on both alike. Each pair's
// ratio is taken, and the median of those ratios is reported with the
// median times, processor times and peak memories of either side.
#include "benchsupport.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <vector>

extern char** environ;

namespace {

struct Run {
    double wallMs = 0;
    double cpuMs = 0; // user and system time of the child
    double rssKiB = 0;
};

double Seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

double Now() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// Runs the program to its end.
Run RunOnce(const char* program) {
    pid_t pid = 0;
    char* argv[] = {const_cast<char*>(program), nullptr};
    const double start = Now();
    if (posix_spawn(&pid, program, nullptr, nullptr, argv, environ) != 0) {
        return {};
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    Run r;
    r.wallMs = (Now() - start) * 1e3;
    r.cpuMs = (Seconds(usage.ru_utime) + Seconds(usage.ru_stime)) * 1e3;
    r.rssKiB = static_cast<double>(usage.ru_maxrss);
    return r;
}

double Median(std::vector<double> v) {
    if (v.empty()) {
        return 0;
    }
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// One iteration is one start of the program and one of its reference, the
// order swapped every other time.
void Pair(benchmark::State& state, const char* program, const char* reference) {
    std::vector<double> wall, cpu, rss, refWall, refCpu, refRss, wallRatio, cpuRatio, rssRatio;
    int n = 0;
    for (auto _ : state) {
        Run fig;
        Run ref;
        if (n++ % 2) {
            ref = RunOnce(reference);
            fig = RunOnce(program);
        } else {
            fig = RunOnce(program);
            ref = RunOnce(reference);
        }
        if (fig.wallMs <= 0 || ref.wallMs <= 0) {
            state.SkipWithError("a process could not be started");
            return;
        }
        wall.push_back(fig.wallMs);
        cpu.push_back(fig.cpuMs);
        rss.push_back(fig.rssKiB);
        refWall.push_back(ref.wallMs);
        refCpu.push_back(ref.cpuMs);
        refRss.push_back(ref.rssKiB);
        wallRatio.push_back(fig.wallMs / ref.wallMs);
        cpuRatio.push_back(ref.cpuMs > 0 ? fig.cpuMs / ref.cpuMs : 0);
        rssRatio.push_back(fig.rssKiB / ref.rssKiB);
    }
    state.counters["wall_ms"] = Median(wall);
    state.counters["ref_wall_ms"] = Median(refWall);
    state.counters["wall_ratio"] = Median(wallRatio);
    state.counters["cpu_ms"] = Median(cpu);
    state.counters["ref_cpu_ms"] = Median(refCpu);
    state.counters["cpu_ratio"] = Median(cpuRatio);
    state.counters["peak_rss_KiB"] = Median(rss);
    state.counters["ref_peak_rss_KiB"] = Median(refRss);
    state.counters["rss_ratio"] = Median(rssRatio);
}

void BM_StartupPaintedPair(benchmark::State& state) {
    Pair(state, VOLTISK_STARTUP_PAINTED, BARE_WINDOW_PAINTED);
}
void BM_StartupShownPair(benchmark::State& state) {
    Pair(state, VOLTISK_STARTUP, BARE_WINDOW);
}

} // namespace

BENCHMARK(BM_StartupPaintedPair)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_StartupShownPair)->Unit(benchmark::kMillisecond)->Iterations(20);

int main(int argc, char** argv) {
    return RunBenchmarks(argc, argv);
}
