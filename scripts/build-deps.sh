#!/usr/bin/env bash
# Builds the engine's libraries (poppler and the image libraries) for one
# Windows target, static, from Debian bookworm's source packages, into a
# cache folder named by a hash of the recipe. Prints the prefix as the last
# line on stdout; progress and errors go to stderr.
#
#   prefix=$(bash scripts/build-deps.sh x86_64 | tail -1)
#
# ZANDRIX_DEPS_CACHE names the cache root (default /var/cache/zandrix-deps).
set -euo pipefail

arch=${1:-}
case "$arch" in
    i686|x86_64) ;;
    *) echo "usage: $0 i686|x86_64" >&2; exit 2 ;;
esac
host=$arch-w64-mingw32
# The posix thread model: poppler needs std::recursive_mutex, which the
# default win32 model of Debian's g++ lacks.
cc=$host-gcc-posix
cxx=$host-g++-posix
jobs=2
script=$(readlink -f "$0")
root=${ZANDRIX_DEPS_CACHE:-/var/cache/zandrix-deps}

say() { echo "build-deps ($arch): $*" >&2; }
die() { echo "build-deps ($arch): error: $*" >&2; exit 1; }

# The source packages, in build order. zlib is not among them: Debian ships
# it built for MinGW (libz-mingw-w64-dev).
packages=(libpng1.6 freetype libjpeg-turbo tiff giflib openjpeg2 lcms2 poppler)

for tool in "$cc" "$cxx" "$host-ar" "$host-ranlib" "$host-windres" cmake ninja nasm make \
            apt-get dpkg-source; do
    command -v "$tool" >/dev/null || die "missing tool '$tool' (run scripts/install-deps.sh)"
done
for dir in "/usr/$host/lib/libz.a" /usr/share/poppler/cMap /usr/share/fonts/opentype/urw-base35; do
    [ -e "$dir" ] || die "missing $dir (run scripts/install-deps.sh)"
done

mkdir -p "$root" 2>/dev/null || die "cannot create the cache folder $root; set ZANDRIX_DEPS_CACHE to a writable folder"
probe="$root/.probe.$$"
( : > "$probe" ) 2>/dev/null || die "the cache folder $root is not writable; set ZANDRIX_DEPS_CACHE to a writable folder"
rm -f "$probe"

# --- Source packages, through an apt state of our own -----------------------
# The machine's apt sources hold binary entries only; a deb-src twin of its
# Debian entries, with its own lists folder, lets apt-get source work without
# touching the system's apt state.
aptdir=$root/apt
mkdir -p "$aptdir/lists/partial" "$aptdir/cache/archives/partial"
mkdir -p "$aptdir/sources.d"
apt_opts=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$aptdir/sources.d"
          -o "Dir::State::Lists=$aptdir/lists" -o "Dir::Cache=$aptdir/cache"
          -o APT::Sandbox::User=root)

write_sources() {  # folder: writes debian.list and debian.sources into it
    local out=$1 line f
    : > "$out/debian.list"
    : > "$out/debian.sources"
    # One-line entries.
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$f" ] || continue
        while read -r line; do
            case "$line" in
                "deb "*bookworm*) echo "deb-src ${line#deb }" >> "$out/debian.list" ;;
            esac
        done < "$f"
    done
    # deb822 entries: keep the stanzas of Debian's own bookworm suites.
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] || continue
        awk 'BEGIN { RS = ""; ORS = "\n\n" }
             /Suites:[^\n]*bookworm/ && /URIs:[^\n]*debian/ && /Types:[^\n]*deb/ {
                 sub(/Types:[^\n]*/, "Types: deb-src"); print }' "$f" >> "$out/debian.sources"
    done
    [ -s "$out/debian.list" ] || [ -s "$out/debian.sources" ] ||
        die "no Debian bookworm entry in the machine's apt sources to derive a deb-src entry from"
}

versions_newest_first() {  # package: the versions the source lists offer
    local vs=() i j t
    mapfile -t vs < <(apt-cache "${apt_opts[@]}" showsrc --only-source "$1" 2>/dev/null |
                      sed -n 's/^Version: //p' | sort -u)
    for ((i = 0; i < ${#vs[@]}; i++)); do
        for ((j = i + 1; j < ${#vs[@]}; j++)); do
            if dpkg --compare-versions "${vs[j]}" gt "${vs[i]}"; then
                t=${vs[i]}; vs[i]=${vs[j]}; vs[j]=$t
            fi
        done
    done
    [ ${#vs[@]} -eq 0 ] || printf '%s\n' "${vs[@]}"
}

dsc_of() { echo "$root/sources/${1}_${2#*:}.dsc"; }  # package, version

# The newest version whose source the archive actually serves: the lists may
# name an update whose files the mirror does not hold yet. Versions that
# failed are remembered until the lists are read again, so that a second run
# does not go to the network.
choose_source() {  # package -> sets version[package], downloading if needed
    local p=$1 v dsc
    for v in $(versions_newest_first "$p"); do
        dsc=$(dsc_of "$p" "$v")
        if [ -f "$dsc" ]; then version[$p]=$v; return 0; fi
        grep -qxF "$p=$v" "$aptdir/unavailable" 2>/dev/null && continue
        say "$p: downloading source $v"
        if (cd "$root/sources" && apt-get "${apt_opts[@]}" -qq source --download-only "$p=$v") \
                > "$aptdir/download-$p.log" 2>&1 && [ -f "$dsc" ]; then
            version[$p]=$v
            return 0
        fi
        say "$p: the archive does not serve source $v; trying an older one"
        rm -f "$dsc"
        echo "$p=$v" >> "$aptdir/unavailable"
    done
    die "$p: no source package could be downloaded (see $aptdir/download-$p.log)"
}

# The shared apt state and downloads are used under one lock; a build holds
# its target's lock, so that two callers never build the same prefix at once.
exec 8> "$root/.lock-apt"
exec 9> "$root/.lock-$arch"

sources_ready() {
    rm -rf "$aptdir/sources.new" && mkdir -p "$aptdir/sources.new"
    write_sources "$aptdir/sources.new"
    if ! diff -r -q "$aptdir/sources.new" "$aptdir/sources.d" >/dev/null || [ ! -e "$aptdir/updated" ]; then
        rm -rf "$aptdir/sources.d" "$aptdir/updated" "$aptdir/unavailable"
        mv "$aptdir/sources.new" "$aptdir/sources.d"
        say "reading the Debian archive's source lists"
        apt-get "${apt_opts[@]}" -qq update >&2 || die "apt-get update for the deb-src lists failed"
        touch "$aptdir/updated"
    else
        rm -rf "$aptdir/sources.new"
    fi
}

flock 8
sources_ready
mkdir -p "$root/sources"
declare -A version
for p in "${packages[@]}"; do choose_source "$p"; done
flock -u 8

# --- The recipe's hash ------------------------------------------------------
recipe() {
    sha256sum "$script"
    for p in "${packages[@]}"; do echo "$p ${version[$p]}"; done
    dpkg-query -W -f='${Package} ${Version}\n' libz-mingw-w64-dev poppler-data fonts-urw-base35
    "$cc" --version | head -1
    "$cxx" --version | head -1
    cmake --version | head -1
    nasm -v
}
hash=$(recipe | sha256sum | cut -c1-16)
prefix=$root/$arch-$hash

flock 9
if [ -f "$prefix/.complete" ]; then
    say "up to date"
    echo "$prefix"
    exit 0
fi

# --- Build -----------------------------------------------------------------
rm -rf "$root/.tmp-$arch-"*   # what an interrupted build left
tmp=$root/.tmp-$arch-$hash
inst=$tmp/prefix
mkdir -p "$tmp/src" "$tmp/build" "$tmp/logs" "$inst/lib" "$inst/include"
step() {  # library, step name, command...: runs it with its output in a log
    local lib=$1 name=$2; shift 2
    local log=$tmp/logs/$lib-$name.log
    if ! "$@" > "$log" 2>&1; then
        echo "----- last lines of $log" >&2
        tail -n 30 "$log" >&2
        die "$lib: the $name step failed (log: $log)"
    fi
}

fetch_source() {  # package -> its extracted tree in $tmp/src/<package>
    step "$1" unpack dpkg-source -x "$(dsc_of "$1" "${version[$1]}")" "$tmp/src/$1"
}

start=$(date +%s)
say "building into $tmp (recipe $hash)"
cd "$tmp"   # nothing a build writes by a relative path may land in the caller's folder

# A prefix with our libraries only: pkg-config and CMake must never pick up
# the build machine's own (Linux) libraries.
export PKG_CONFIG_LIBDIR=$inst/lib/pkgconfig
export PKG_CONFIG_PATH=
unset PKG_CONFIG_SYSROOT_DIR CFLAGS CXXFLAGS LDFLAGS CPPFLAGS
cmake_common=(-G Ninja -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_SYSTEM_PROCESSOR="$arch"
    -DCMAKE_C_COMPILER="$cc" -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_RC_COMPILER="$host-windres"
    -DCMAKE_AR="$(command -v "$host-ar")" -DCMAKE_RANLIB="$(command -v "$host-ranlib")"
    -DCMAKE_FIND_ROOT_PATH="$inst;/usr/$host"
    -DCMAKE_FIND_ROOT_PATH_MODE_PROGRAM=NEVER -DCMAKE_FIND_ROOT_PATH_MODE_LIBRARY=ONLY
    -DCMAKE_FIND_ROOT_PATH_MODE_INCLUDE=ONLY -DCMAKE_FIND_ROOT_PATH_MODE_PACKAGE=ONLY
    -DCMAKE_PREFIX_PATH="$inst" -DCMAKE_INSTALL_PREFIX="$inst" -DCMAKE_INSTALL_LIBDIR=lib
    -DBUILD_SHARED_LIBS=OFF
    # zlib is given by file: otherwise its import library libz.dll.a wins.
    -DZLIB_LIBRARY="$inst/lib/libz.a" -DZLIB_INCLUDE_DIR="$inst/include")

cmake_build() {  # library, source dir, cmake options...
    local lib=$1 src=$2; shift 2
    local b=$tmp/build/$lib t0
    t0=$(date +%s)
    say "$lib: building"
    step "$lib" configure cmake -S "$src" -B "$b" "${cmake_common[@]}" "$@"
    step "$lib" build cmake --build "$b" -j "$jobs"
    step "$lib" install cmake --install "$b"
    say "$lib: done in $(( $(date +%s) - t0 )) s"
}

# The later steps name the libraries by file: each must be where they look.
installed() {  # library, file under the prefix
    [ -f "$inst/$2" ] || die "$1: the install step put no $2 into the prefix"
}

# zlib: Debian's MinGW build, static library only.
cp "/usr/$host/include/zlib.h" "/usr/$host/include/zconf.h" "$inst/include/"
cp "/usr/$host/lib/libz.a" "$inst/lib/"

fetch_source libpng1.6
cmake_build libpng "$tmp/src/libpng1.6" \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_EXECUTABLES=OFF -DPNG_TESTS=OFF
installed libpng lib/libpng16.a

fetch_source freetype
cmake_build freetype "$tmp/src/freetype" \
    -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON -DFT_DISABLE_BZIP2=ON \
    -DFT_REQUIRE_ZLIB=ON -DFT_REQUIRE_PNG=ON \
    -DPNG_LIBRARY="$inst/lib/libpng16.a" -DPNG_PNG_INCLUDE_DIR="$inst/include"
installed freetype lib/libfreetype.a

fetch_source libjpeg-turbo
# Its own GNUInstallDirs leaves a relative library folder relative to the
# current folder, not to the prefix: name it in full.
cmake_build libjpeg "$tmp/src/libjpeg-turbo" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF \
    -DREQUIRE_SIMD=ON -DCMAKE_ASM_NASM_COMPILER=nasm -DCMAKE_INSTALL_LIBDIR="$inst/lib"
installed libjpeg lib/libjpeg.a

fetch_source tiff
cmake_build libtiff "$tmp/src/tiff" \
    -Dtiff-tools=OFF -Dtiff-tests=OFF -Dtiff-contrib=OFF -Dtiff-docs=OFF -Dcxx=OFF \
    -Dccitt=ON -Djpeg=ON -Dzlib=ON -Dpixarlog=ON -Djpeg12=OFF \
    -Djbig=OFF -Dlzma=OFF -Dzstd=OFF -Dwebp=OFF -Dlerc=OFF -Dlibdeflate=OFF \
    -DJPEG_LIBRARY="$inst/lib/libjpeg.a" -DJPEG_INCLUDE_DIR="$inst/include"
installed libtiff lib/libtiff.a

# giflib: its makefile builds Unix shared libraries only, so compile the
# library's sources and archive them ourselves.
fetch_source giflib
# (Commands are chained with &&: errexit does not apply inside step's test.)
build_giflib() {
    local src=$tmp/src/giflib b=$tmp/build/giflib f
    mkdir -p "$b" || return 1
    for f in dgif_lib egif_lib gifalloc gif_err gif_font gif_hash openbsd-reallocarray quantize; do
        "$cc" -O2 -DNDEBUG -Wall -c "$src/$f.c" -I"$src" -o "$b/$f.o" || return 1
    done
    rm -f "$inst/lib/libgif.a" &&
    "$host-ar" rcs "$inst/lib/libgif.a" "$b"/*.o &&
    cp "$src/gif_lib.h" "$inst/include/"
}
say "giflib: building"
step giflib build build_giflib
installed giflib lib/libgif.a

fetch_source openjpeg2
cmake_build openjpeg "$tmp/src/openjpeg2" \
    -DBUILD_STATIC_LIBS=ON -DBUILD_CODEC=OFF -DBUILD_TESTING=OFF -DBUILD_DOC=OFF
installed openjpeg lib/libopenjp2.a

fetch_source lcms2
build_lcms2() (
    cd "$tmp/src/lcms2" &&
    ./configure --host="$host" --prefix="$inst" CC="$cc" \
        --disable-shared --enable-static --without-jpeg --without-tiff --without-zlib &&
    make -j "$jobs" &&
    make install
)
t0=$(date +%s)
say "lcms2: building"
step lcms2 build build_lcms2
installed lcms2 lib/liblcms2.a
say "lcms2: done in $(( $(date +%s) - t0 )) s"

fetch_source poppler
# OPJ_STATIC: without it openjpeg's headers declare its functions as DLL
# imports and the link fails on __imp_opj_*.
cmake_build poppler "$tmp/src/poppler" \
    -DCMAKE_C_FLAGS=-DOPJ_STATIC -DCMAKE_CXX_FLAGS=-DOPJ_STATIC \
    -DENABLE_UNSTABLE_API_ABI_HEADERS=ON -DENABLE_SPLASH=ON -DENABLE_CPP=OFF \
    -DENABLE_UTILS=OFF -DENABLE_GLIB=OFF -DENABLE_GOBJECT_INTROSPECTION=OFF \
    -DENABLE_QT5=OFF -DENABLE_QT6=OFF -DENABLE_LIBCURL=OFF -DENABLE_NSS3=OFF -DENABLE_GPGME=OFF \
    -DWITH_Cairo=OFF -DENABLE_BOOST=OFF -DWITH_GObjectIntrospection=OFF \
    -DENABLE_LIBOPENJPEG=openjpeg2 -DENABLE_CMS=lcms2 -DENABLE_DCTDECODER=libjpeg \
    -DENABLE_LIBPNG=ON -DENABLE_LIBTIFF=ON -DENABLE_ZLIB_UNCOMPRESS=OFF \
    -DFONT_CONFIGURATION=win32 -DENABLE_RELOCATABLE=OFF -DRUN_GPERF_IF_PRESENT=OFF \
    -DBUILD_GTK_TESTS=OFF -DBUILD_QT5_TESTS=OFF -DBUILD_QT6_TESTS=OFF -DBUILD_CPP_TESTS=OFF \
    -DBUILD_MANUAL_TESTS=OFF -DENABLE_GTK_DOC=OFF \
    -DFREETYPE_LIBRARY="$inst/lib/libfreetype.a" -DFREETYPE_INCLUDE_DIRS="$inst/include/freetype2" \
    -DPNG_LIBRARY="$inst/lib/libpng16.a" -DPNG_PNG_INCLUDE_DIR="$inst/include" \
    -DJPEG_LIBRARY="$inst/lib/libjpeg.a" -DJPEG_INCLUDE_DIR="$inst/include" \
    -DTIFF_LIBRARY="$inst/lib/libtiff.a" -DTIFF_INCLUDE_DIR="$inst/include"
installed poppler lib/libpoppler.a

# --- Run-time data, fonts and licences ---------------------------------------
say "copying poppler-data, fonts and licences"
mkdir -p "$inst/share/poppler" "$inst/share/fonts" "$inst/licenses"
cp -r /usr/share/poppler/. "$inst/share/poppler/"
# The metric-compatible faces of the 14 standard PDF fonts.
for f in NimbusSans-Regular NimbusSans-Bold NimbusSans-Italic NimbusSans-BoldItalic \
         NimbusRoman-Regular NimbusRoman-Bold NimbusRoman-Italic NimbusRoman-BoldItalic \
         NimbusMonoPS-Regular NimbusMonoPS-Bold NimbusMonoPS-Italic NimbusMonoPS-BoldItalic \
         StandardSymbolsPS D050000L; do
    cp "/usr/share/fonts/opentype/urw-base35/$f.otf" "$inst/share/fonts/" \
        || die "fonts: missing $f.otf from fonts-urw-base35"
done
licence() {  # name, Debian copyright file
    [ -f "$2" ] || die "licences: missing $2"
    cp "$2" "$inst/licenses/$1.txt"
}
licence poppler "$tmp/src/poppler/debian/copyright"
licence freetype "$tmp/src/freetype/debian/copyright"
licence libpng "$tmp/src/libpng1.6/debian/copyright"
licence libjpeg-turbo "$tmp/src/libjpeg-turbo/debian/copyright"
licence libtiff "$tmp/src/tiff/debian/copyright"
licence giflib "$tmp/src/giflib/debian/copyright"
licence openjpeg "$tmp/src/openjpeg2/debian/copyright"
licence lcms2 "$tmp/src/lcms2/debian/copyright"
licence zlib /usr/share/doc/libz-mingw-w64-dev/copyright
licence poppler-data /usr/share/doc/poppler-data/copyright
licence fonts-urw-base35 /usr/share/doc/fonts-urw-base35/copyright
# Every program links MinGW-w64's runtime and GCC's libraries statically.
licence mingw-w64-runtime "/usr/share/doc/mingw-w64-${arch//_/-}-dev/copyright"
licence gcc-runtime /usr/share/doc/gcc-mingw-w64-base/copyright
# Debian's copyright files name the common licences by their place on a
# Debian system (/usr/share/common-licenses/GPL-2); a Windows user has no
# such folder, so the texts travel with them.
for name in $(grep -oh '/usr/share/common-licenses/[A-Za-z0-9.+-]*[A-Za-z0-9+]' "$inst/licenses/"*.txt | sort -u); do
    licence "$(basename "$name")" "$name"
done

# The build ran in the temporary folder; the files that name their prefix
# (pkg-config and CMake files) get the final one.
{ grep -rlI -- "$inst" "$inst" || true; } | while read -r f; do sed -i "s|$inst|$prefix|g" "$f"; done
recipe > "$inst/recipe.txt"
touch "$inst/.complete"
rm -rf "$prefix"
mv "$inst" "$prefix"
rm -rf "$tmp"
say "built in $(( $(date +%s) - start )) s"
echo "$prefix"
