#!/usr/bin/env bash
# Runs every fuzz target in build-fuzz/fuzz until it has tried RUNS inputs,
# JOBS targets at a time (default: one per processor), within a wall time
# budget of SECONDS per target on average.
#
# Each target may use its share of the time that is left: the time left
# times JOBS, divided among the targets not yet started, and never more than
# the time left. Targets that reach RUNS early leave their time to the ones
# after them, and the whole run never takes longer than SECONDS times the
# number of targets. The processor time of each target is printed beside
# its wall time: on a busy machine runs per processor second tell how fast
# a target really is.
# Usage: scripts/run-fuzz.sh SECONDS RUNS [more libFuzzer flags]
#   (RUNS -1: no limit; FUZZ_JOBS in the environment sets JOBS)
# Fails on the first finding, naming the target, and stops the others.
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
jobs=${FUZZ_JOBS:-$(nproc 2>/dev/null || echo 1)}
((jobs < 1)) && jobs=1
# The targets that were quickest in the last run (processor time per run,
# which a busy machine changes less than wall time) go first, so that the
# slow ones come last, run beside each other and inherit the time the
# quick ones leave. Targets without a last run come first, in the order of
# their names.
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
declare -A running=()  # process id -> target name

# Runs one target for at most LIMIT seconds; its output goes to its log,
# its time to its time file.
run_target() {
  local f=$1 name=$2 limit=$3 seeds
  shift 3
  seeds=fuzz/seeds/${name#fuzz-}
  [ -d "$seeds" ] || seeds=
  mkdir -p "build-fuzz/corpus/$name"
  TIMEFORMAT="   processor time %U s user + %S s system, %R s wall"
  # shellcheck disable=SC2086 # no seed directory means no argument
  { time "$f" -runs="$runs" -max_total_time="$limit" -rss_limit_mb=4096 -print_final_stats=1 "$@" \
    "build-fuzz/corpus/$name" $seeds > "build-fuzz/$name.log" 2>&1; } 2> "build-fuzz/$name.time"
}

# Waits for one running target to end and reports it; on a finding stops
# the others and fails.
reap_one() {
  local pid status name
  wait -n -p pid "${!running[@]}"
  status=$?
  name=${running[$pid]}
  unset "running[$pid]"
  echo "== $name ended"
  cat "build-fuzz/$name.time"
  grep -E 'stat::number_of_executed_units|Done|ERROR|SUMMARY' "build-fuzz/$name.log"
  if ((status != 0)); then
    echo "== $name failed (exit $status): see build-fuzz/$name.log"
    echo "   (allocation stacks: rerun build-fuzz/fuzz/$name on the crash file with ASAN_OPTIONS unset)"
    for other in "${!running[@]}"; do pkill -P "$other" 2>/dev/null; kill "$other" 2>/dev/null; done
    wait
    exit 1
  fi
}

for f in "${targets[@]}"; do
  while ((${#running[@]} >= jobs)); do reap_one; done
  name=$(basename "$f")
  remaining=$((budget - (SECONDS - start)))
  limit=$((remaining * jobs / left))
  ((limit > remaining)) && limit=$remaining
  ((limit < 1)) && limit=1
  echo "== $name: up to $runs runs in up to $limit s"
  run_target "$f" "$name" "$limit" "$@" &
  running[$!]=$name
  left=$((left - 1))
done
while ((${#running[@]} > 0)); do reap_one; done
echo "== all targets done in $((SECONDS - start)) s"
