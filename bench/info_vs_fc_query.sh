#!/usr/bin/env bash
# tavrel-cli names and info --json against fontconfig's fc-query on the large
# collection, as whole processes: hyperfine's medians over the same run, and
# the peak resident memory of each (median of several runs).
#   bench/info_vs_fc_query.sh [TAVREL_CLI] [RUNS]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cli=${1:-$top/build/linux/cli/tavrel-cli}
runs=${2:-31}
font=/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc
. "$top/bench/against_fontconfig.sh"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

hyperfine -N --warmup 3 --runs "$runs" --export-json "$out/times.json" \
  -n names "$cli names $font" -n info "$cli info --json $font" -n fc-query "fc-query $font" >"$out/hyperfine.log"

info_kib=$(peak_kib "$cli" info --json "$font")
fc_kib=$(peak_kib fc-query "$font")

report "$out/times.json" info "$info_kib" fc-query "$fc_kib" names info fc-query
