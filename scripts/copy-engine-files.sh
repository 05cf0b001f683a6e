#!/usr/bin/env bash
# Copies the engine's run-time files from a prefix of scripts/build-deps.sh
# into a program folder: fonts\ (the standard fonts' stand-ins), poppler\
# (poppler-data) and licenses\ (the licence texts of libraries and fonts).
#   scripts/copy-engine-files.sh DEPS_PREFIX PROGRAM_FOLDER
set -euo pipefail
deps=$1 folder=$2
for part in share/fonts share/poppler licenses; do
    [ -d "$deps/$part" ] || { echo "copy-engine-files: $deps/$part is missing" >&2; exit 1; }
done
rm -rf "$folder/fonts" "$folder/poppler" "$folder/licenses"
mkdir -p "$folder"
cp -r "$deps/share/fonts" "$folder/fonts"
cp -r "$deps/share/poppler" "$folder/poppler"
cp -r "$deps/licenses" "$folder/licenses"
