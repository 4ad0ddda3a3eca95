// One keystroke in a reading field: the whole CalcAll run, report included,
// next to the two pieces it is made of: formatting the same labels alone, and
// writing the same report bytes to the same folder with plain file calls.
#include "benchsupport.h"

#include "calc/periodcalc.h"
#include "calc/report.h"
#include "mylib/money.h"

#include <QDir>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

void Fill(TForm1& f) {
    f.dt1->SetDate(QDate(2024, 1, 1));
    f.dt2->UserSetDate(QDate(2024, 1, 31));
    f.Edit6->SetText("1000");
    f.Edit7->SetText("1300");
    f.Edit9->SetText("500");
    f.Edit10->SetText("560");
}

// The report CalcAll writes for the current window, found on disk.
QString ReportOnDisk(TForm1& f) {
    const QString folder = QFileInfo(f.IniSettings1->GetFullIniFilename()).absolutePath();
    const QStringList reports = QDir(folder).entryList({"report_*.html"}, QDir::Files);
    return reports.isEmpty() ? QString() : folder + "/" + reports.first();
}

void BM_KeystrokeCalcAll(benchmark::State& state) {
    BenchForm b;
    Fill(*b.form);
    int n = 0;
    for (auto _ : state) {
        // Alternate the last digit, as typing and deleting would.
        b.form->Edit7->SetText((n++ & 1) ? "1300" : "1301");
    }
    if (b.form->sb1->SimpleText() != "    Report file written to disk.") {
        state.SkipWithError("the report was not written");
    }
}

void BM_FormatLabelsOnly(benchmark::State& state) {
    BenchForm b;
    Fill(*b.form);
    PeriodInputs in;
    in.generalBefore = "1000";
    in.generalAfter = "1300";
    in.hotWaterBefore = "500";
    in.hotWaterAfter = "560";
    in.generalDailyCharge = "1.00326";
    in.generalRate = "0.28283";
    in.hwDailyCharge = "0.19431";
    in.hwRate = "0.17057";
    const QLocale locale;
    for (auto _ : state) {
        const PeriodFigures f = ComputePeriod(30, in, locale);
        benchmark::DoNotOptimize(PeriodLabelTexts(f, false, true, locale, MoneyDecimals()));
    }
}

// Writes the bytes of the report CalcAll leaves on disk with plain calls, to
// `<report>.plain`, through a temporary file and a rename when `atomic`.
void PlainReportWrite(benchmark::State& state, bool atomic) {
    BenchForm b;
    Fill(*b.form);
    QFile original(ReportOnDisk(*b.form));
    if (!original.open(QIODevice::ReadOnly)) {
        state.SkipWithError("no report on disk");
        return;
    }
    const QByteArray bytes = original.readAll();
    const QByteArray target = QFile::encodeName(original.fileName() + ".plain");
    const QByteArray temp = target + ".tmp";
    for (auto _ : state) {
        FILE* out = std::fopen((atomic ? temp : target).constData(), "wb");
        std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), out);
        std::fclose(out);
        if (atomic) {
            std::rename(temp.constData(), target.constData());
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes.size());
}

void BM_PlainReportWrite(benchmark::State& state) {
    PlainReportWrite(state, false);
}

// The same bytes replaced the safe way: the floor for a report that a crash
// can never leave half written.
void BM_PlainAtomicReportWrite(benchmark::State& state) {
    PlainReportWrite(state, true);
}

} // namespace

BENCHMARK(BM_KeystrokeCalcAll)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FormatLabelsOnly)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainReportWrite)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainAtomicReportWrite)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    return RunBenchmarks(argc, argv);
}
