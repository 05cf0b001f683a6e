#!/usr/bin/env bash
# CTest's emulator for Windows test programs: runs one under wine64 inside
# the harness, starting the harness when the run has none yet.
#   wine-exec.sh BUILD_DIR PROGRAM.exe [ARGS...]
set -euo pipefail
build=$1; shift
here=$(cd "$(dirname "$0")" && pwd)
exec "$here/harness.sh" "$build" -- /usr/lib/wine/wine64 "$@"
