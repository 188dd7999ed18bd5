#!/bin/sh
# Runs a Windows program under Wine with the screen at DPI, in a private copy
# of the prefix whose LogPixels says so: Wine gives every window that DPI.
# The copy links the prefix's files; what Wine writes (registry, .ini) is copied.
# usage: at_dpi.sh WINE_EXEC DPI PROGRAM [ARGUMENT...]
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
