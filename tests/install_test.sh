#!/bin/sh
# Installs through the Makefile into a staging root, as a packager does, for
# a prefix that holds Debian's font (a relative link) and one that does not
# (an absolute one); checks and plays the installed game, then uninstalls:
# everything installed goes, another package's files stay. Installing must
# never build: without a build it stops and says what to do.
# usage: install_test.sh SOURCE_DIR BUILD_DIR
set -eu
src=$1
build=$2
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "$*"; exit 1; }
# Run from the suite's own make, the inner one must not expect its job slots.
unset MAKEFLAGS MFLAGS MAKELEVEL

if make -s -C "$src" install BUILD="$root/unbuilt" DESTDIR="$root" >"$root/out" 2>&1; then
    fail "installed without a build"
fi
grep -q "run 'make' first" "$root/out" || fail "unclear error without a build: $(cat "$root/out")"
[ ! -e "$root/unbuilt" ] && [ ! -e "$root/usr" ] || fail "installing without a build made files"

# The system's fonts, where the font link may point, and another package's file.
mkdir -p "$root/usr/share/applications"
ln -s /usr/share/fonts "$root/usr/share/fonts"
echo "[Desktop Entry]" > "$root/usr/share/applications/other.desktop"
files() { (cd "$root" && find . ! -type d | sort); }
before=$(files)

for case in "/usr relative" "/usr/local absolute"; do
    set -- $case
    prefix=$1 link=$2
    make -s -C "$src" install BUILD="$build" DESTDIR="$root" PREFIX="$prefix" >/dev/null
    target=$(readlink "$root$prefix/share/games/orbalune/Font/times.ttf")
    case $target in
        /*) [ "$link" = absolute ] || fail "$prefix: the font link is absolute: $target" ;;
        *) [ "$link" = relative ] || fail "$prefix: the font link is relative: $target" ;;
    esac
    sh "$src/tests/installed_game.sh" "$root$prefix"
    make -s -C "$src" uninstall BUILD="$build" DESTDIR="$root" PREFIX="$prefix" >/dev/null
    [ "$(files)" = "$before" ] || fail "$prefix: uninstalling left or took files: $(files)"
    own=$(cd "$root" && find . -type d -path '*orbalune*')
    [ -z "$own" ] || fail "$prefix: uninstalling left the game's directories: $own"
done
echo "installed, played and uninstalled under /usr and /usr/local"
