#!/usr/bin/env bash
# Cross-builds the program, kkt-cli and every test program for 64-bit Windows with mingw-w64
# against a static Qt, and runs the tests under Wine.
#   scripts/windows-build.sh build   unpack Qt (once), configure and build in build-win/
#   scripts/windows-build.sh test    run the tests under Wine with CTest
#   scripts/windows-build.sh package the NSIS installer of the built programs (build-win/packages/)
#   scripts/windows-build.sh         build and test
# KKT_WIN_QT_ARCHIVE   the static Qt archive (default: the kit beside the checkout,
#                      ../shared/windows/qt6-mingw-6.4.2-static.tar.xz; scripts/windows-qt.sh
#                      makes one)
# KKT_WIN_PREFIX       where it is unpacked (default: ~/.cache/kkt-win/qt6-mingw), anew whenever
#                      the archive's checksum differs from the one it was unpacked from
# KKT_WERROR           ON or OFF: warnings as errors (default: the build folder's own setting)
# KKT_WIN_BUILD_DIR    the build folder (default: build-win)
# WINEPREFIX           Wine's folder, made on first use (default: ~/.cache/kkt-win/wine)
# On Windows the tests reach the emulated register and scanner through null-modem pairs of COM
# ports named in KKT_EMULATOR_PORTS ("COM11:COM12,COM13:COM14"); under Wine the pairs are Linux
# pseudo-terminals joined by socat (scripts/wine-port-pairs.sh), and the test programs bring a
# stand-in for Wine's wait for a port's input (emulator/winecommwait.h).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
kkt_install_deps g++-mingw-w64-x86-64-posix wine64 socat xvfb xauth

cache=${XDG_CACHE_HOME:-$HOME/.cache}/kkt-win
kit_name=qt6-mingw-6.4.2-static.tar.xz
kit_beside=$(cd .. && pwd)/shared/windows/$kit_name
export KKT_WIN_PREFIX=${KKT_WIN_PREFIX:-$cache/qt6-mingw}
BUILD_DIR=${KKT_WIN_BUILD_DIR:-build-win}
export WINEPREFIX=${WINEPREFIX:-$cache/wine}
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
export KKT_WINE=${KKT_WINE:-/usr/lib/wine/wine64}
step=${1:-all}

# Each step with the seconds since the start, for the stage's timings.
stamp() { echo "=== $(date -u +%T) +${SECONDS}s $*"; }

# The archive named in KKT_WIN_QT_ARCHIVE, else the kit beside the checkout.
find_archive() {
    if [ -n "${KKT_WIN_QT_ARCHIVE:-}" ]; then
        [ -f "$KKT_WIN_QT_ARCHIVE" ] || { echo "KKT_WIN_QT_ARCHIVE names $KKT_WIN_QT_ARCHIVE, which is not a file" >&2; return 1; }
        archive=$KKT_WIN_QT_ARCHIVE
    elif [ -f "$kit_beside" ]; then
        archive=$kit_beside
    else
        cat >&2 <<EOF
No static Windows Qt: neither $kit_beside (the kit beside the checkout)
nor an archive named in KKT_WIN_QT_ARCHIVE. Make one (most of an hour) with
    scripts/windows-qt.sh WORK
and run this script with KKT_WIN_QT_ARCHIVE=WORK/$kit_name.
EOF
        return 1
    fi
}

# The Qt is unpacked once per archive: its checksum is kept beside the unpacked copy, so a new
# archive (a rebuilt kit) replaces a copy unpacked from an older one.
unpack_qt() {
    find_archive
    local sum stamp=$KKT_WIN_PREFIX/.kkt-archive-sha256
    sum=$(sha256sum "$archive" | cut -d' ' -f1)
    if [ -f "$KKT_WIN_PREFIX/lib/cmake/Qt6/Qt6Config.cmake" ] && [ "$(cat "$stamp" 2>/dev/null)" = "$sum" ]; then
        return 0
    fi
    stamp "unpack $archive"
    local parent
    parent=$(dirname "$KKT_WIN_PREFIX")
    mkdir -p "$parent"
    local tmp
    tmp=$(mktemp -d "$parent/unpack.XXXXXX")
    # The archive holds one folder; it is moved into place whole, so a broken unpack is redone.
    tar -xJf "$archive" -C "$tmp"
    rm -rf "$KKT_WIN_PREFIX"
    mv "$tmp"/* "$KKT_WIN_PREFIX"
    rmdir "$tmp"
    echo "$sum" >"$stamp"
}

build() {
    unpack_qt
    stamp "configure $BUILD_DIR"
    local args=(-G Ninja -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64-posix.cmake"
                -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$KKT_WIN_PREFIX"
                -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
                -DJPEG_INCLUDE_DIR="$KKT_WIN_PREFIX/include"
                -DJPEG_LIBRARY="$KKT_WIN_PREFIX/lib/libjpeg.a"
                -DCMAKE_PROJECT_INCLUDE="$PWD/cmake/win-static-plugins.cmake"
                -DCMAKE_EXE_LINKER_FLAGS=-static -DKKT_BUILD_BENCH=OFF)
    # Only when asked: a different setting recompiles everything.
    if [ -n "${KKT_WERROR:-}" ]; then args+=(-DKKT_WERROR="$KKT_WERROR"); fi
    if command -v ccache >/dev/null; then
        export CCACHE_BASEDIR="$PWD"
        args+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
    fi
    cmake -S . -B "$BUILD_DIR" "${args[@]}"
    stamp "build"
    cmake --build "$BUILD_DIR" -j"$(nproc)"
    stamp "built"
}

# A Wine folder of our own, made once; the offscreen platform is set in its registry because Wine
# does not hand variables starting with QT_ to Windows programs.
wine_prefix() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        stamp "make the Wine folder $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        # wineboot may want a display for its first start; a virtual one serves where none is.
        if [ -n "${DISPLAY:-}" ]; then
            "$KKT_WINE" wineboot --init >/dev/null 2>&1
        else
            xvfb-run -a "$KKT_WINE" wineboot --init >/dev/null 2>&1
        fi
    fi
    "$KKT_WINE" reg add 'HKCU\Environment' /v QT_QPA_PLATFORM /t REG_SZ /d offscreen /f >/dev/null
    "$KKT_WINE" reg add 'HKCU\Environment' /v QT_QPA_FONTDIR /t REG_SZ \
        /d 'Z:\usr\share\fonts\truetype\dejavu' /f >/dev/null
    # A test program that crashes ends at once, with no dialog waiting on the display.
    "$KKT_WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 \
        /f >/dev/null
}

# A virtual display where there is none.
virtual_display() {
    [ -n "${DISPLAY:-}" ] && return 0
    stamp "virtual display"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$pairs_dir/display" 2>/dev/null &
    xvfb_pid=$!
    local tries=0
    while [ ! -s "$pairs_dir/display" ] && [ $((tries += 1)) -le 100 ]; do sleep 0.1; done
    [ -s "$pairs_dir/display" ] || { echo "Xvfb did not start" >&2; return 1; }
    export DISPLAY=:$(cat "$pairs_dir/display")
}

run_tests() {
    [ -d "$BUILD_DIR" ] || { echo "No $BUILD_DIR: run '$0 build' first" >&2; return 1; }
    pairs_dir=$(mktemp -d /tmp/kkt-wine-ports.XXXXXX)
    xvfb_pid=
    # shellcheck source=wine-port-pairs.sh
    source scripts/wine-port-pairs.sh
    trap 'kkt_stop_port_pairs; [ -z "$xvfb_pid" ] || kill "$xvfb_pid"; rm -rf "$pairs_dir"' EXIT
    wine_prefix
    # Eight pairs: a test program takes up to three at once, and each pair serves one program at
    # a time (emulator/portpairs.h), so two programs run side by side.
    stamp "serial port pairs"
    kkt_start_port_pairs "$pairs_dir" 8
    stamp "tests under Wine"
    local status=0
    (cd "$BUILD_DIR" && ctest --output-on-failure -j"$(nproc)" -LE display ${KKT_CTEST_ARGS:-}) ||
        status=$?
    # Wine makes a working console only in a session that has a display, and there its desktop
    # holds the output of the program that started it until the session ends: the tests labelled
    # "display" (tst_cliconsole) run last, in a session of their own on a display.
    stamp "tests under Wine on a display"
    "${KKT_WINESERVER:-/usr/lib/wine/wineserver64}" -k 2>/dev/null || true
    virtual_display
    (cd "$BUILD_DIR" && ctest --output-on-failure -L display ${KKT_CTEST_ARGS:-}) || status=$?
    return $status
}

package() {
    [ -d "$BUILD_DIR" ] || { echo "No $BUILD_DIR: run '$0 build' first" >&2; return 1; }
    kkt_install_deps nsis
    stamp "installer"
    (cd "$BUILD_DIR" && cpack -G NSIS)
}

case $step in
    build) build ;;
    test) run_tests ;;
    package) package ;;
    all) build; run_tests ;;
    *) echo "usage: $0 [build|test|package|all]" >&2; exit 2 ;;
esac
