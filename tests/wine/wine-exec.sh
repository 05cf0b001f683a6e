#!/usr/bin/env bash
# CTest's emulator for Windows test programs: runs one under the build's
# Wine loader (ZANDRIX_WINE) inside the harness, starting the harness when
# the run has none yet.
#   wine-exec.sh BUILD_DIR PROGRAM.exe [ARGS...]
set -euo pipefail
build=$1; shift
here=$(cd "$(dirname "$0")" && pwd)
exec "$here/harness.sh" "$build" -- bash -c 'exec "$ZANDRIX_WINE" "$@"' wine-exec "$@"
