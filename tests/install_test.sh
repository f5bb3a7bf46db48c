#!/bin/sh
# Installs into a throwaway prefix and plays a few seconds through the
# launcher, as a player who started it from the desktop: the best scores must
# land in the player's own directory, never beside the installed assets.
# usage: install_test.sh BUILD_DIR
set -eu
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
prefix="$root/usr"
cmake --install "$build" --prefix "$prefix" >/dev/null

for f in games/orbalune lib/games/orbalune/orbalune share/applications/orbalune.desktop \
         share/icons/hicolor/64x64/apps/orbalune.png share/games/orbalune/IMG/Delo.bmp \
         share/games/orbalune/Font/times.ttf; do
    [ -e "$prefix/$f" ] || { echo "not installed: $f"; exit 1; }
done
grep -qx 'Exec=orbalune' "$prefix/share/applications/orbalune.desktop"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$prefix/share/applications/orbalune.desktop"
fi

# The installed assets are read-only, as in a package.
chmod -R a-w "$prefix/share/games/orbalune"
export HOME="$root/home"
mkdir -p "$HOME"
unset XDG_DATA_HOME
"$prefix/games/orbalune" > "$root/out" &
game=$!
sleep 2
kill -TERM $game
status=0
wait $game || status=$?
chmod -R u+w "$prefix/share/games/orbalune"
[ $status -eq 0 ] || { echo "exit value $status"; cat "$root/out"; exit 1; }
score="$HOME/.local/share/orbalune/Save/Score"
[ "$(wc -c < "$score")" -eq 40 ] || { echo "no best scores in $score"; exit 1; }
[ ! -e "$prefix/share/games/orbalune/Save" ] || { echo "wrote beside the assets"; exit 1; }
echo "installed, played and saved in the player's directory"
