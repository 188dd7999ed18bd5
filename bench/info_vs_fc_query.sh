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
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

hyperfine -N --warmup 3 --runs "$runs" --export-json "$out/times.json" \
  -n names "$cli names $font" -n info "$cli info --json $font" -n fc-query "fc-query $font" >"$out/hyperfine.log"

peak_kib() {  # median peak resident set of seven runs
  for _ in 1 2 3 4 5 6 7; do /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -n1; done | sort -n | sed -n 4p
}
info_kib=$(peak_kib "$cli" info --json "$font")
fc_kib=$(peak_kib fc-query "$font")

python3 - "$out/times.json" "$info_kib" "$fc_kib" <<'PY'
import json, sys
results = {r["command"]: r for r in json.load(open(sys.argv[1]))["results"]}
fc = results["fc-query"]["median"]
for name in ("names", "info", "fc-query"):
    median = results[name]["median"]
    print("%-9s median %7.2f ms  (%d runs)  %.2fx fc-query's time" % (name, median * 1e3, len(results[name]["times"]), median / fc))
info_kib, fc_kib = int(sys.argv[2]), int(sys.argv[3])
print("peak RSS: info %d KiB, fc-query %d KiB: %.2fx fc-query's" % (info_kib, fc_kib, info_kib / fc_kib))
PY
