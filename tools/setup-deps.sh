#!/bin/sh
# Installs the Debian packages Orbalune builds, plays and tests with. The mix
# is tested in both of Debian's General MIDI fonts: timgm6mb, which the game
# depends on, and fluid-soundfont-gm, which players may have as the default.
# clang with its sanitizer and fuzzer runtimes and llvm's symbolizer serve the
# sanitizer suite, valgrind the memory check of the real binary.
# Costs nothing when they are all present already; asks apt only for what is missing.
# usage: setup-deps.sh [--with-tools] [--with-packaging]
set -eu

packages="cmake g++ make pkg-config
libsdl1.2-dev libsdl-mixer1.2-dev libsdl-ttf2.0-dev
fonts-liberation timgm6mb-soundfont fluid-soundfont-gm
googletest libgtest-dev libbenchmark-dev desktop-file-utils
clang libclang-rt-dev llvm valgrind"

for option in "$@"; do
    case $option in
        # The screenshots need a virtual X server and the tools that inspect
        # what the game shows and plays.
        --with-tools) packages="$packages xvfb x11-apps xdotool imagemagick sox" ;;
        # The Debian package is built, checked and validated with these.
        --with-packaging) packages="$packages dpkg-dev debhelper fakeroot lintian appstream man-db" ;;
        *) echo "setup-deps.sh: unknown option $option" >&2; exit 2 ;;
    esac
done

missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" \
        || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
# shellcheck disable=SC2086
$sudo apt-get install -y -q -o DPkg::Lock::Timeout=300 --no-install-recommends $missing
