#!/usr/bin/env bash
# Font libraries in the window under Wine, against their floors:
# - private memory after the load, less the same process with one small font,
#   as a share of the files' bytes: a ten-member collection, Debian's font
#   folder and a generated library of COUNT faces;
# - the window's load of each folder beside `tavrel-cli.exe names` over it
#   (whole process, Wine's start included), and the longest wait for WM_NULL;
# - a collection member's first use beside registering the file alone.
# The library is generated once into /tmp by make_library.py.
#
#   bench/library_bench.sh [COUNT]     (default 10000; needs $DISPLAY and the windows tree)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
count=${1:-10000}
library=/tmp/tavrel-library-$count
small=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
collection=/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc
export WINEPREFIX=${WINEPREFIX:-$top/build/wine} WINEDEBUG=-all
bench=$top/build/windows/bench/tavrel-bench-folder-window.exe
cli=$top/build/windows/cli/tavrel-cli.exe
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

winpath() { echo "Z:$(realpath "$1" | tr / '\\')"; }
font_bytes() {
  find -L "$1" -type f \( -iname '*.ttf' -o -iname '*.otf' -o -iname '*.ttc' -o -iname '*.woff' -o -iname '*.woff2' \) \
    -printf '%s\n' | awk '{ s += $1 } END { print s }'
}
value() { tr -d "\r" <"$2" | sed -n "s/^$1 //p"; }
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
# Private memory as Windows counts private bytes: the anonymous resident
# memory of the Wine process, read when the bench says `what` is loaded.
anonymous_kb_at() {
  local what=$1 pid
  until grep -q "ready $what" "$out/load" 2>/dev/null; do sleep 0.1; done
  pid=$(pgrep -f -n "tavrel-bench-folder-window.exe load")
  awk '/^Anonymous:/ { print $2 }' "/proc/$pid/smaps_rollup"
}

[ -d "$library" ] || /usr/bin/python3 "$top/bench/make_library.py" "$library" "$count"

for path in "$collection" /usr/share/fonts "$library"; do
  rm -f "$out/load"
  wine "$bench" load "$(winpath "$path")" "$(winpath "$small")" >"$out/load" 2>"$out/err" </dev/null &
  small_kb=$(anonymous_kb_at small_font)
  loaded_kb=$(anonymous_kb_at loaded)
  wait
  bytes=$(font_bytes "$path")
  added=$(( (loaded_kb - small_kb) * 1024 ))
  echo "== $path: $(value faces "$out/load") faces, $((bytes / 1048576)) MiB of font files"
  echo "private memory: $((small_kb / 1024)) MiB with one small font, $((loaded_kb / 1024)) MiB loaded"
  echo "added: $((added / 1048576)) MiB, $(awk -v a="$added" -v b="$bytes" 'BEGIN { printf "%.3f", a / b }')x the files"
  echo "window load $(value load_ms "$out/load") ms, longest WM_NULL wait $(value longest_wm_null_wait_ms "$out/load") ms"
  if [ -d "$path" ]; then
    start=$(now_ms)
    wine "$cli" names "$(winpath "$path")" >"$out/names" 2>"$out/err" </dev/null || true
    names=$(( $(now_ms) - start ))
    echo "tavrel-cli.exe names $names ms; window / cli $(awk -v w="$(value load_ms "$out/load")" -v c="$names" 'BEGIN { printf "%.2f", w / c }')"
  fi
done

echo "== first use of a member of $collection"
wine "$bench" first-use "$(winpath "$collection")" 9 >"$out/first" 2>"$out/err" </dev/null
cat "$out/first"
