#!/usr/bin/env bash
# Runs a Windows program of the cross build under Wine (CTest's launcher for the tests). Qt Test's
# own output does not come through Wine's standard output when it is a pipe, so a test program
# writes it to a file that is shown afterwards; the exit status is the program's.
exe=$1
shift
wine=${KKT_WINE:-/usr/lib/wine/wine64}
case $(basename "$exe") in
    tst_*.exe) ;;
    *) exec "$wine" "$exe" "$@" ;;
esac
log=$(mktemp --suffix=.txt)
trap 'rm -f "$log"' EXIT
"$wine" "$exe" "$@" -o "$log,txt"
rc=$?
cat "$log"
exit $rc
