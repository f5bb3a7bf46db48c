#!/bin/sh
# Plays Orbalune for a few seconds under a virtual X server and takes the
# README's screenshots: the menu, and a game in progress.
# The audio goes to SDL's dummy driver, so it runs on machines without sound.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/docs"
mkdir -p "$out"
display=:77
Xvfb $display -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
game=""
cleanup() {
    [ -n "$game" ] && kill "$game" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY=$display
tries=0
until xdotool getdisplaygeometry >/dev/null 2>&1; do
    tries=$((tries + 1))
    [ $tries -lt 50 ] || { echo "Xvfb did not start" >&2; exit 1; }
    sleep 0.2
done
# A save directory of its own, so the screenshots never touch a player's scores.
work=$(mktemp -d)
for d in IMG Sound Music Font; do ln -s "$root/data/$d" "$work/$d"; done
mkdir "$work/Save"
(cd "$work" && SDL_AUDIODRIVER=dummy exec "$root/build/orbalune") &
game=$!
sleep 6
import -window root "$out/menu.png"
xdotool key Return
sleep 1
# Sweep right and left with the fire button held.
xdotool keydown space
for i in 1 2 3; do
    xdotool keydown Right; sleep 1.2; xdotool keyup Right
    xdotool keydown Left; sleep 1.6; xdotool keyup Left
done
xdotool keydown Right; sleep 0.5; xdotool keyup Right
import -window root "$out/game.png"
xdotool keyup space
xdotool key Escape
wait "$game" || true
game=""
rm -rf "$work"
echo "Wrote $out/menu.png and $out/game.png"
