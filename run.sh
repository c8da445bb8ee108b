#!/usr/bin/env bash
# Builds the program and runs it against an emulated cash register on a pseudo-terminal.
#   ./run.sh                      build in build/ (RelWithDebInfo), start the emulator and the program
#   KKT_BUILD_DIR=dir ./run.sh    another build folder
# The register's memory is kept in <build>/emulator-state.bin between runs; the port is reached
# through the stable link <build>/kkt-register. The emulator stops when the program ends.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
kkt_install_deps

BUILD_DIR=${KKT_BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKKT_SANITIZE=OFF \
      -DKKT_TSAN=OFF
cmake --build "$BUILD_DIR" -j"$(nproc)" --target kkt-programmer kkt-emulator

build=$(cd "$BUILD_DIR" && pwd)
link="$build/kkt-register"
settings="$build/bin/ProgSett.ini"
port_file=$(mktemp)
emulator_pid=""
stop_emulator() {
    if [ -n "$emulator_pid" ]; then
        kill "$emulator_pid" 2>/dev/null || true
        wait "$emulator_pid" 2>/dev/null || true
        emulator_pid=""
    fi
    rm -f "$port_file"
}
trap stop_emulator EXIT
trap 'exit 130' INT TERM

"$build/bin/kkt-emulator" --link "$link" --state "$build/emulator-state.bin" --device 0 \
    --baud 19200 >"$port_file" &
emulator_pid=$!
for _ in $(seq 50); do
    [ -s "$port_file" ] && break
    kill -0 "$emulator_pid" 2>/dev/null || { echo "The emulator did not start." >&2; exit 1; }
    sleep 0.1
done
[ -s "$port_file" ] || { echo "The emulator did not report its port." >&2; exit 1; }
echo "Emulated register on $(head -n1 "$port_file"), reachable as $link"

# Point the program at the register the first time only: a port chosen by the user is kept.
# Plain ASCII, so the Windows-1251 file stays valid; CR LF as the program writes it.
current_port=""
if [ -f "$settings" ]; then
    current_port=$(sed -n 's/^[[:space:]]*[Nn][Aa][Mm][Ee][[:space:]]*=[[:space:]]*\([^[:space:]]*\).*$/\1/p' \
                   "$settings" | head -n1)
fi
if [ -z "$current_port" ]; then
    printf '[COM_PORT]\r\nName=%s\r\nSpeed=19200\r\nTimeOut=3500\r\n\r\n[COMMON]\r\nNumKKT=0\r\n\r\n' \
        "$link" >"$settings"
    echo "ProgSett.ini now names $link"
fi

"$build/bin/kkt-programmer" "$@"
