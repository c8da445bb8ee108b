#!/usr/bin/env bash
# Builds the program and runs the whole test suite; exits with the suite's status.
#   ./test.sh                  normal build in build/
#   KKT_SANITIZE=ON ./test.sh  AddressSanitizer + UndefinedBehaviorSanitizer build in build/
#   KKT_TSAN=ON KKT_BUILD_DIR=build-tsan KKT_BUILD_TARGETS=... KKT_CTEST_ARGS='-R ...' ./test.sh
#                              ThreadSanitizer build of some tests
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
kkt_install_deps

BUILD_DIR=${KKT_BUILD_DIR:-build}
cmake_args=(-G Ninja -DKKT_SANITIZE="${KKT_SANITIZE:-OFF}" -DKKT_TSAN="${KKT_TSAN:-OFF}"
            -DKKT_WERROR="${KKT_WERROR:-OFF}")
# Rebuilds of an unchanged file (another checkout, another build folder) come from the compiler
# cache; paths below the checkout are hashed relative to it.
if command -v ccache >/dev/null; then
    export CCACHE_BASEDIR="$PWD"
    cmake_args+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$BUILD_DIR" "${cmake_args[@]}"
# KKT_BUILD_TARGETS limits the build to some targets (the ThreadSanitizer run of CI).
targets=()
for t in ${KKT_BUILD_TARGETS:-}; do targets+=(--target "$t"); done
cmake --build "$BUILD_DIR" -j"$(nproc)" "${targets[@]}"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:abort_on_error=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1${TSAN_OPTIONS:+:$TSAN_OPTIONS}"
[ -f scripts/tsan.supp ] && export TSAN_OPTIONS="$TSAN_OPTIONS:suppressions=$PWD/scripts/tsan.supp"
cd "$BUILD_DIR"
ctest --output-on-failure -j2 ${KKT_CTEST_ARGS:-}
