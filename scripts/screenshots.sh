#!/usr/bin/env bash
# Pictures of the real window under Xvfb, for docs/ (or the folder given): the
# three pages, the History page with a year of monthly periods, the compare-plans
# page, the four switch
# states and the converter at 100 %, the user guide's window and a printed plan
# comparison, and the readings page at 150 % and 200 %. The guide's own
# pictures (docs/guide/pictures) are copies of five of them (the Usage page's
# heat map coloured by a time-of-use plan's rate types among them).
# Usage: scripts/screenshots.sh [folder]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/setup.sh" "$here/build" >/dev/null
out="${1:-$here/docs}"
shots="$here/build/tests/voltisk_screenshots"
run() {
  xvfb-run -a -s "-screen 0 2600x1400x24" env QT_QPA_PLATFORM=xcb LC_ALL=en_US.UTF-8 "$@"
}
run "$shots" "$out" all
# The compare-plans page is still pictured by its view test.
run env VOLTISK_SCREENSHOTS="$out" "$here/build/tests/test_view" --gtest_filter='Screenshots.ComparePlans'
for scale in 1.5 2; do
  tmp="$(mktemp -d)"
  run env QT_SCALE_FACTOR="$scale" "$shots" "$tmp" readings
  cp "$tmp/standard.png" "$out/standard-scale-$scale.png"
  rm -rf "$tmp"
done
if [ "$out" = "$here/docs" ]; then
  for pair in standard:readings calculator:calculator history:history plans:plans \
    usage-ratetype:heatmap; do
    cp "$out/${pair%%:*}.png" "$here/docs/guide/pictures/${pair##*:}.png"
  done
fi
