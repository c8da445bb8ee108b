#!/usr/bin/env bash
# kkt-cli's bash completion and manual page against the program: every command and option of
# its --help is completed and described; and what the completion offers, given the words typed
# so far, for commands, options, --only lists and files by extension.
# Usage: tst_clidocs.sh COMPLETION_FILE MANUAL_PAGE KKT_CLI
set -u
completion=$(realpath "$1") page=$(realpath "$2") cli=$(realpath "$3")
source "$completion"
cd "$(mktemp -d)" || exit 1
trap 'rm -rf "$PWD"' EXIT
mkdir sub
touch shop.conf OLD.CONF base.dbZ48 notes.txt

failed=0
# check "words typed (the last one being completed)" "expected offers, sorted"
check() {
    read -ra COMP_WORDS <<<"$1"
    [[ $1 == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    _kkt_cli
    local got
    got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | xargs)
    if [[ $got != "$2" ]]; then
        echo "FAIL: '$1' offered '$got', expected '$2'"
        failed=1
    fi
}

help=$("$cli" --help) || { echo "FAIL: kkt-cli --help"; exit 1; }
for name in $(grep -oE -- '--[a-z-]+' <<<"$help" | sort -u) \
            $(grep -oE '^  [a-z][a-z-]+' <<<"$help" | sort -u); do
    grep -qE -- "(^|[ \"])$name( |\$|\")" "$completion" || { echo "FAIL: $name not completed"; failed=1; }
    grep -qF -- "${name//-/\\-}" "$page" || { echo "FAIL: $name not in the manual page"; failed=1; }
done

check "kkt-cli " "clear-goods help read read-goods status verify write write-goods"
check "kkt-cli write-" "write-goods"
check "kkt-cli --port ttyUSB0 st" "status"
check "kkt-cli write --o" "--only"
check "kkt-cli write shop.conf --only oper,cl" "oper,cliche"
check "kkt-cli write --only = g" "goods groups gsm"
check "kkt-cli --only gsm write " "OLD.CONF base.dbZ48 shop.conf sub"
check "kkt-cli verify s" "shop.conf sub"
check "kkt-cli read-goods " "base.dbZ48 sub"
check "kkt-cli write shop.conf " ""
check "kkt-cli status " ""
check "kkt-cli write --goods " ""
check "kkt-cli write --trace n" "notes.txt"
exit $failed
