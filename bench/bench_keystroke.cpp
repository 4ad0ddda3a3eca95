// One keystroke in a reading field. What a user waits for: a real key event
// through the window's edit field, the model's CalcAll with its report, and
// the repaint of everything that changed, against a bare QLineEdit taking the
// same key with its repaint plus the same report bytes written to a temporary
// file and renamed over the report. Kept beside them: the model alone (no
// view, no repaint) and the pieces it is made of (formatting the labels,
// building the report text, writing its bytes with plain file calls).
#include "benchsupport.h"

#include "app/view/formview.h"

#include "calc/periodcalc.h"
#include "calc/report.h"
#include "mylib/money.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPaintEvent>
#include <QTest>
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
        benchmark::DoNotOptimize(
            PeriodLabelTexts(f, false, true, locale, CurrencyDecimals(locale)));
    }
}

// Counts the paint events of the widgets it watches, so that a benchmark can
// tell that its repaint really happened.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
        }
        return false;
    }
};

// Types into `edit` as a user does: a digit, then Backspace, each key
// followed by the repaint it causes.
void TypeAndRepaint(QLineEdit* edit, int n) {
    QTest::keyClick(edit, (n & 1) ? Qt::Key_Backspace : Qt::Key_1);
    QApplication::processEvents();
}

void BM_KeystrokeThroughView(benchmark::State& state) {
    BenchForm b(false);
    TFormView view(*b.form);
    b.form->Show();
    view.show();
    QApplication::setActiveWindow(&view);
    Fill(*b.form);
    auto* edit = view.Widget<QLineEdit>("Edit7");
    edit->setFocus();
    edit->end(false);
    QApplication::processEvents();
    PaintCounter counter;
    view.Widget<QWidget>("tresult")->installEventFilter(&counter);
    int n = 0;
    for (auto _ : state) {
        TypeAndRepaint(edit, n++);
    }
    if (b.form->sb1->SimpleText() != "    Report file written to disk." || counter.paints == 0) {
        state.SkipWithError("no report or no repaint");
    }
    state.counters["result_paints_per_key"] =
        static_cast<double>(counter.paints) / static_cast<double>(std::max(n, 1));
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

// The reference for a keystroke through the view: a bare QLineEdit in a
// window of Voltisk's size takes the same key and repaints, and the same
// report bytes are written to a temporary file and renamed over the report.
void BM_BareLineEditKeystrokeAndRename(benchmark::State& state) {
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
    QWidget window;
    window.setFixedSize(b.form->Width(), b.form->Height());
    QLineEdit edit(&window);
    edit.setGeometry(140, 51, 122, 22);
    edit.setText("1300");
    window.show();
    QApplication::setActiveWindow(&window);
    edit.setFocus();
    QApplication::processEvents();
    PaintCounter counter;
    edit.installEventFilter(&counter);
    int n = 0;
    for (auto _ : state) {
        TypeAndRepaint(&edit, n++);
        FILE* out = std::fopen(temp.constData(), "wb");
        std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), out);
        std::fclose(out);
        std::rename(temp.constData(), target.constData());
    }
    if (counter.paints == 0) {
        state.SkipWithError("no repaint");
    }
}

// The report text of a typical period built and converted to UTF-8, per byte.
void BM_ReportBytes(benchmark::State& state) {
    PeriodReport report;
    report.inputs.generalBefore = "41230";
    report.inputs.generalAfter = "41712";
    report.inputs.hotWaterBefore = "9120";
    report.inputs.hotWaterAfter = "9264";
    report.inputs.generalDailyCharge = "1.00326";
    report.inputs.generalRate = "0.28283";
    report.inputs.hwDailyCharge = "0.19431";
    report.inputs.hwRate = "0.17057";
    report.firstDate = "11/8/2026";
    report.laterDate = "12/8/2026";
    const QLocale locale;
    report.labels = PeriodLabelTexts(ComputePeriod(30, report.inputs, locale), false, true, locale,
                                     CurrencyDecimals(locale));
    qsizetype size = 0;
    for (auto _ : state) {
        const QByteArray bytes = ReportBytes(report);
        size = bytes.size();
        benchmark::DoNotOptimize(bytes.constData());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * size);
    state.counters["report_bytes"] = static_cast<double>(size);
}

} // namespace

BENCHMARK(BM_KeystrokeThroughView)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BareLineEditKeystrokeAndRename)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeystrokeCalcAll)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReportBytes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FormatLabelsOnly)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainReportWrite)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainAtomicReportWrite)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    return RunBenchmarks(argc, argv);
}
