#!/bin/sh
# Builds the Debian package as 'make deb' does (lintian included), checks
# what it depends on, unpacks it into a scratch root with dpkg -x and plays
# it there through its launcher.
# usage: deb_test.sh SOURCE_DIR
set -eu
src=$1
if ! command -v dpkg-buildpackage >/dev/null; then
    echo "SKIPPED: dpkg-buildpackage (Debian's dpkg-dev) is not installed, so no package can be built here"
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "$*"; exit 1; }
unset MAKEFLAGS MFLAGS MAKELEVEL

# Without the package's own tests: they are this very suite.
DEB_BUILD_OPTIONS="nocheck parallel=2" sh "$src/tools/deb.sh" "$work/out" -Pnocheck \
    >"$work/log" 2>&1 || { tail -40 "$work/log"; fail "the package did not build cleanly"; }
deb=$(ls "$work"/out/orbalune_*.deb)

depends=$(dpkg-deb -f "$deb" Depends)
for package in libsdl1.2debian libsdl-mixer1.2 libsdl-ttf2.0-0 fonts-liberation timgm6mb-soundfont; do
    case ", $depends," in
        *", $package "* | *", $package,"*) ;;
        *) fail "the package does not depend on $package: $depends" ;;
    esac
done

dpkg -x "$deb" "$work/root"
target=$(readlink "$work/root/usr/share/games/orbalune/Font/times.ttf")
case $target in /*) fail "the font link is absolute: $target" ;; esac
# fonts-liberation, as this machine has it installed.
ln -s /usr/share/fonts "$work/root/usr/share/fonts"
sh "$src/tests/installed_game.sh" "$work/root/usr"
