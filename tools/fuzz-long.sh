#!/bin/bash
# Long fuzz runs in slices, target after target, until each has its number of executions.
#
#   tools/fuzz-long.sh run BIN STATE SECONDS target...   fuzz in slices of SECONDS
#   tools/fuzz-long.sh totals STATE                      executions so far per target
#
# BIN is the folder of the fuzz programs (build-fuzz/tests/fuzz). STATE keeps what lasts between
# runs: corpus/<target>, artifacts/<target>, log.tsv (one line per slice: time, target,
# executions, exit status, seconds) and, if present, prior.tsv (target, executions) for runs
# counted before the log. A slice that ends with a non-zero status keeps its output as
# finding-<target>-<time>.log, and its target is passed over until that file is dealt with
# (removed or renamed). A target that has reached GOAL executions (10 million unless set) is
# skipped; the run ends when none is left, or before the next slice once STATE/stop exists.
# Run one of these per CPU. Their target lists may overlap: a target being fuzzed by one run is
# passed over by the others (a lock per target), so no two slices share a corpus or a log.
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
seeds=$here/tests/fuzz/corpus
goal=${GOAL:-10000000}

usage() {
  sed -n '4,5p' "$0" | sed 's/^# *//' >&2
  exit 2
}

totals() { # STATE
  cat "$1/prior.tsv" "$1/log.tsv" 2>/dev/null |
    awk -F'\t' 'NF == 2 {s[$1] += $2} NF > 2 {s[$2] += $3; secs[$2] += $5; if ($4 != 0) bad[$2]++}
      END {for (t in s) printf "%s\t%d executions\t%d s logged\t%d slices ended non-zero\n", t, s[t], secs[t], bad[t]}' |
    sort
}

total() { # STATE target: the executions alone
  totals "$1" | awk -F'\t' -v t="$2" '$1 == t {n = $2 + 0} END {print n + 0}'
}

slice() { # BIN STATE SECONDS target
  local bin=$1 state=$2 secs=$3 t=$4 extra=() start rc n
  mkdir -p "$state/corpus/$t" "$state/artifacts/$t"
  # The target's own options (input size, length control), as the build wrote them.
  [ -f "$bin/$t.options" ] && read -ra extra <"$bin/$t.options"
  start=$(date +%s)
  # No allocation stacks: up to twice the executions per second. A finding is replayed from its
  # artifact without this for the full report.
  ASAN_OPTIONS=malloc_context_size=0 LSAN_OPTIONS=suppressions=$here/tools/lsan.supp:print_suppressions=0 \
    "$bin/$t" "${extra[@]}" -max_total_time="$secs" -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$state/artifacts/$t/" \
    "$state/corpus/$t" "$seeds/$t" >"$state/last-$t.log" 2>&1
  rc=$?
  n=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$state/last-$t.log" | awk '{print $2}')
  printf '%s\t%s\t%s\t%s\t%s\n' "$(date -u +%FT%TZ)" "$t" "${n:-0}" "$rc" $(($(date +%s) - start)) \
    >>"$state/log.tsv"
  [ "$rc" -ne 0 ] && cp "$state/last-$t.log" "$state/finding-$t-$(date +%s).log"
  return 0
}

run() { # BIN STATE SECONDS target...
  [ $# -ge 4 ] || usage
  local bin=$1 state=$2 secs=$3 t left ran
  shift 3
  for t in "$@"; do
    [ -x "$bin/$t" ] || { echo "no fuzz program $bin/$t" >&2; exit 1; }
    [ -d "$seeds/$t" ] || { echo "no seeds for $t in $seeds" >&2; exit 1; }
  done
  mkdir -p "$state"
  while true; do
    left=0 ran=0
    for t in "$@"; do
      [ -e "$state/stop" ] && return 0
      [ "$(total "$state" "$t")" -ge "$goal" ] && continue
      compgen -G "$state/finding-$t-*.log" >/dev/null && continue
      left=1
      # The lock is held for the slice; the goal is checked again under it, as another run may
      # have just logged the last slice needed.
      (
        flock -n 9 || exit 1
        [ "$(total "$state" "$t")" -ge "$goal" ] && exit 0
        slice "$bin" "$state" "$secs" "$t"
      ) 9>"$state/$t.lock" && ran=1
    done
    [ $left = 0 ] && return 0
    # Every target left is taken by another run: wait for one to come free.
    [ $ran = 0 ] && sleep 5
  done
}

case ${1:-} in
run) shift; run "$@" ;;
totals) [ $# -eq 2 ] || usage; totals "$2" ;;
*) usage ;;
esac
