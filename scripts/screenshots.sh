#!/usr/bin/env bash
# Pictures of the real window under Xvfb, for docs/: the three pages, the
# History page with a year of monthly periods, the compare-plans page and the
# four switch states at 100 %; the readings page at 150 % and 200 %.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/setup.sh" "$here/build" >/dev/null
out="${1:-$here/docs}"
run() {
  xvfb-run -a -s "-screen 0 2600x1400x24" env QT_QPA_PLATFORM=xcb LC_ALL=en_US.UTF-8 "$@"
}
run env VOLTISK_SCREENSHOTS="$out" "$here/build/tests/test_view" --gtest_filter='Screenshots.*'
for scale in 1.5 2; do
  tmp="$(mktemp -d)"
  run env QT_SCALE_FACTOR="$scale" VOLTISK_SCREENSHOTS="$tmp" "$here/build/tests/test_view" \
    --gtest_filter='Screenshots.ThreePages'
  cp "$tmp/standard.png" "$out/standard-scale-$scale.png"
  rm -rf "$tmp"
done
