#!/usr/bin/env bash
# Builds the benchmarks (Release, in build-bench) and runs them several times,
# printing for each figure the ratio to its reference from the same run: the
# median over the runs and their spread (lowest to highest).
# Usage: scripts/bench.sh [runs (>= 3)] [repetitions per run] [pause between runs, s]
# Within a run every figure and its reference are interleaved: Google
# Benchmark's random interleaving of repetitions, and start-up alternates
# the two processes start by start.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
runs="${1:-3}"
reps="${2:-6}"
pause="${3:-0}"
if [ "$runs" -lt 3 ]; then
  echo "At least three runs are needed for a spread." >&2
  exit 1
fi
build="$here/build-bench"
benches=(bench_keystroke bench_startup bench_files bench_window bench_history bench_usage)
export CCACHE_DIR="${CCACHE_DIR:-/work/.ccache}" CCACHE_BASEDIR="${CCACHE_BASEDIR:-/work}" CCACHE_NOHASHDIR=1
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVOLTISK_BUILD_BENCH=ON \
  -DVOLTISK_BUILD_TESTS=OFF "${launcher[@]}" >/dev/null
cmake --build "$build" -j2 --target "${benches[@]}" >/dev/null
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
for ((r = 1; r <= runs; r++)); do
  mkdir -p "$out/run$r"
  echo "run $r of $runs at $(date -u +%H:%M:%S), load $(cut -d' ' -f1-3 /proc/loadavg)" >&2
  for b in "${benches[@]}"; do
    "$build/bench/$b" --benchmark_repetitions="$reps" --benchmark_enable_random_interleaving=true \
      --benchmark_report_aggregates_only=true --benchmark_format=json \
      --benchmark_out="$out/run$r/$b.json" --benchmark_out_format=json >/dev/null
  done
  if ((r < runs)); then sleep "$pause"; fi
done
python3 - "$out" "$runs" <<'PY'
import json, sys, glob, os, statistics
root, runs = sys.argv[1], int(sys.argv[2])
def load(run):
    medians = {}
    for f in glob.glob(os.path.join(root, f"run{run}", "*.json")):
        for b in json.load(open(f))["benchmarks"]:
            if b.get("aggregate_name") == "median":
                medians[b["run_name"].split("/")[0]] = b
    return medians
per_run = [load(r) for r in range(1, runs + 1)]
def show(label, values, aim="-", unit=""):
    values = [v for v in values if v is not None]
    if not values:
        print(f"{label:<52} (missing)")
        return
    m = statistics.median(values)
    print(f"{label:<52} {m:9.3f}{unit}  spread {min(values):8.3f} – {max(values):8.3f}  (aim {aim})")
def ratio(fig, ref, field="real_time", aim="-", label=None):
    vals = []
    for m in per_run:
        if fig in m and ref in m and m[ref][field]:
            vals.append(m[fig][field] / m[ref][field])
    show(label or f"{fig} / {ref} ({field})", vals, aim)
def counter(bench, key, label, aim="-"):
    show(label, [m[bench].get(key) if bench in m else None for m in per_run], aim)
print(f"{runs} runs; each value is the median over the runs, then lowest – highest.")
print("What a user waits for (ratios to the reference of the same run):")
ratio("BM_KeystrokeThroughView", "BM_BareLineEditKeystrokeAndRename", "real_time", "<= 2.0",
      "keystroke through the view, wall clock")
ratio("BM_KeystrokeThroughView", "BM_BareLineEditKeystrokeAndRename", "cpu_time", "<= 2.0",
      "  the same, processor time")
counter("BM_StartupPaintedPair", "paint_wall_ratio", "start-up until the first paint has finished", "<= 1.3")
counter("BM_StartupPaintedPair", "paint_cpu_ratio", "  the same, processor time", "<= 1.3")
counter("BM_StartupPaintedPair", "paint_rss_ratio", "  peak resident memory until then", "<= 1.12")
counter("BM_StartupPaintedPair", "wall_ratio", "  the whole process (closing included), wall clock")
counter("BM_StartupPaintedPair", "cpu_ratio", "  the whole process, processor time")
counter("BM_StartupPaintedPair", "rss_ratio", "  the whole process, peak resident memory")
ratio("BM_HistoryPageFirstShow", "BM_SqliteReadSameRows", "real_time", "<= 2.0",
      "history first show, 10,000 periods, wall clock")
ratio("BM_HistoryPageFirstShow", "BM_SqliteReadSameRows", "cpu_time", "<= 2.0", "  the same, processor time")
ratio("BM_UsagePageFirstShow", "BM_SqliteReadMeterDays", "real_time", "<= 3.0",
      "usage first show, 3 years of half-hours x 3, wall clock")
print("Absolute medians:")
counter("BM_StartupPaintedPair", "wall_ms", "  start-up painted, ms")
counter("BM_StartupPaintedPair", "ref_wall_ms", "  bare window painted, ms")
counter("BM_StartupPaintedPair", "paint_cpu_ms", "  start-up painted, processor time, ms")
counter("BM_StartupPaintedPair", "ref_paint_cpu_ms", "  bare window painted, processor time, ms")
counter("BM_StartupPaintedPair", "rss_KiB", "  peak memory, KiB")
counter("BM_StartupPaintedPair", "ref_rss_KiB", "  bare window peak memory, KiB")
for name in ("BM_KeystrokeThroughView", "BM_BareLineEditKeystrokeAndRename", "BM_HistoryPageFirstShow",
             "BM_SqliteReadSameRows"):
    show(f"  {name}, wall", [m[name]["real_time"] if name in m else None for m in per_run],
         unit=" " + (per_run[0].get(name, {}).get("time_unit", "")))
    show(f"  {name}, CPU", [m[name]["cpu_time"] if name in m else None for m in per_run],
         unit=" " + (per_run[0].get(name, {}).get("time_unit", "")))
print("The earlier figures:")
counter("BM_StartupShownPair", "wall_ratio", "start-up to the shown window, never painted")
counter("BM_StartupShownPair", "rss_ratio", "  its peak resident memory")
ratio("BM_KeystrokeCalcAll", "BM_PlainAtomicReportWrite", label="model keystroke vs plain temp file + rename")
ratio("BM_KeystrokeCalcAll", "BM_FormatLabelsOnly", label="model keystroke vs label formatting alone")
ratio("BM_WindowKeystrokeFitted", "BM_WindowKeystrokeUnfitted", label="window keystroke: texts measured vs not")
ratio("BM_WindowKeystrokeGrowing", "BM_WindowKeystrokeWideUnfitted", label="window keystroke: grows vs not")
ratio("BM_HistoryAddPeriod", "BM_SqliteBareInsert", label="add a period vs bare insert, wall")
ratio("BM_HistoryAddPeriod", "BM_SqliteBareInsert", "cpu_time", label="  the same, processor time")
show("loadsettings + savesettings, full file (ms)",
     [m["BM_LoadAndSaveSettings"]["real_time"] if "BM_LoadAndSaveSettings" in m else None for m in per_run])
show("report text per byte (ns)",
     [1e9 / m["BM_ReportBytes"]["bytes_per_second"] if "BM_ReportBytes" in m else None for m in per_run], "<= 3")
PY
