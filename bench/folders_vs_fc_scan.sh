#!/usr/bin/env bash
# tavrel-cli names and find on a whole font library against fontconfig's
# fc-scan on the same folder, as whole processes that each read every file
# without a cache: hyperfine's medians over the same run, and the median peak
# resident memory of find and of fc-scan (GNU time, seven runs each).
#   bench/folders_vs_fc_scan.sh [TAVREL_CLI] [FOLDER] [RUNS]
# The default library is /usr/share/fonts: Debian's fonts-noto-core and the
# fonts the tests install.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cli=${1:-$top/build/linux/cli/tavrel-cli}
folder=${2:-/usr/share/fonts}
runs=${3:-21}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

files=$(find -L "$folder" -type f \( -iname '*.ttf' -o -iname '*.otf' -o -iname '*.ttc' -o -iname '*.woff' \
  -o -iname '*.woff2' \) | wc -l)
echo "$folder: $files font files, $(du -shL "$folder" | cut -f1)"
hyperfine -N --warmup 3 --runs "$runs" --export-json "$out/times.json" -n names "$cli names $folder" \
  -n find "$cli find 永遠 $folder" -n fc-scan "fc-scan $folder" >"$out/hyperfine.log"

peak_kib() {  # median peak resident set of seven runs
  for _ in 1 2 3 4 5 6 7; do /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -n1; done | sort -n | sed -n 4p
}
find_kib=$(peak_kib "$cli" find 永遠 "$folder")
fc_kib=$(peak_kib fc-scan "$folder")

python3 - "$out/times.json" "$find_kib" "$fc_kib" <<'PY'
import json, sys
results = {r["command"]: r for r in json.load(open(sys.argv[1]))["results"]}
fc = results["fc-scan"]["median"]
for name in ("names", "find", "fc-scan"):
    median = results[name]["median"]
    print("%-8s median %8.2f ms  (%d runs)  %.2fx fc-scan's time" % (name, median * 1e3, len(results[name]["times"]), median / fc))
find_kib, fc_kib = int(sys.argv[2]), int(sys.argv[3])
print("peak RSS: find %d KiB, fc-scan %d KiB: %.2fx fc-scan's" % (find_kib, fc_kib, find_kib / fc_kib))
PY
