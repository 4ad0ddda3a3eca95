#pragma once
// What a start-up process reports once its first paint has finished: its own
// processor time (user and system, ms) and peak resident memory (KiB) until
// then, as one line on standard output, read by bench_startup.
#include <cstdio>
#include <sys/resource.h>

inline void ReportFirstPaint() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double cpuMs =
        (static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3);
    std::printf("first-paint %.3f %ld\n", cpuMs, usage.ru_maxrss);
    std::fflush(stdout);
}
