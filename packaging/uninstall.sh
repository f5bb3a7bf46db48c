#!/bin/sh
# Removes what installing this build under PREFIX put there (inside DESTDIR,
# when set). The same install is replayed into a scratch directory to learn
# exactly which files those are, so nothing else under PREFIX is touched;
# of the directories, only the game's own go, once empty.
# usage: uninstall.sh BUILD_DIR PREFIX
set -eu
build=$1
prefix=$2
dest=${DESTDIR:-}
case $dest in
    "" | /*) ;;
    *) dest="$(pwd)/$dest" ;;
esac
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR=$stage cmake --install "$build" --prefix "$prefix" >/dev/null
# The replay's record of installed files names the scratch directory.
rm -f "$build/install_manifest.txt"
cd "$stage"
find . ! -type d | sort | while read -r file; do
    target="$dest${file#.}"
    if [ -e "$target" ] || [ -L "$target" ]; then
        rm -f "$target"
        echo "-- Removed: $target"
    fi
done
find . -depth -type d -path '*/orbalune*' | while read -r dir; do
    rmdir "$dest${dir#.}" 2>/dev/null || true
done
