// Peak resident memory while importing a large NEM12 file (256 MB by default;
// VOLTISK_BIG_MB sets the size, up to 1024) into a new history database,
// against reading the same file line by line with every value converted by
// std::from_chars. Each side runs in a new process of this program (so each
// has its own peak), started alternately, three times each; the peaks are
// the counters `peak_MiB`. The 6 MB file of bench_meterdata is imported the
// same way beside them, to show the peak does not grow with the file.
//
// Not part of scripts/bench.sh: writing the file and importing it takes about
// a minute here.
#include "nem12days.h"

#include "history/historystore.h"
#include "meterdata/meterstore.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string self;

QTemporaryDir& Folder() {
    static QTemporaryDir dir;
    return dir;
}

// `meters` meters of three 5-minute channels (E1, E2, B1) over `years` years
// from 2000: about 0.6 MB a channel and year.
QString WriteNem12(const QString& name, int meters, int years) {
    const QString p = Folder().path() + u'/' + name;
    QFile f(p);
    if (!f.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(p));
        std::exit(1);
    }
    f.write("100,NEM12,202401010000,MDP1,Retail1\r\n");
    int n = 0;
    for (int m = 0; m < meters; ++m) {
        WriteFiveMinuteChannels(f, "61234567" + QByteArray::number(10 + m), QDate(2000, 1, 1),
                                QDate(2000 + years, 1, 1), n);
    }
    f.write("900\r\n");
    return p;
}

const QString& BigFile() {
    static const QString path = [] {
        const char* mb = std::getenv("VOLTISK_BIG_MB");
        const int size = mb != nullptr ? std::clamp(std::atoi(mb), 50, 1024) : 256;
        // A meter of 20 years is about 37 MB.
        return WriteNem12(QStringLiteral("big.csv"), std::max(1, size / 37), 20);
    }();
    return path;
}

const QString& SmallFile() {
    static const QString path = [] {
        // Three years: the file of bench_meterdata.
        return WriteNem12(QStringLiteral("small.csv"), 1, 3);
    }();
    return path;
}

// Runs this program again as `mode` on `file`; its peak resident memory in MiB.
double PeakOfChild(const char* mode, const QString& file) {
    static int round = 0;
    const std::string path = file.toStdString();
    const std::string db =
        (Folder().path() + QStringLiteral("/h%1.sqlite").arg(++round)).toStdString();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execl(self.c_str(), self.c_str(), mode, path.c_str(), db.c_str(),
                static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed with status %d\n", mode, status);
        std::exit(1);
    }
    for (const char* end : {"", "-wal", "-shm"}) {
        std::remove((db + end).c_str());
    }
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void Measure(benchmark::State& state, const char* mode, const QString& file) {
    double peak = 0;
    for (auto _ : state) {
        peak = PeakOfChild(mode, file);
    }
    state.counters["peak_MiB"] = peak;
    state.counters["file_MiB"] = static_cast<double>(QFile(file).size()) / (1 << 20);
}

void BM_ReadBigLinesPeak(benchmark::State& state) {
    Measure(state, "--read", BigFile());
}
void BM_ImportBigPeak(benchmark::State& state) {
    Measure(state, "--import", BigFile());
}
void BM_ImportSmallPeak(benchmark::State& state) {
    Measure(state, "--import", SmallFile());
}

// The reference: every value of every 300 record converted, nothing kept.
int ReadLines(const char* path) {
    double sum = 0;
    return ReadLinesFromChars(path, sum) > 0 && sum > 0 ? 0 : 1;
}

int Import(const char* path, const char* db) {
    THistoryStore history(QString::fromLocal8Bit(db));
    history.Open();
    MeterStore store(history.Database());
    return store.Import(QString::fromLocal8Bit(path)).channels.empty() ? 1 : 0;
}

} // namespace

int main(int argc, char** argv) {
    self = argv[0];
    if (argc == 4 && std::strcmp(argv[1], "--read") == 0) {
        QCoreApplication app(argc, argv); // the same process set-up on both sides
        return ReadLines(argv[2]);
    }
    if (argc == 4 && std::strcmp(argv[1], "--import") == 0) {
        QCoreApplication app(argc, argv);
        return Import(argv[2], argv[3]);
    }
    QCoreApplication app(argc, argv);
    for (int run = 1; run <= 3; ++run) {
        const std::string suffix = "/run:" + std::to_string(run);
        for (auto [name, fn] : {std::pair{"BM_ReadBigLinesPeak", &BM_ReadBigLinesPeak},
                                std::pair{"BM_ImportBigPeak", &BM_ImportBigPeak},
                                std::pair{"BM_ImportSmallPeak", &BM_ImportSmallPeak}}) {
            benchmark::RegisterBenchmark((name + suffix).c_str(), fn)
                ->Unit(benchmark::kSecond)
                ->Iterations(1);
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
