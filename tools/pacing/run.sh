#!/bin/sh
# make pacing: the real game's tick intervals and processor use, headless,
# idle in the menu, in a game and paused. A working directory of its own, so
# no player's best scores are touched.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(sh "$root/tools/play-dir.sh" "$root/data")
trap 'rm -rf "$work"' EXIT
cd "$work"
for mode in ${PACING_MODES:-menu pause game}; do
    SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-dummy} SDL_AUDIODRIVER=dummy \
        "$root/build/orbalune-pacing" "${PACING_TICKS:-2000}" "$mode"
done
