#!/usr/bin/env bash
# Builds the installable packages:
#   scripts/packages.sh deb    build-deb/packages/kkt-programmer_<version>_amd64.deb, checked
#                              with lintian: an error or a warning fails the script
#   scripts/packages.sh nsis   build-win/packages/kkt-programmer-<version>-win64.exe
#   scripts/packages.sh        both
# The Windows installer comes from the cross build of scripts/windows-build.sh (its variables:
# KKT_WIN_QT_ARCHIVE, KKT_WIN_PREFIX).
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
    kkt_install_deps dpkg-dev help2man lintian
    cmake -S . -B build-deb "${common[@]}"
    cmake --build build-deb -j"$(nproc)" --target kkt-programmer kkt-cli kkt-emulator kkt-docs
    (cd build-deb && cpack -G DEB)
    # Debian's own check of the package; informational notes do not fail it.
    deb=$(ls -t build-deb/packages/*.deb | head -1)
    lintian --allow-root --fail-on error,warning "$deb"
fi

if [ "$what" != deb ]; then
    # The Windows build of CI (scripts/windows-build.sh: the kit's static Qt, build-win/), then
    # its installer.
    scripts/windows-build.sh build
    scripts/windows-build.sh package
fi
ls -l build-*/packages/*.deb build-*/packages/*.exe 2>/dev/null || true
