#!/usr/bin/env bash
# Sets everything up, builds, and starts Voltisk. Arguments go to the program.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/setup.sh" "$here/build" >/dev/null
exec "$here/build/src/voltisk" "$@"
