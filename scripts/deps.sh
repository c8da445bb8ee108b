#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages the build needs, when any of them is missing.
# Sourced by run.sh and test.sh; the package list is the one place it is kept.
kkt_install_deps() {
    local pkgs=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-serialport-dev
                libjpeg62-turbo-dev qt6-translations-l10n libgl-dev ccache "$@")
    local missing=()
    for p in "${pkgs[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing missing packages: ${missing[*]}"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null || { echo "Need root or sudo to install: ${missing[*]}" >&2; return 1; }
        sudo="sudo"
    fi
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update && $sudo apt-get install -y "${missing[@]}"
}
