#!/usr/bin/env bash
# Runs a command inside the project's own Wine environment: a private prefix
# in the build folder, an Xvfb display of its own, unmanaged windows and one
# wineserver for the whole run. Ends only what it started.
#
#   tests/wine/harness.sh BUILD_DIR -- COMMAND [ARGS...]
#
# Inside the command, ZANDRIX_WINE names the loader of the build's programs:
# the one the build folder's file wine-loader names (the 32-bit `wine` for
# the i686 build), else wine64. One 64-bit prefix runs both kinds. A nested
# call (the CTest emulator) reuses the running environment.
set -euo pipefail

build=$(cd "$1" && pwd); shift
[ "${1:-}" = "--" ] && shift

export WINEPREFIX="$build/wineprefix"
# A new prefix links the user's Documents, Desktop and Downloads to the home
# folder: a home of its own keeps the tests' files out of the real one.
export HOME="$build/home"
export WINEDEBUG=-all
export WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export ZANDRIX_WINE=/usr/lib/wine/wine64
if [ -f "$build/wine-loader" ]; then
    ZANDRIX_WINE=$(head -n 1 "$build/wine-loader")
    [ -x "$ZANDRIX_WINE" ] || { echo "harness: $ZANDRIX_WINE is missing (scripts/install-deps.sh installs it)" >&2; exit 1; }
fi
# The prefix is 64-bit: its own tools run with the 64-bit loader.
wine64=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64

if [ -n "${ZANDRIX_HARNESS:-}" ] && [ "${ZANDRIX_HARNESS_PREFIX:-}" = "$WINEPREFIX" ]; then
    exec "$@"
fi

xvfb_pid=""
server_started=""
teardown() {
    if [ -n "$server_started" ]; then
        "$wineserver" -k >/dev/null 2>&1 || true
        "$wineserver" -w >/dev/null 2>&1 || true
    fi
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" >/dev/null 2>&1 || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
}
trap teardown EXIT
trap 'exit 130' INT TERM

# A display nobody else holds.
display=""
for n in $(seq 91 190); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=$n; break; fi
done
[ -n "$display" ] || { echo "harness: no free X display" >&2; exit 1; }
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 100); do
    xdpyinfo -display ":$display" >/dev/null 2>&1 && break
    kill -0 "$xvfb_pid" 2>/dev/null || { echo "harness: Xvfb did not start" >&2; exit 1; }
    sleep 0.1
done
export DISPLAY=":$display"

mkdir -p "$WINEPREFIX" "$HOME"
"$wineserver" -p </dev/null >/dev/null 2>&1
server_started=1
if [ ! -f "$WINEPREFIX/.zandrix-ready" ]; then
    "$wine64" wineboot -i </dev/null >/dev/null 2>&1 || true
    # Without a window manager Wine waits about 2 s for every destroyed window;
    # unmanaged windows do not wait.
    "$wine64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    "$wine64" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d Y /f >/dev/null 2>&1
    touch "$WINEPREFIX/.zandrix-ready"
fi

# Start Wine's own services now, with nothing of ours as their output:
# they live as long as the server and would hold a test runner's pipe open.
"$wine64" wineboot </dev/null >/dev/null 2>&1 || true

export ZANDRIX_HARNESS=1 ZANDRIX_HARNESS_PREFIX="$WINEPREFIX"
status=0
"$@" || status=$?
exit "$status"
