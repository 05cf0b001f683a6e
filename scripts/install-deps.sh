#!/usr/bin/env bash
# Installs the Debian packages the builds and tests need, when any is missing.
set -euo pipefail

packages=(cmake ninja-build g++ googletest libgtest-dev clang libclang-rt-14-dev
          g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
          wine wine64 fonts-wine xvfb xauth x11-utils imagemagick zip unzip
          zlib1g-dev libz-mingw-w64-dev qpdf poppler-utils ghostscript groff python3 python3-cairo
          pkg-config libpoppler-private-dev libpng-dev libjpeg-dev libtiff-dev libgif-dev libfreetype-dev
          fonts-urw-base35 poppler-data dpkg-dev nasm make xz-utils bzip2 libtiff-tools python3-ezdxf)
# The shipped programs are 32-bit: their tests run under 32-bit Wine, whose
# loader is an i386 package.
foreign_packages=(wine32:i386)
missing=()
for p in "${packages[@]}" "${foreign_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
