#!/bin/bash
# The long-run driver: a slice is logged with its executions, a target at its goal or with a
# finding is not run again, and a stop file ends the run before the next slice.
# usage: fuzz-long-test.sh SOURCE_DIR FUZZ_BIN_DIR
set -eu
driver=$1/tools/fuzz-long.sh
bin=$2
state=$(mktemp -d)
trap 'rm -rf "$state"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# One slice reaches a goal of one execution, so the loop ends after it.
GOAL=1 "$driver" run "$bin" "$state" 2 fuzz_scoringtables >/dev/null
[ "$(wc -l <"$state/log.tsv")" -eq 1 ] || fail "expected one slice: $(cat "$state/log.tsv")"
IFS=$'\t' read -r _ target execs rc secs <"$state/log.tsv"
[ "$target" = fuzz_scoringtables ] || fail "target logged as '$target'"
[ "$execs" -gt 0 ] || fail "no executions logged"
[ "$rc" -eq 0 ] || fail "slice ended with $rc"
[ "$secs" -ge 2 ] || fail "slice lasted $secs s"
ls "$state/corpus/fuzz_scoringtables" | grep -q . || fail "corpus not kept"

# Prior counts are added to the log's; a target at its goal is skipped.
printf 'fuzz_scoringtables\t100\n' >"$state/prior.tsv"
"$driver" totals "$state" | grep -qx "fuzz_scoringtables	$((execs + 100)) executions	$secs s logged	0 slices ended non-zero" ||
  fail "totals: $("$driver" totals "$state")"
GOAL=$((execs + 100)) "$driver" run "$bin" "$state" 2 fuzz_scoringtables >/dev/null
[ "$(wc -l <"$state/log.tsv")" -eq 1 ] || fail "a target at its goal was run again"

# A stop file ends the run before any slice.
touch "$state/stop"
"$driver" run "$bin" "$state" 2 fuzz_settings >/dev/null
[ "$(wc -l <"$state/log.tsv")" -eq 1 ] || fail "ran a slice after stop"

# Two runs sharing a target: while another run holds it, it is passed over and taken up once free.
shared=$state/shared
mkdir -p "$shared"
flock "$shared/fuzz_settings.lock" sleep 4 &
sleep 0.5
GOAL=1 "$driver" run "$bin" "$shared" 2 fuzz_settings fuzz_scoringtables >/dev/null
wait
[ "$(cut -f2 "$shared/log.tsv" | paste -sd' ')" = "fuzz_scoringtables fuzz_settings" ] ||
  fail "shared target order: $(cat "$shared/log.tsv")"

# A target with a finding not yet looked at is passed over.
found=$state/found
mkdir -p "$found"
touch "$found/finding-fuzz_settings-1.log"
GOAL=1 "$driver" run "$bin" "$found" 2 fuzz_settings >/dev/null
[ ! -e "$found/log.tsv" ] || fail "ran a target with a finding: $(cat "$found/log.tsv")"

# Unknown targets are refused.
if "$driver" run "$bin" "$state" 2 fuzz_nothing 2>/dev/null; then fail "unknown target accepted"; fi
echo ok
