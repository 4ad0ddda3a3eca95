#!/usr/bin/env bash
# Renders every golden period report (tests/data/report_*.html) to a PNG with
# headless Chromium, installing Debian's chromium package when missing. Fails
# when a report gives no picture. Usage: scripts/render-reports.sh [out-dir]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="${1:-$here/build/report-png}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"

"$here/scripts/deps.sh" chromium

# A new profile for every run, so nothing of an earlier run (or of the user's
# own browser) takes part.
profile="$(mktemp -d)"
trap 'rm -rf "$profile"' EXIT

shopt -s nullglob
reports=("$here"/tests/data/report_*.html)
if [ ${#reports[@]} -eq 0 ]; then
  echo "No reports found in $here/tests/data" >&2
  exit 1
fi

failed=0
for report in "${reports[@]}"; do
  png="$out/$(basename "${report%.html}").png"
  rm -f "$png"
  status=0
  chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$profile" --screenshot="$png" --window-size=1000,1400 \
    "file://$report" >"$profile/log" 2>&1 || status=$?
  # A PNG starts with the bytes 89 50 4E 47 ("\x89PNG").
  if [ "$status" -eq 0 ] && [ -s "$png" ] && [ "$(head -c 4 "$png" | od -An -tx1 | tr -d ' \n')" = "89504e47" ]; then
    echo "rendered $png"
  else
    echo "FAILED to render $report (chromium exit $status):" >&2
    cat "$profile/log" >&2
    failed=1
  fi
done
exit "$failed"
