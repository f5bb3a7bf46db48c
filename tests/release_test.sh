#!/bin/sh
# The release names its version and its licence in several files for
# several readers (CMake, Debian, AppStream, man); they must agree.
# usage: release_test.sh SOURCE_DIR
set -eu
cd "$1"
fail() { echo "$*"; exit 1; }

version=$(sed -n 's/^project(Orbalune VERSION \([^ )]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || fail "no version in CMakeLists.txt"
changelog=$(sed -n '1s/^orbalune (\(.*\)-[^-]*).*/\1/p' debian/changelog)
metainfo=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' packaging/*.metainfo.xml | head -n 1)
man=$(sed -n 's/^\.TH ORBALUNE 6 "[^"]*" "Orbalune \([^"]*\)".*/\1/p' packaging/orbalune.6)
for named in "debian/changelog $changelog" "metainfo $metainfo" "man_page $man"; do
    set -- $named
    [ "${2:-}" = "$version" ] || fail "$1 names version ${2:-none}, the build $version"
done

# Debian's copyright file carries the licence word for word.
holder=$(sed -n 's/^Copyright (c) //p' LICENSE)
grep -qx "Copyright: $holder" debian/copyright || fail "debian/copyright does not name $holder"
licence=$(mktemp)
trap 'rm -f "$licence"' EXIT
sed -n '/^Permission/,$p' LICENSE > "$licence"
sed -n '/^License: Expat$/,/^$/{/^ /p}' debian/copyright | sed -e 's/^ //' -e 's/^\.$//' |
    diff -u "$licence" - || fail "debian/copyright differs from LICENSE"
echo "version $version and the licence agree"
