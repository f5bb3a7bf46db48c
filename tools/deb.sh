#!/bin/sh
# Builds the Debian package with dpkg-buildpackage from a clean copy of the
# tree, so the package build never rewrites this tree's data/ while a game or
# a test reads it, then checks the package with lintian. Leaves
# orbalune_*.deb in OUT_DIR.
# usage: deb.sh OUT_DIR [dpkg-buildpackage options...]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$1"
out=$(cd "$1" && pwd)
shift
version=$(dpkg-parsechangelog -l "$root/debian/changelog" -S Version)
work="$out/orbalune-${version%-*}"
rm -rf "$work" "$out"/orbalune_* "$out"/orbalune-dbgsym_*
mkdir -p "$work"

# The tree as it stands, committed or not, without what builds leave in it.
if git -C "$root" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    (cd "$root" && git ls-files -z --cached --others --exclude-standard) |
        (cd "$root" && xargs -0 sh -c 'for f; do [ -e "$f" ] && printf "%s\0" "$f"; done' sh) |
        (cd "$root" && xargs -0 cp -P --parents -t "$work")
else
    tar -C "$root" --exclude="./${out#"$root"/}" --exclude-vcs -cf - . | tar -C "$work" -xf -
fi

(cd "$work" && dpkg-buildpackage -us -uc -b -j"$(nproc 2>/dev/null || echo 2)" "$@")
rm -rf "$work"
deb=$(ls "$out"/orbalune_*.deb)
lintian --fail-on error,warning --info "$out"/orbalune_*.changes
echo "built $deb"
