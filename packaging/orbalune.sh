#!/bin/sh
# Starts Orbalune from the player's own directory. The game reads its assets
# and keeps its best scores relative to where it runs, so that directory
# links to the installed, read-only assets and holds the player's Save.
set -e
prefix=$(dirname "$(dirname "$(readlink -f "$0")")")
assets="$prefix/share/games/orbalune"
player="${XDG_DATA_HOME:-$HOME/.local/share}/orbalune"
mkdir -p "$player/Save"
for dir in IMG Sound Music Font; do
    ln -sfn "$assets/$dir" "$player/$dir"
done
cd "$player"
exec "$prefix/lib/games/orbalune/orbalune"
