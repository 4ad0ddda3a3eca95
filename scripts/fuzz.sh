#!/usr/bin/env bash
# Builds the fuzz targets with clang (ASan + UBSan + libFuzzer) and runs each
# for the given number of seconds on its corpus under fuzz/corpus/<name>.
# Usage: scripts/fuzz.sh [seconds-per-target] [target...]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-60}"
shift || true
build="$here/build-fuzz"
"$here/scripts/deps.sh" clang
CC=clang CXX=clang++ cmake -S "$here" -B "$build" -DVOLTISK_FUZZ=ON -DVOLTISK_BUILD_TESTS=OFF \
  -DVOLTISK_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in "$here"/fuzz/*_fuzz.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}"
mkdir -p "$here/fuzz/findings"
failed=()
for t in "${targets[@]}"; do
  corpus="$here/fuzz/corpus/$t"
  work="$build/corpus/$t"
  mkdir -p "$corpus" "$work"
  echo "== $t for ${seconds}s"
  # A finding in one target does not keep the others from running.
  QT_QPA_PLATFORM=offscreen "$build/fuzz/$t" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$here/fuzz/findings/$t-" "$work" "$corpus" || failed+=("$t")
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "Findings in: ${failed[*]} (inputs in fuzz/findings/)" >&2
  exit 1
fi
