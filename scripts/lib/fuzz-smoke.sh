#!/usr/bin/env bash
# A short, repeatable fuzz run of one target from its seeds: a fixed number of
# inputs with a fixed random seed. Any finding fails it, and the input that
# failed is kept in WORK for minimising.
#   fuzz-smoke.sh TARGET SEEDS DICT WORK
set -euo pipefail
target=$1 seeds=$2 dict=$3 work=$4
runs=${TAVREL_FUZZ_SMOKE_RUNS:-20000}
rm -rf "$work"
mkdir -p "$work/corpus"
exec "$target" -runs="$runs" -seed=1 -max_len=65536 -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=512 \
  -dict="$dict" -print_final_stats=1 -artifact_prefix="$work/" "$work/corpus" "$seeds"
