#!/usr/bin/env bash
# Builds the benchmarks (Release) and runs them, printing each figure next to
# its reference from the same run and the ratio. Usage: scripts/bench.sh [repetitions]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
reps="${1:-5}"
"$here/scripts/setup.sh" "$here/build-bench" -DCMAKE_BUILD_TYPE=Release -DVOLTISK_BUILD_BENCH=ON \
  -DVOLTISK_BUILD_TESTS=OFF >/dev/null
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
for b in bench_keystroke bench_startup bench_files bench_window bench_history; do
  "$here/build-bench/bench/$b" --benchmark_repetitions="$reps" --benchmark_report_aggregates_only=true \
    --benchmark_format=json --benchmark_out="$out/$b.json" --benchmark_out_format=json >/dev/null
done
python3 - "$out" <<'PY'
import json, sys, glob, os
medians = {}
for f in glob.glob(os.path.join(sys.argv[1], "*.json")):
    for b in json.load(open(f))["benchmarks"]:
        if b.get("aggregate_name") == "median":
            medians[b["run_name"].split("/")[0]] = b
def t(name): return medians[name]["real_time"], medians[name]["time_unit"]
def row(label, fig, ref, aim):
    (a, u), (b, _) = t(fig), t(ref)
    print(f"{label:<46} {a:10.3f} {u:<3} vs {b:10.3f} {u:<3} ratio {a/b:5.2f}  (aim {aim})")
print(f"{'figure':<46} {'median':>14}    {'reference':>14}")
print("What a user waits for:")
row("keystroke through the view, with repaint", "BM_KeystrokeThroughView", "BM_BareLineEditKeystrokeAndRename", "<= 2.5")
a, b = medians["BM_KeystrokeThroughView"]["cpu_time"], medians["BM_BareLineEditKeystrokeAndRename"]["cpu_time"]
print(f"{'  the same, processor time of the process':<46} {a:10.3f} us  vs {b:10.3f} us  ratio {a/b:5.2f}")
row("start-up to the first finished paint", "BM_StartupVoltiskPainted", "BM_StartupBareWindowPainted", "<= 1.4")
rv = medians["BM_StartupVoltiskPainted"]["peak_rss_KiB"]; rb = medians["BM_StartupBareWindowPainted"]["peak_rss_KiB"]
print(f"{'peak resident memory, painted start-up (KiB)':<46} {rv:10.0f}     vs {rb:10.0f}     ratio {rv/rb:5.2f}  (aim <= 1.15)")
ns = 1e9 / medians["BM_ReportBytes"]["bytes_per_second"]
print(f"{'report text built and converted, per byte':<46} {ns:10.2f} ns                      (aim <= 3)")
print("The earlier figures (model only; windows never painted):")
row("keystroke: CalcAll with report", "BM_KeystrokeCalcAll", "BM_PlainReportWrite", "-")
row("keystroke: CalcAll vs plain temp-file + rename", "BM_KeystrokeCalcAll", "BM_PlainAtomicReportWrite", "-")
row("keystroke: CalcAll vs label formatting alone", "BM_KeystrokeCalcAll", "BM_FormatLabelsOnly", "-")
row("window keystroke: texts measured vs not", "BM_WindowKeystrokeFitted", "BM_WindowKeystrokeUnfitted", "-")
row("window keystroke: window grows vs not", "BM_WindowKeystrokeGrowing", "BM_WindowKeystrokeWideUnfitted", "-")
row("start-up to shown and calculated window", "BM_StartupVoltisk", "BM_StartupBareWindow", "-")
rv = medians["BM_StartupVoltisk"]["peak_rss_KiB"]; rb = medians["BM_StartupBareWindow"]["peak_rss_KiB"]
print(f"{'peak resident memory after start-up (KiB)':<46} {rv:10.0f}     vs {rb:10.0f}     ratio {rv/rb:5.2f}  (-)")
s, u = t("BM_LoadAndSaveSettings")
print(f"{'loadsettings + savesettings, full file':<46} {s:10.3f} {u}")
c = medians["BM_ReadCsvFile10MB"]["bytes_per_second"] / 1e6; l = medians["BM_ReadLinesOnly10MB"]["bytes_per_second"] / 1e6
print(f"{'ReadCsvFile, 10 MB bill (MB/s)':<46} {c:10.1f}     vs {l:10.1f}     ratio {l/c:5.2f}  (lines only / reader)")
for label, fig, ref in (("History page first show, 10,000 periods", "BM_HistoryPageFirstShow", "BM_SqliteReadSameRows"),
                        ("add a period vs bare one-row insert", "BM_HistoryAddPeriod", "BM_SqliteBareInsert")):
    row(label, fig, ref, "<= 3")
    a, b = medians[fig]["cpu_time"], medians[ref]["cpu_time"]
    print(f"{'  the same in CPU time':<46} {a:10.3f} {medians[fig]['time_unit']:<3} vs {b:10.3f} {medians[ref]['time_unit']:<3} ratio {a/b:5.2f}")
PY
