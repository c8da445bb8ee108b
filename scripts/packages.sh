#!/usr/bin/env bash
# Builds the installable packages:
#   scripts/packages.sh deb    build-deb/packages/kkt-programmer_<version>_amd64.deb
#   scripts/packages.sh nsis   build-win/packages/kkt-programmer-<version>-win64.exe
#   scripts/packages.sh        both
# The Windows installer is cross-built against the static Qt of the Windows kit:
#   KKT_WIN_KIT     the kit's folder (toolchain file, qt6-mingw-6.4.2-static.tar.xz)
#   KKT_WIN_PREFIX  where its Qt is unpacked (done once, when the folder is missing)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
source scripts/deps.sh
what=${1:-all}
case "$what" in deb | nsis | all) ;; *) echo "usage: $0 [deb|nsis|all]" >&2; exit 2 ;; esac

# Only the programs that go into a package are built; the tests stay out of the package builds.
common=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DKKT_BUILD_BENCH=OFF
        -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON)
if command -v ccache >/dev/null; then
    export CCACHE_BASEDIR="$root"
    common+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi

if [ "$what" != nsis ]; then
    kkt_install_deps dpkg-dev
    cmake -S . -B build-deb "${common[@]}"
    cmake --build build-deb -j"$(nproc)" --target kkt-programmer kkt-cli kkt-emulator
    (cd build-deb && cpack -G DEB)
fi

if [ "$what" != deb ]; then
    kkt_install_deps nsis g++-mingw-w64-x86-64-posix
    kit=${KKT_WIN_KIT:-$root/../shared/windows}
    prefix=${KKT_WIN_PREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/kkt-programmer/qt6-mingw}
    if [ ! -f "$kit/mingw-w64-x86_64-posix.cmake" ]; then
        echo "No Windows kit in $kit: set KKT_WIN_KIT" >&2
        exit 1
    fi
    if [ ! -d "$prefix/lib/cmake/Qt6" ]; then
        echo "Unpacking the static Qt for Windows into $prefix"
        mkdir -p "$(dirname "$prefix")"
        tar -xJf "$kit/qt6-mingw-6.4.2-static.tar.xz" -C "$(dirname "$prefix")"
        [ -d "$prefix" ] || mv "$(dirname "$prefix")/qt6-mingw" "$prefix"
    fi
    cmake -S . -B build-win "${common[@]}" -DCMAKE_TOOLCHAIN_FILE="$kit/mingw-w64-x86_64-posix.cmake" \
        -DKKT_WIN_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DJPEG_INCLUDE_DIR="$prefix/include" -DJPEG_LIBRARY="$prefix/lib/libjpeg.a" \
        -DCMAKE_EXE_LINKER_FLAGS=-static
    cmake --build build-win -j"$(nproc)" --target kkt-programmer kkt-cli
    (cd build-win && cpack -G NSIS)
fi
ls -l build-*/packages/*.deb build-*/packages/*.exe 2>/dev/null || true
