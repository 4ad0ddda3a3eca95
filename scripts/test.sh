#!/usr/bin/env bash
# Sets everything up, builds, and runs every test offscreen: first the normal
# build, then its Debian package is made and checked (scripts/package-check.sh),
# then the same suite built with AddressSanitizer and UndefinedBehaviorSanitizer.
# Usage: scripts/test.sh [--no-sanitizers]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export QT_QPA_PLATFORM=offscreen

"$here/scripts/setup.sh" "$here/build" -DVOLTISK_WERROR=ON
ctest --test-dir "$here/build" --output-on-failure -j2
"$here/scripts/package-check.sh" "$here/build"

if [ "${1:-}" != "--no-sanitizers" ]; then
  echo "== The same tests under AddressSanitizer and UndefinedBehaviorSanitizer"
  "$here/scripts/setup.sh" "$here/build-asan" -DCMAKE_BUILD_TYPE=Debug -DVOLTISK_SANITIZE=ON -DVOLTISK_WERROR=ON
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    LSAN_OPTIONS="suppressions=$here/scripts/lsan.supp" \
    ctest --test-dir "$here/build-asan" --output-on-failure -j2
fi
