#!/usr/bin/env bash
# Runs every fuzz target in build-fuzz/fuzz until it has tried RUNS inputs,
# within a time budget of SECONDS per target on average: each target may
# use an equal share of the time that is left, so targets that reach RUNS
# early leave their time to the ones after them, and the whole run never
# takes longer than SECONDS times the number of targets. The processor
# time of each target is printed beside its wall time: on a busy machine
# runs per processor second tell how fast a target really is.
# Usage: scripts/run-fuzz.sh SECONDS RUNS [more libFuzzer flags]
#   (RUNS -1: no limit)
# Fails on the first finding, naming the target.
#
# Allocations keep no stack trace here (ASan's malloc_context_size=0):
# taking one cost every run several per cent. A finding still stops the
# run; rerunning its crash file without these options shows where the
# memory was taken and given back. ASAN_OPTIONS given by the caller win.
set -u
export ASAN_OPTIONS="malloc_context_size=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
seconds=${1:?seconds per target}
runs=${2:?runs per target}
shift 2
# The targets that were quickest in the last run (processor time per run,
# which a busy machine changes less than wall time) go first, so that the
# slow ones come last and inherit the time the quick ones leave. Targets
# without a last run come first, in the order of their names.
cost_per_run() {
  local name cost
  name=$(basename "$1")
  cost=$(awk '/processor time/ { cpu = $3 + $7 } /stat::number_of_executed_units/ { runs = $2 }
              END { if (cpu > 0 && runs > 0) printf "%.9f", cpu / runs; else print 0 }' \
         "build-fuzz/$name.time" "build-fuzz/$name.log" 2>/dev/null)
  printf '%s %s\n' "${cost:-0}" "$1"
}
mapfile -t targets < <(for f in build-fuzz/fuzz/fuzz-*; do cost_per_run "$f"; done | sort -s -g -k1,1 | cut -d' ' -f2-)
left=${#targets[@]}
budget=$((seconds * left))
start=$SECONDS
for f in "${targets[@]}"; do
  name=$(basename "$f")
  mkdir -p "build-fuzz/corpus/$name"
  seeds=fuzz/seeds/${name#fuzz-}
  [ -d "$seeds" ] || seeds=
  remaining=$((budget - (SECONDS - start)))
  limit=$((remaining / left))
  ((limit < 1)) && limit=1
  echo "== $name: up to $runs runs in up to $limit s"
  # shellcheck disable=SC2086 # no seed directory means no argument
  TIMEFORMAT="   processor time %U s user + %S s system, %R s wall"
  { time "$f" -runs="$runs" -max_total_time="$limit" -rss_limit_mb=4096 -print_final_stats=1 "$@" \
    "build-fuzz/corpus/$name" $seeds > "build-fuzz/$name.log" 2>&1; } 2> "build-fuzz/$name.time"
  status=$?
  cat "build-fuzz/$name.time"
  grep -E 'stat::number_of_executed_units|Done|ERROR|SUMMARY' "build-fuzz/$name.log"
  if ((status != 0)); then
    echo "== $name failed (exit $status): see build-fuzz/$name.log"
    echo "   (allocation stacks: rerun $f on the crash file with ASAN_OPTIONS unset)"
    exit 1
  fi
  left=$((left - 1))
done
echo "== all targets done in $((SECONDS - start)) s"
