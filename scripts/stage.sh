#!/usr/bin/env bash
# Stages the program folder from a Windows build: the programs, the language
# files, the default job file and the user guide, as the installer lays them
# out, and the engine's fonts, poppler-data and licence texts from the
# engine's libraries.
#   scripts/stage.sh BUILD_DIR STAGE_DIR
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
rm -rf "$2"
cmake --install "$1" --prefix "$2" >/dev/null
cp "$top/resources/Ombrello_zandrix.ini" "$2/"
cp -r "$top/resources/guide" "$2/"
cp "$1/bin/Otxtpdf.dll" "$2/"   # the engine library stand-in

# The engine's run-time files, from the libraries built for this build's target.
case "$(grep '^CMAKE_TOOLCHAIN_FILE:' "$1/CMakeCache.txt")" in
    *mingw-x86_64.cmake) arch=x86_64 ;;
    *mingw-i686.cmake) arch=i686 ;;
    *) echo "stage: $1 is not a Windows build" >&2; exit 1 ;;
esac
deps=$(bash "$top/scripts/build-deps.sh" "$arch" | tail -1)
bash "$top/scripts/copy-engine-files.sh" "$deps" "$2"
