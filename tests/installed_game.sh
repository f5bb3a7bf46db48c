#!/bin/sh
# Checks an installed Orbalune under PREFIX the way the desktop and a player
# meet it: every file in place and valid, the icons at every size, then a few
# seconds of play through the launcher, ended by SIGTERM. The best scores
# must land in the player's own directory, never beside the installed assets.
# usage: installed_game.sh PREFIX
set -eu
prefix=$1
fail() { echo "$prefix: $*"; exit 1; }

for f in games/orbalune lib/games/orbalune/orbalune \
         share/games/orbalune/IMG/Delo.bmp share/games/orbalune/Sound/Strela.wav \
         share/games/orbalune/Music/01_Lunar_Dawn.mid share/games/orbalune/Font/times.ttf \
         share/applications/io.github.orbalune.Orbalune.desktop \
         share/metainfo/io.github.orbalune.Orbalune.metainfo.xml; do
    [ -e "$prefix/$f" ] || fail "not installed, or a dangling link: $f"
done
man=$(ls "$prefix"/share/man/man6/orbalune.6* 2>/dev/null) || fail "no man page in section 6"
if command -v man >/dev/null; then
    warnings=$(man --warnings -E UTF-8 -l "$man" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "the man page renders with warnings: $warnings"
fi

# Each icon is a PNG of its directory's size.
for size in 16 32 48 64 128 256; do
    icon="$prefix/share/icons/hicolor/${size}x${size}/apps/orbalune.png"
    [ -f "$icon" ] || fail "no ${size}px icon"
    set -- $(od -An -tu1 -j16 -N8 "$icon")
    width=$(($1 << 24 | $2 << 16 | $3 << 8 | $4)) height=$(($5 << 24 | $6 << 16 | $7 << 8 | $8))
    [ "$width" -eq "$size" ] && [ "$height" -eq "$size" ] ||
        fail "the ${size}px icon is ${width}x${height}"
done

desktop="$prefix/share/applications/io.github.orbalune.Orbalune.desktop"
grep -qx 'Exec=orbalune' "$desktop" || fail "the desktop entry does not start the launcher"
grep -q '^Keywords=.' "$desktop" || fail "the desktop entry has no keywords"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "invalid desktop entry"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$prefix/share/metainfo/io.github.orbalune.Orbalune.metainfo.xml" \
        >/dev/null || fail "invalid metainfo"
fi

# The installed assets are read-only, as in a package.
home=$(mktemp -d)
trap 'chmod -R u+w "$prefix/share/games/orbalune"; rm -rf "$home"' EXIT
chmod -R a-w "$prefix/share/games/orbalune"
export HOME="$home"
unset XDG_DATA_HOME
"$prefix/games/orbalune" > "$home/out" 2>&1 &
game=$!
# Once the font is open the game is past its start-up checks and takes
# SIGTERM as a request to quit; a little play after that.
tries=0
until ls -l /proc/$game/fd 2>/dev/null | grep -q '\.ttf$'; do
    tries=$((tries + 1))
    [ $tries -lt 200 ] && kill -0 $game 2>/dev/null || { cat "$home/out"; fail "the game did not start"; }
    sleep 0.1
done
sleep 1
kill -TERM $game
status=0
wait $game || status=$?
[ $status -ne 143 ] || fail "the game did not take SIGTERM as a request to quit: killed, nothing saved"
[ $status -eq 0 ] || { cat "$home/out"; fail "exit value $status"; }
score="$HOME/.local/share/orbalune/Save/Score"
[ -f "$score" ] && [ "$(wc -c < "$score")" -eq 40 ] || fail "no best scores in $score"
[ ! -e "$prefix/share/games/orbalune/Save" ] || fail "wrote beside the assets"
echo "$prefix: installed, played and saved in the player's directory"
