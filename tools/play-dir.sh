#!/bin/sh
# Makes a throwaway working directory for the game and prints its path: the
# generated assets of DATA_DIR linked in and an empty Save of its own, so that
# nothing run there touches a player's best scores. The caller removes it.
# usage: play-dir.sh DATA_DIR
set -eu
data=$1
work=$(mktemp -d)
for dir in IMG Sound Music Font; do ln -s "$data/$dir" "$work/$dir"; done
mkdir "$work/Save"
echo "$work"
