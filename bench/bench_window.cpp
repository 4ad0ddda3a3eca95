// One keystroke in the real window: CalcAll with the view attached, result
// texts measured and given their room, next to the same keystroke with the
// room-giving switched off. The difference is what fitting the texts costs.
#include "benchsupport.h"

#include "app/view/formview.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

// `wide`: every other keystroke makes the texts too wide for their places.
void Keystrokes(benchmark::State& state, bool fit, bool wide) {
    BenchForm b;
    TFormView view(*b.form);
    view.show();
    TForm1& f = *b.form;
    f.dt2->UserSetDate(f.dt1->Date().addDays(92));
    f.Edit6->SetText("1000");
    f.Edit9->SetText("500");
    f.Edit10->SetText("560");
    if (!fit) {
        f.measureText = nullptr;
    }
    int n = 0;
    for (auto _ : state) {
        f.Edit7->SetText((n++ & 1) ? "1300" : (wide ? "987654321" : "1301"));
    }
    if (f.tresultwk->Caption().isEmpty()) {
        state.SkipWithError("no results shown");
    }
}

// Texts that fit: the fitting only measures.
void BM_WindowKeystrokeFitted(benchmark::State& state) {
    Keystrokes(state, true, false);
}

void BM_WindowKeystrokeUnfitted(benchmark::State& state) {
    Keystrokes(state, false, false);
}

// The window grows and shrinks back on every keystroke.
void BM_WindowKeystrokeGrowing(benchmark::State& state) {
    Keystrokes(state, true, true);
}

void BM_WindowKeystrokeWideUnfitted(benchmark::State& state) {
    Keystrokes(state, false, true);
}

} // namespace

BENCHMARK(BM_WindowKeystrokeFitted)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WindowKeystrokeUnfitted)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WindowKeystrokeGrowing)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WindowKeystrokeWideUnfitted)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return RunBenchmarks(argc, argv);
}
