#!/usr/bin/env bash
# Builds the Windows programs, stages the program folder and opens the
# configurator under Wine. Without a display, it runs on a virtual X server
# and saves a screenshot of what it opened.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash scripts/install-deps.sh

cmake -S . -B build/win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win64 -j "$(nproc)"
cmake --install build/win64 --prefix build/stage >/dev/null
echo "Program folder staged in build/stage:"
ls build/stage
