#!/bin/sh
# Regenerates the program's icon (assets/icons/*.png, assets/kkt-programmer.ico) from
# scripts/make-icon.cpp.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
g++ -std=c++20 -fPIC -o "$work/make-icon" "$root/scripts/make-icon.cpp" \
    $(pkg-config --cflags --libs Qt6Gui)
QT_QPA_PLATFORM=offscreen "$work/make-icon" "$root/assets"
echo "wrote $root/assets/icons/ and $root/assets/kkt-programmer.ico"
