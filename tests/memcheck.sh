#!/bin/sh
# The real binary under valgrind's memcheck for a scripted run of TICKS ticks
# (tests/script_preload.cpp plays it): no memory error at all, nothing
# definitely lost but what Debian's libraries lose themselves (valgrind.supp),
# the normal end with exit value 0 and the best scores saved.
# usage: memcheck.sh BINARY SCRIPT_LIBRARY DATA_DIR TICKS
set -eu
binary=$1
script=$2
data=$3
ticks=$4
here=$(cd "$(dirname "$0")" && pwd)
work=$(sh "$here/../tools/play-dir.sh" "$data")
trap 'rm -rf "$work"' EXIT
cd "$work"
echo "memcheck: $ticks scripted ticks of the real binary under valgrind (a minute or two)"
status=0
ORBALUNE_SCRIPT_TICKS=$ticks LD_PRELOAD=$script \
    valgrind --tool=memcheck --error-exitcode=99 --leak-check=full --show-leak-kinds=definite \
        --errors-for-leak-kinds=definite --suppressions="$here/valgrind.supp" --num-callers=40 \
        --log-file="$work/valgrind.log" "$binary" > "$work/out" 2> "$work/err" || status=$?
fail() {
    echo "memcheck: $1"
    cat "$work/valgrind.log" "$work/out" "$work/err"
    exit 1
}
[ $status -eq 0 ] || fail "exit value $status (99: valgrind found errors)"
grep -q "^script: Escape after $ticks ticks$" "$work/err" || fail "the script did not run to its end"
[ ! -s "$work/out" ] || fail "the game printed something"
[ "$(wc -c < Save/Score)" -eq 40 ] || fail "no best scores saved"
grep -E 'ERROR SUMMARY|definitely lost|suppressed:' "$work/valgrind.log"
