# Sourced by windows-build.sh: null-modem pairs of COM ports for the tests under Wine. Each pair
# is two Linux pseudo-terminals joined by socat; Wine maps the COM names to their links
# (HKLM\Software\Wine\Ports, read when Wine starts). The tests learn the pairs from
# KKT_EMULATOR_PORTS ("COM11:COM12,COM13:COM14,..."): the emulator or the scanner opens the
# first port of a pair, the program the second.
kkt_port_pair_pids=()

# kkt_start_port_pairs FOLDER [COUNT]
kkt_start_port_pairs() {
    local dir=$1 count=${2:-4} ports=() i
    "${KKT_WINESERVER:-/usr/lib/wine/wineserver64}" -k 2>/dev/null || true
    for ((i = 0; i < count; ++i)); do
        local a=$((11 + 2 * i)) b=$((12 + 2 * i))
        socat pty,raw,echo=0,link="$dir/com$a" pty,raw,echo=0,link="$dir/com$b" &
        kkt_port_pair_pids+=($!)
        ports+=("COM$a:COM$b")
    done
    # One registry import for all of them: every start of Wine takes a second or two.
    local reg="$dir/ports.reg"
    printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Wine\\Ports]\r\n' >"$reg"
    for ((i = 0; i < count; ++i)); do
        local a=$((11 + 2 * i)) b=$((12 + 2 * i)) tries=0
        while [ ! -e "$dir/com$a" ] || [ ! -e "$dir/com$b" ]; do
            ((++tries > 50)) && { echo "socat made no pseudo-terminals in $dir" >&2; return 1; }
            sleep 0.1
        done
        printf '"COM%s"="%s"\r\n"COM%s"="%s"\r\n' "$a" "$dir/com$a" "$b" "$dir/com$b" >>"$reg"
    done
    "$KKT_WINE" reg import "Z:$reg" >/dev/null 2>&1
    # The mapping is made when Wine starts: restart it with the new entries.
    "${KKT_WINESERVER:-/usr/lib/wine/wineserver64}" -k 2>/dev/null || true
    local IFS=,
    export KKT_EMULATOR_PORTS="${ports[*]}"
    echo "port pairs: $KKT_EMULATOR_PORTS"
}

kkt_stop_port_pairs() {
    local pid
    for pid in "${kkt_port_pair_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    kkt_port_pair_pids=()
}
