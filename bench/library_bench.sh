#!/usr/bin/env bash
# Font libraries in the window under Wine, against their floors:
# - private memory after the load, less the same process with one small font,
#   as a share of the files' bytes: a ten-member collection, Debian's font
#   folder and a generated library of COUNT faces;
# - the window's load of each folder beside `tavrel-cli.exe names` over it
#   (whole process, Wine's start included), and the longest wait for WM_NULL;
# - a collection member's first use beside registering the file alone;
# - the library window's line filter ("この行を組める書体だけ", LINE) over the
#   generated library beside `tavrel-cli.exe find LINE` over it: the first
#   time (traits and names read too) and for a second line, the longest wait
#   for WM_NULL meanwhile, and the window's private memory a face beside the
#   drawn lines' cache.
# The library is generated once into /tmp by make_library.py.
#
#   bench/library_bench.sh [COUNT] [LINE]  (default 10000 and 永遠; needs $DISPLAY and the windows tree)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
count=${1:-10000}
line=${2:-永遠}
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
  local what=$1 run=${2:-load} pid
  until grep -q "ready $what" "$out/$run" 2>/dev/null; do sleep 0.1; done
  pid=$(pgrep -f -n "tavrel-bench-folder-window.exe $run")
  awk '/^Anonymous:/ { print $2 }' "/proc/$pid/smaps_rollup"
}

[ -d "$library" ] || /usr/bin/python3 "$top/bench/make_library.py" "$library" "$count"

# Every file read once beforehand, so the window and the CLI both find the
# files in the page cache, whichever runs first.
warm() { find -L "$1" -type f -exec cat {} + >/dev/null 2>&1 || true; }

for path in "$collection" /usr/share/fonts "$library"; do
  rm -f "$out/load"
  warm "$path"
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

echo "== the library window over $library, line $line"
warm "$library"
wine "$bench" library "$(winpath "$library")" "$line" "$(winpath "$small")" >"$out/library" 2>"$out/err" </dev/null &
loaded_kb=$(anonymous_kb_at loaded library)
library_kb=$(anonymous_kb_at library library)
wait
start=$(now_ms)
wine "$cli" find "$line" "$(winpath "$library")" >"$out/find" 2>"$out/err" </dev/null || true
find_ms=$(( $(now_ms) - start ))
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
run() { value "$1" "$out/library"; }
echo "$(run faces) faces: $(run shown) shown, $(grep -c . "$out/find" || true) found by the CLI; opened in $(run open_ms) ms"
echo "first filter $(run first_filter_ms) ms (longest WM_NULL wait $(run first_longest_wm_null_wait_ms) ms)"
echo "filter again $(run filter_ms) ms (longest WM_NULL wait $(run longest_wm_null_wait_ms) ms)"
echo "tavrel-cli.exe find $find_ms ms; window / cli: first $(ratio "$(run first_filter_ms)" "$find_ms"), again $(ratio "$(run filter_ms)" "$find_ms")"
added=$(( (library_kb - loaded_kb) * 1024 - $(run picture_bytes) ))
echo "private memory: $((loaded_kb / 1024)) MiB loaded, $((library_kb / 1024)) MiB with the window, drawn lines $(run picture_bytes) bytes"
# The allowance: the drawn-line cache's budget (16 MiB) and 200 bytes a face.
# Most of what the window adds is the same whatever the library's size (the
# list view, its threads); run with a small folder to see that part alone.
allowance=$(( 16 * 1048576 + 200 * $(run faces) ))
echo "window: adds $((added / 1024)) KiB beside the drawn lines, $(ratio "$added" "$allowance") of the allowance ($((allowance / 1024)) KiB)"
