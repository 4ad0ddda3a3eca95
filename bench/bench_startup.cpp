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
#include <cstdio>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

struct Run {
    double wallMs = 0;
    double cpuMs = 0; // user and system time of the child
    double rssKiB = 0;
    // The same until the first paint had finished, as the child reported it
    // (0 for a child that reports nothing).
    double paintWallMs = 0;
    double paintCpuMs = 0;
    double paintRssKiB = 0;
};

double Seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

double Now() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// Runs the program to its end, its standard output read as it comes.
Run RunOnce(const char* program) {
    int out[2];
    if (pipe(out) != 0) {
        return {};
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    pid_t pid = 0;
    char* argv[] = {const_cast<char*>(program), nullptr};
    const double start = Now();
    const int spawned = posix_spawn(&pid, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        return {};
    }
    Run r;
    std::string text;
    char buffer[256];
    ssize_t n = 0;
    while ((n = read(out[0], buffer, sizeof buffer)) > 0) {
        text.append(buffer, static_cast<std::size_t>(n));
        if (r.paintWallMs == 0 && text.find('\n') != std::string::npos) {
            r.paintWallMs = (Now() - start) * 1e3;
        }
    }
    close(out[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    r.wallMs = (Now() - start) * 1e3;
    r.cpuMs = (Seconds(usage.ru_utime) + Seconds(usage.ru_stime)) * 1e3;
    r.rssKiB = static_cast<double>(usage.ru_maxrss);
    long rss = 0;
    if (std::sscanf(text.c_str(), "first-paint %lf %ld", &r.paintCpuMs, &rss) != 2) {
        r.paintWallMs = 0;
    }
    r.paintRssKiB = static_cast<double>(rss);
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
    // Each figure of the program, of its reference, and their ratio per pair.
    struct Figure {
        const char* name;
        double Run::*field;
        std::vector<double> fig, ref, ratio;
    };
    Figure figures[] = {
        {"wall", &Run::wallMs, {}, {}, {}},          {"cpu", &Run::cpuMs, {}, {}, {}},
        {"rss", &Run::rssKiB, {}, {}, {}},           {"paint_wall", &Run::paintWallMs, {}, {}, {}},
        {"paint_cpu", &Run::paintCpuMs, {}, {}, {}}, {"paint_rss", &Run::paintRssKiB, {}, {}, {}}};
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
        for (Figure& f : figures) {
            f.fig.push_back(fig.*f.field);
            f.ref.push_back(ref.*f.field);
            f.ratio.push_back(ref.*f.field > 0 ? fig.*f.field / ref.*f.field : 0);
        }
    }
    for (const Figure& f : figures) {
        const std::string name = f.name;
        const std::string unit = name.ends_with("rss") ? "_KiB" : "_ms";
        state.counters[name + unit] = Median(f.fig);
        state.counters["ref_" + name + unit] = Median(f.ref);
        state.counters[name + "_ratio"] = Median(f.ratio);
    }
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
