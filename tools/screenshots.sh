#!/bin/sh
# Plays Orbalune for a few seconds under a virtual X server and takes the
# README's screenshots: the menu and a game in progress from the game itself,
# then a boss fight and the victory from the staged scenes (orbalune-scenes
# raises the score to reach the boss; the game has no such cheat).
# The audio goes to SDL's dummy driver, so it runs on machines without sound.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/docs"
mkdir -p "$out"
# A display number of its own, so it never draws into another X server.
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
xvfb=$!
display=:$(head -n 1 "$fifo")
rm -f "$fifo"
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
work=$(sh "$root/tools/play-dir.sh" "$root/data")
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
frames="$work/frames"
mkdir "$frames"
(cd "$work" && SDL_AUDIODRIVER=dummy "$root/build/orbalune-scenes" "$frames" >/dev/null)
for scene in boss victory; do convert "$frames/$scene.bmp" "$out/$scene.png"; done
rm -rf "$work"
echo "Wrote $out/menu.png, game.png, boss.png and victory.png"
