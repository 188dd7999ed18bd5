# What the benchmarks racing tavrel-cli against fontconfig's tools share;
# sourced, not run.

peak_kib() {  # median peak resident set of seven runs
  for _ in 1 2 3 4 5 6 7; do /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -n1; done | sort -n | sed -n 4p
}

# report TIMES_JSON OURS OURS_KIB THEIRS THEIRS_KIB NAME...: each named
# command's median from hyperfine's JSON beside THEIRS's, then the peak memory.
report() {
  python3 - "$@" <<'PY'
import json, sys
times, ours, ours_kib, theirs, theirs_kib, *names = sys.argv[1:]
results = {r["command"]: r for r in json.load(open(times))["results"]}
base = results[theirs]["median"]
for name in names:
    median = results[name]["median"]
    print("%-9s median %8.2f ms  (%d runs)  %.2fx %s's time" % (name, median * 1e3, len(results[name]["times"]), median / base, theirs))
print("peak RSS: %s %d KiB, %s %d KiB: %.2fx %s's" % (ours, int(ours_kib), theirs, int(theirs_kib), int(ours_kib) / int(theirs_kib), theirs))
PY
}
