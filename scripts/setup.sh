#!/usr/bin/env bash
# Installs the Debian packages the build needs (when missing), then configures
# and builds. Usage: scripts/setup.sh [build-dir] [extra cmake options...]
# Configure messages are kept quiet unless configuring fails.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$here/build}"
shift || true
"$here/scripts/deps.sh"
log="$(mktemp)"
trap 'rm -f "$log"' EXIT
if ! cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >"$log" 2>&1; then
  cat "$log" >&2
  echo "Configuring $build failed." >&2
  exit 1
fi
cmake --build "$build" -j"$(nproc)"
