#!/usr/bin/env bash
# Builds the static Qt that scripts/windows-build.sh cross-builds the program against, and packs
# it as the archive that script takes: Qt 6.4.2 (Core, Gui, Widgets, Network, Test; static,
# release, no OpenGL, D-Bus or ICU) with Qt Serial Port 6.4.2 and libjpeg-turbo (static), for
# x86_64-w64-mingw32 with posix threads. Qt and libjpeg-turbo come from Debian 12's source
# packages (apt-get source; a deb-src entry is added when none is enabled), Qt Serial Port from
# Qt's own v6.4.2 source. Debian's host Qt 6.4.2 (moc, rcc, uic) serves as the host tools, so the
# target Qt must be the same version.
#   scripts/windows-qt.sh [WORK]      build in WORK (default: $KKT_WIN_QT_WORK or
#                                      ~/.cache/kkt-win/qt-build); the archive is
#                                      WORK/qt6-mingw-6.4.2-static.tar.xz
# KKT_WIN_SERIALPORT_SRC  Qt Serial Port's v6.4.2 source archive (default:
#                         ../shared/windows/qtserialport-6.4.2-src.tar.xz beside the checkout)
# KKT_JOBS                parallel compile jobs (default: the number of cores)
# It takes most of an hour on two cores and about 3 GB of disk (README, "Windows").
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
source scripts/deps.sh
kkt_install_deps g++-mingw-w64-x86-64-posix dpkg-dev xz-utils perl wine64

qt_version=6.4.2
work=${1:-${KKT_WIN_QT_WORK:-${XDG_CACHE_HOME:-$HOME/.cache}/kkt-win/qt-build}}
serialport_src=${KKT_WIN_SERIALPORT_SRC:-$root/../shared/windows/qtserialport-$qt_version-src.tar.xz}
jobs=${KKT_JOBS:-$(nproc)}
patches=$root/scripts/windows-qt
toolchain=$root/cmake/mingw-w64-x86_64-posix.cmake
prefix=$work/qt6-mingw
archive=$work/qt6-mingw-$qt_version-static.tar.xz
# The toolchain file looks for packages in the kit being built (Qt's own build internals).
export KKT_WIN_PREFIX=$prefix

stamp() { echo "=== $(date -u +%T) +${SECONDS}s $*"; }
die() { echo "windows-qt.sh: $*" >&2; exit 1; }

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# apt-get source needs a deb-src entry; Debian 12 ships only binary ones. One is added beside
# the system's own, for the same mirrors and suites.
enable_deb_src() {
    apt-get -qq source --print-uris qt6-base >/dev/null 2>&1 && return 0
    local from=/etc/apt/sources.list.d/debian.sources
    [ -f "$from" ] || die "no deb-src entry in /etc/apt/sources.list*; add one for Debian 12 (bookworm) and run apt-get update"
    echo "Adding /etc/apt/sources.list.d/kkt-deb-src.sources (the entries of $from as deb-src)"
    sed 's/^Types: deb$/Types: deb-src/' "$from" | as_root tee /etc/apt/sources.list.d/kkt-deb-src.sources >/dev/null
    as_root apt-get update -qq
}

sources() {
    [ -f "$serialport_src" ] || die "no Qt Serial Port source at $serialport_src: set KKT_WIN_SERIALPORT_SRC to Qt's qtserialport v$qt_version source archive (download.qt.io, archive/qt/6.4/$qt_version/submodules/qtserialport-everywhere-src-$qt_version.tar.xz)"
    enable_deb_src
    local have
    have=$(apt-cache showsrc qt6-base | sed -n 's/^Version: //p' | head -1)
    case $have in
        "$qt_version"*) ;;
        *) die "Debian's qt6-base source is $have, the host tools are $qt_version: build on Debian 12" ;;
    esac
    rm -rf "$work/src"
    mkdir -p "$work/src"
    stamp "sources"
    (cd "$work/src" && apt-get -q source qt6-base libjpeg-turbo >"$work/logs/sources.log" 2>&1) \
        || die "apt-get source failed, see $work/logs/sources.log"
    mkdir "$work/src/qtserialport"
    tar -xJf "$serialport_src" -C "$work/src/qtserialport" --strip-components=1
    patch -d "$work/src"/qt6-base-*/ -p1 <"$patches/qtbase-directwrite-needs-direct2d.patch"
    patch -d "$work/src/qtserialport" -p1 <"$patches/qtserialport-notifier-race.patch"
}

# Only the static library and its headers: the program reads JPEG pictures through libjpeg.
jpeg() {
    stamp "libjpeg-turbo"
    local b=$work/build-jpeg
    cmake -S "$work"/src/libjpeg-turbo-*/ -B "$b" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF \
        -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF
    cmake --build "$b" -j"$jobs" --target jpeg-static
    mkdir -p "$prefix/lib" "$prefix/include"
    cp "$b/libjpeg.a" "$prefix/lib/"
    cp "$work"/src/libjpeg-turbo-*/{jpeglib.h,jmorecfg.h,jerror.h} "$b/jconfig.h" "$prefix/include/"
}

# What the program and its tests use, and nothing that would need more Windows libraries.
qtbase() {
    stamp "qtbase"
    local b=$work/build-qtbase
    cmake -S "$work"/src/qt6-base-*/ -B "$b" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DBUILD_SHARED_LIBS=OFF -DFEATURE_static_runtime=ON \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DQT_QMAKE_TARGET_MKSPEC=win32-g++ \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
        -DFEATURE_pkg_config=OFF -DFEATURE_opengl=OFF -DINPUT_opengl=no -DFEATURE_vulkan=OFF \
        -DFEATURE_dbus=OFF -DFEATURE_icu=OFF -DFEATURE_sql=OFF -DFEATURE_printsupport=OFF \
        -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_openssl=OFF -DFEATURE_zstd=OFF \
        -DFEATURE_brotli=OFF -DFEATURE_jpeg=OFF -DFEATURE_tabletevent=OFF -DFEATURE_qmake=OFF \
        -DFEATURE_androiddeployqt=OFF -DFEATURE_direct2d=OFF \
        -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_pcre2=OFF \
        -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_freetype=OFF \
        -DFEATURE_system_doubleconversion=OFF
    cmake --build "$b" -j"$jobs"
    cmake --install "$b"
}

serialport() {
    stamp "qtserialport"
    local b=$work/build-serialport
    cmake -S "$work/src/qtserialport" -B "$b" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DCMAKE_PREFIX_PATH="$prefix" -DQt6_DIR="$prefix/lib/cmake/Qt6" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
    cmake --build "$b" -j"$jobs"
    cmake --install "$b"
}

# One folder in the archive: windows-build.sh moves it into place whole.
pack() {
    stamp "pack"
    XZ_OPT=-T"$jobs" tar -C "$work" -cJf "$archive.part" "$(basename "$prefix")"
    mv "$archive.part" "$archive"
}

# Every run starts from clean sources and build folders, so a half-done earlier run cannot leak in.
rm -rf "$prefix" "$work"/build-* "$archive"
mkdir -p "$work/logs"
sources
jpeg
qtbase
serialport
pack
stamp "done: $archive ($(du -sh "$work" | cut -f1) in $work)"
echo "Use it with: KKT_WIN_QT_ARCHIVE=$archive scripts/windows-build.sh"
