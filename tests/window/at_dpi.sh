#!/bin/sh
# usage: at_dpi.sh WINE_EXEC DPI PROGRAM [ARGUMENT...]: the program under Wine at DPI, in a copy of
# the prefix whose LogPixels says so, linked to the prefix's files but for those Wine writes.
set -eu
wine_exec=$1 dpi=$2
shift 2
source=${WINEPREFIX:-$(dirname "$wine_exec")/../build/wine}
prefix=$(mktemp -d)
trap 'WINEPREFIX=$prefix wineserver -k 2>/dev/null; rm -rf "$prefix"' EXIT
cp -al "$source/." "$prefix/"
for file in "$prefix"/*.reg "$prefix"/drive_c/windows/*.ini; do
  cp --remove-destination "$source/${file#"$prefix"/}" "$file"
done
sed -i "s/\"LogPixels\"=dword:[0-9a-f]*/\"LogPixels\"=dword:$(printf %08x "$dpi")/" "$prefix"/*.reg
WINEPREFIX=$prefix TAVREL_TEST_DPI=$dpi "$wine_exec" "$@"
