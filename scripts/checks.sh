#!/usr/bin/env bash
# Source checks of CI: the formatting rules (.clang-format) and clang-tidy's bug-prone and
# performance checks (.clang-tidy) over the program's sources, against the compile commands
# of a configured build folder (default build/). Any finding fails.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
kkt_install_deps clang-format clang-tidy

BUILD_DIR=${KKT_BUILD_DIR:-build}
mapfile -t sources < <(git ls-files '*.cpp' '*.h')
echo "clang-format: ${#sources[@]} files"
clang-format --dry-run -Werror "${sources[@]}"

[ -f "$BUILD_DIR/compile_commands.json" ] || { echo "No $BUILD_DIR/compile_commands.json: build first" >&2; exit 1; }
# The program's own translation units (tests, benchmarks and fuzz targets are left out: they
# would double the time for little).
root=$(pwd)
findings=$(mktemp)
trap 'rm -f "$findings"' EXIT
echo "clang-tidy: program sources"
run-clang-tidy -p "$BUILD_DIR" -j "$(nproc)" -quiet \
    "^$root/(platform|devicelink|tables|gsm|config|scanner|app|emulator|cli)/" 2>&1 |
    grep -v -E "^[0-9]+ warnings? generated|^Suppressed [0-9]+ warnings|^Use -header-filter|^clang-tidy-[0-9]+ " |
    tee "$findings" || true
if grep -E "(warning|error): " "$findings" >/dev/null; then
    echo "clang-tidy found problems" >&2
    exit 1
fi
echo "Source checks passed"
