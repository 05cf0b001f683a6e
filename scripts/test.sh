#!/usr/bin/env bash
# Builds all three builds and runs every test: native (plain and with
# AddressSanitizer and UndefinedBehaviorSanitizer), Windows x86-64 under
# wine64, and the shipped i686 build under 32-bit Wine with the checks of its
# executables and the end-to-end test of its release.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash scripts/install-deps.sh

jobs=$(nproc)
# The engine's libraries for both Windows targets (built once, then cached).
deps64=$(bash scripts/build-deps.sh x86_64 | tail -1)
deps32=$(bash scripts/build-deps.sh i686 | tail -1)
configure() {  # build-dir, extra cmake arguments
    local dir=$1; shift
    cmake -S . -B "$dir" -G Ninja -DZANDRIX_WERROR=ON "$@" >/dev/null
}

echo "== native"
configure build/native -DCMAKE_BUILD_TYPE=Debug
cmake --build build/native -j "$jobs"
ctest --test-dir build/native --output-on-failure

echo "== native, sanitizers"
configure build/native-asan -DCMAKE_BUILD_TYPE=Debug -DZANDRIX_SANITIZE=ON
cmake --build build/native-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build/native-asan --output-on-failure

echo "== fuzz targets, bounded runs"
CC=clang CXX=clang++ configure build/fuzz -DCMAKE_BUILD_TYPE=Debug -DZANDRIX_TESTS=OFF -DZANDRIX_FUZZ=ON
cmake --build build/fuzz -j "$jobs" --target zandrix_fuzzers
ctest --test-dir build/fuzz --output-on-failure --no-tests=ignore

echo "== windows x86-64 under wine64"
configure build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
    -DZANDRIX_DEPS_PREFIX="$deps64" \
    -DZANDRIX_NATIVE_JOBTOOL="$top/build/native/tools/jobtool/jobtool"
cmake --build build/win64 -j "$jobs"
tests/wine/harness.sh build/win64 -- ctest --test-dir build/win64 --output-on-failure

echo "== windows i686 (shipped build)"
configure build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release \
    -DZANDRIX_DEPS_PREFIX="$deps32"
cmake --build build/win32 -j "$jobs"
tests/wine/harness.sh build/win32 -- ctest --test-dir build/win32 --output-on-failure
