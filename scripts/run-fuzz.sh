#!/usr/bin/env bash
# Runs every fuzz target in build-fuzz/fuzz until it has tried RUNS inputs,
# within a time budget of SECONDS per target on average: targets that reach
# RUNS early leave their time to the ones after them, and no target may use
# more than twice its share of what is left, so the whole run never takes
# longer than SECONDS times the number of targets.
# Usage: scripts/run-fuzz.sh SECONDS RUNS [more libFuzzer flags]
#   (RUNS -1: no limit)
# Fails on the first finding, naming the target.
set -u
seconds=${1:?seconds per target}
runs=${2:?runs per target}
shift 2
targets=(build-fuzz/fuzz/fuzz-*)
left=${#targets[@]}
budget=$((seconds * left))
start=$SECONDS
for f in "${targets[@]}"; do
  name=$(basename "$f")
  mkdir -p "build-fuzz/corpus/$name"
  seeds=fuzz/seeds/${name#fuzz-}
  [ -d "$seeds" ] || seeds=
  remaining=$((budget - (SECONDS - start)))
  limit=$((2 * remaining / left))
  ((limit > remaining)) && limit=$remaining
  ((limit < 1)) && limit=1
  echo "== $name: up to $runs runs in up to $limit s"
  # shellcheck disable=SC2086 # no seed directory means no argument
  "$f" -runs="$runs" -max_total_time="$limit" -rss_limit_mb=4096 -print_final_stats=1 "$@" \
    "build-fuzz/corpus/$name" $seeds > "build-fuzz/$name.log" 2>&1
  status=$?
  grep -E 'stat::number_of_executed_units|Done|ERROR|SUMMARY' "build-fuzz/$name.log"
  if ((status != 0)); then
    echo "== $name failed (exit $status): see build-fuzz/$name.log"
    exit 1
  fi
  left=$((left - 1))
done
echo "== all targets done in $((SECONDS - start)) s"
