#!/usr/bin/env bash
# Stages the program folder from a Windows build: the programs, the language
# files and the default job file, as the installer lays them out.
#   scripts/stage.sh BUILD_DIR STAGE_DIR
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
rm -rf "$2"
cmake --install "$1" --prefix "$2" >/dev/null
cp "$top/resources/Ombrello_zandrix.ini" "$2/"
# The engine stand-in takes the engine's place, so that Launch runs something.
cp "$1/bin/ombrello_zandrix.exe" "$2/"
cp "$1/bin/Otxtpdf.dll" "$2/"   # the engine library stand-in
