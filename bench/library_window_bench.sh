#!/usr/bin/env bash
# The library window over a generated library under Wine, against its floor:
# - the line filter ("この行を組める書体だけ") over every face beside
#   `tavrel-cli.exe find LINE` over the same folder (whole process, Wine's
#   start included): the first time (traits and names read too) and for a
#   second line; the longest wait for WM_NULL meanwhile;
# - the window's private memory beside the loaded folder's without it, a
#   face, less the drawn lines' cache.
#
#   bench/library_window_bench.sh [COUNT] [LINE]   (default 10000 and 永遠; needs $DISPLAY and the windows tree)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
count=${1:-10000}
line=${2:-永遠}
library=/tmp/tavrel-library-$count
small=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
export WINEPREFIX=${WINEPREFIX:-$top/build/wine} WINEDEBUG=-all
bench=$top/build/windows/bench/tavrel-bench-folder-window.exe
cli=$top/build/windows/cli/tavrel-cli.exe
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

winpath() { echo "Z:$(realpath "$1" | tr / '\\')"; }
value() { tr -d "\r" <"$2" | sed -n "s/^$1 //p"; }
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
anonymous_kb_at() {
  local what=$1 pid
  until grep -q "ready $what" "$out/run" 2>/dev/null; do sleep 0.1; done
  pid=$(pgrep -f -n "tavrel-bench-folder-window.exe library")
  awk '/^Anonymous:/ { print $2 }' "/proc/$pid/smaps_rollup"
}

[ -d "$library" ] || /usr/bin/python3 "$top/bench/make_library.py" "$library" "$count"

wine "$bench" library "$(winpath "$library")" "$line" "$(winpath "$small")" >"$out/run" 2>"$out/err" </dev/null &
loaded_kb=$(anonymous_kb_at loaded)
library_kb=$(anonymous_kb_at library)
wait
start=$(now_ms)
wine "$cli" find "$line" "$(winpath "$library")" >"$out/find" 2>"$out/err" </dev/null || true
find_ms=$(( $(now_ms) - start ))
faces=$(value faces "$out/run")
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
echo "== $faces faces, line $line: $(value shown "$out/run") shown, $(grep -c . "$out/find" || true) found by the CLI"
echo "window opened in $(value open_ms "$out/run") ms"
echo "first filter $(value first_filter_ms "$out/run") ms (longest WM_NULL wait $(value first_longest_wm_null_wait_ms "$out/run") ms)"
echo "filter again $(value filter_ms "$out/run") ms (longest WM_NULL wait $(value longest_wm_null_wait_ms "$out/run") ms)"
echo "tavrel-cli.exe find $find_ms ms; window / cli: first $(ratio "$(value first_filter_ms "$out/run")" "$find_ms"), again $(ratio "$(value filter_ms "$out/run")" "$find_ms")"
pictures=$(value picture_bytes "$out/run")
added=$(( (library_kb - loaded_kb) * 1024 ))
echo "private memory: $((loaded_kb / 1024)) MiB loaded, $((library_kb / 1024)) MiB with the window; drawn lines $pictures bytes"
echo "window: $(( (added - pictures) / faces )) bytes a face beside the drawn lines"
