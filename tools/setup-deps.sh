#!/bin/sh
# Installs the Debian packages Orbalune builds, plays and tests with: clang
# with its sanitizer and fuzzer runtimes and llvm's symbolizer for the
# sanitizer suite, valgrind for the memory check of the real binary.
# Costs nothing when they are all present already; asks apt only for what is missing.
set -eu

packages="cmake g++ make pkg-config
libsdl1.2-dev libsdl-mixer1.2-dev libsdl-ttf2.0-dev
fonts-liberation timgm6mb-soundfont
googletest libgtest-dev libbenchmark-dev desktop-file-utils
clang libclang-rt-dev llvm valgrind"

# The tests and screenshots also need a virtual X server and the tools that
# inspect what the game shows and plays.
if [ "${1:-}" = "--with-tools" ]; then
    packages="$packages xvfb x11-apps xdotool imagemagick sox"
fi

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
$sudo apt-get install -y -q --no-install-recommends $missing
