// Importing a NEM12 file of three years of 5-minute data in three channels
// (E1, E2, B1: 946,080 values, about 6 MB) into a new history database,
// against the bare reading of the same file: line by line, every value
// converted with std::from_chars. Figure and reference alternate, three times
// each, in the same process.
#include "benchsupport.h"
#include "nem12days.h"

#include "history/historystore.h"
#include "meterdata/meterstore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <charconv>
#include <cstdio>
#include <string>

namespace {

QTemporaryDir& Folder() {
    static QTemporaryDir dir;
    return dir;
}

const QString& File() {
    static const QString path = [] {
        const QString p = Folder().path() + QStringLiteral("/NEM12#bench#20210101#20231231.csv");
        QFile f(p);
        f.open(QIODevice::WriteOnly);
        f.write("100,NEM12,202401010000,MDP1,Retail1\r\n");
        int n = 0;
        WriteFiveMinuteChannels(f, "6123456789", QDate(2021, 1, 1), QDate(2024, 1, 1), n);
        f.write("900\r\n");
        return p;
    }();
    return path;
}

void BM_ReadLinesFromChars(benchmark::State& state) {
    const std::string path = File().toStdString();
    for (auto _ : state) {
        double sum = 0;
        const long values = ReadLinesFromChars(path.c_str(), sum);
        benchmark::DoNotOptimize(sum);
        state.counters["values"] = static_cast<double>(values);
    }
}

void BM_ImportIntoNewDatabase(benchmark::State& state) {
    const QString path = File();
    int round = 0;
    for (auto _ : state) {
        const QString db = Folder().path() + QStringLiteral("/h%1.sqlite").arg(++round);
        THistoryStore history(db);
        history.Open();
        MeterStore store(history.Database());
        const ImportResult r = store.Import(path);
        qint64 values = 0;
        for (const ChannelSummary& c : r.channels) {
            values += c.intervals;
        }
        state.counters["values"] = static_cast<double>(values);
        state.PauseTiming();
        history.Close();
        QFile::remove(db);
        QFile::remove(db + QStringLiteral("-wal"));
        QFile::remove(db + QStringLiteral("-shm"));
        state.ResumeTiming();
    }
}

// The reader alone, days handed to a sink that only counts them: what the
// parsing and checks cost beyond the bare reading.
void BM_ReadNem12Only(benchmark::State& state) {
    struct Counting : MeterSink {
        qint64 values = 0;
        void Day(const MeterDay& d) override { values += static_cast<qint64>(d.kwh.size()); }
    };
    const QString path = File();
    for (auto _ : state) {
        Counting sink;
        ReadMeterFile(path, sink);
        state.counters["values"] = static_cast<double>(sink.values);
    }
}

// What a new database costs before any interval: the file, WAL and the
// migration steps, each committed with a sync.
void BM_OpenNewDatabase(benchmark::State& state) {
    int round = 0;
    for (auto _ : state) {
        const QString db = Folder().path() + QStringLiteral("/o%1.sqlite").arg(++round);
        THistoryStore history(db);
        history.Open();
        state.PauseTiming();
        history.Close();
        QFile::remove(db);
        QFile::remove(db + QStringLiteral("-wal"));
        QFile::remove(db + QStringLiteral("-shm"));
        state.ResumeTiming();
    }
}

} // namespace

int main(int argc, char** argv) {
    for (int run = 1; run <= 3; ++run) {
        const std::string suffix = "/run:" + std::to_string(run);
        benchmark::RegisterBenchmark(("BM_ReadLinesFromChars" + suffix).c_str(),
                                     BM_ReadLinesFromChars)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(3);
        benchmark::RegisterBenchmark(("BM_ImportIntoNewDatabase" + suffix).c_str(),
                                     BM_ImportIntoNewDatabase)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(3);
        benchmark::RegisterBenchmark(("BM_ReadNem12Only" + suffix).c_str(), BM_ReadNem12Only)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(3);
        benchmark::RegisterBenchmark(("BM_OpenNewDatabase" + suffix).c_str(), BM_OpenNewDatabase)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(3);
    }
    return RunBenchmarks(argc, argv);
}
