#!/bin/sh
# A bounded, seeded run of the score-file fuzzer, from a few typical files:
# none of its own, empty, short, whole, long. Works in memory when it can,
# since every run saves the table.
# usage: fuzz_scores.sh FUZZER RUNS [more libFuzzer options]
set -eu
fuzzer=$1
runs=$2
shift 2
if [ -d /dev/shm ] && [ -w /dev/shm ]; then base=/dev/shm; else base=${TMPDIR:-/tmp}; fi
work=$(mktemp -d "$base/orbalune-fuzz-XXXXXX")
trap 'rm -rf "$work"' EXIT
corpus="$work/corpus"
mkdir "$corpus"
: > "$corpus/empty"
printf '\020' > "$corpus/one_byte"
printf '\020\047\000\000\350\003\0' > "$corpus/seven_bytes"
printf '\020\047\000\000\350\003\000\000\364\001\000\000\024\000\000\000' > "$corpus/four_entries"
head -c 40 /dev/zero > "$corpus/whole"
{ cat "$corpus/four_entries"; head -c 60 /dev/zero; } > "$corpus/long"
# The fuzzer works in a directory of its own in here, gone when this ends.
TMPDIR=$work
export TMPDIR
echo "fuzz: ReadScore then SaveScore on $runs generated score files (seed 1, up to 4096 bytes)"
# A failing input is kept where the test ran, to be replayed by hand.
"$fuzzer" -runs="$runs" -seed=1 -max_len=4096 -len_control=0 -print_final_stats=1 "$@" "$corpus"
