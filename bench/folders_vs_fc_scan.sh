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
. "$top/bench/against_fontconfig.sh"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

files=$(find -L "$folder" -type f \( -iname '*.ttf' -o -iname '*.otf' -o -iname '*.ttc' -o -iname '*.woff' \
  -o -iname '*.woff2' \) | wc -l)
echo "$folder: $files font files, $(du -shL "$folder" | cut -f1)"
hyperfine -N --warmup 3 --runs "$runs" --export-json "$out/times.json" -n names "$cli names $folder" \
  -n find "$cli find 永遠 $folder" -n fc-scan "fc-scan $folder" >"$out/hyperfine.log"

find_kib=$(peak_kib "$cli" find 永遠 "$folder")
fc_kib=$(peak_kib fc-scan "$folder")

report "$out/times.json" find "$find_kib" fc-scan "$fc_kib" names find fc-scan
