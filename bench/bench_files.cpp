// The settings round trip at start and end of a run, and the bill reader on a
// 10 MB file against reading the same bytes line by line without splitting.
#include "benchsupport.h"

#include "mylib/ucsv.h"

#include <QFile>
#include <QTextStream>
#include <benchmark/benchmark.h>

namespace {

// loadsettings plus savesettings on a settings file holding every key.
void BM_LoadAndSaveSettings(benchmark::State& state) {
    BenchForm b;
    b.form->Edit6->SetText("41230");
    b.form->Edit7->SetText("41712");
    b.form->savesettings();
    for (auto _ : state) {
        b.form->loadsettings();
        b.form->savesettings();
    }
}

// A bill-shaped file of about 10 MB: a header and rows of eight fields, some quoted.
QString MakeBill(const QString& folder) {
    const QString path = folder + "/bill.csv";
    QFile f(path);
    if (!f.exists() && f.open(QIODevice::WriteOnly)) {
        QByteArray row;
        f.write("Account,Tariff,Start_Date,End_Date,Reading,Usage,Rate,Notes\r\n");
        for (int i = 0; f.size() < 10 * 1024 * 1024; ++i) {
            row = "1234567,Residential - 31,01012024,31122023," + QByteArray::number(12000 + i) +
                  ",\"1,204.5\",0.28283,\"said \"\"hi\"\" at the door\"\r\n";
            f.write(row);
        }
    }
    return path;
}

void BM_ReadCsvFile10MB(benchmark::State& state) {
    BenchForm b;
    const QString path = MakeBill(b.dir.path());
    for (auto _ : state) {
        const CsvReadResult read = ReadCsvFile(path, false);
        if (!read.error.isEmpty()) {
            state.SkipWithError("read failed");
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * QFile(path).size());
}

void BM_ReadLinesOnly10MB(benchmark::State& state) {
    BenchForm b;
    const QString path = MakeBill(b.dir.path());
    for (auto _ : state) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) {
            state.SkipWithError("open failed");
            break;
        }
        QTextStream in(&f);
        qsizetype total = 0;
        QString line;
        while (in.readLineInto(&line)) {
            total += line.size();
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * QFile(path).size());
}

} // namespace

BENCHMARK(BM_LoadAndSaveSettings)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadCsvFile10MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadLinesOnly10MB)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return RunBenchmarks(argc, argv);
}
