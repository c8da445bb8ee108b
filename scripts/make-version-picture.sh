#!/bin/sh
# Regenerates assets/version.jpg (161 by 89 pixels) from scripts/make-version-picture.cpp.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
g++ -std=c++20 -fPIC -o "$work/make-version-picture" "$root/scripts/make-version-picture.cpp" \
    $(pkg-config --cflags --libs Qt6Gui)
QT_QPA_PLATFORM=offscreen "$work/make-version-picture" "$root/assets/version.jpg"
echo "wrote $root/assets/version.jpg"
