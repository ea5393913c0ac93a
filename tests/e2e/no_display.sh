#!/usr/bin/env bash
# Started with no display at all, the program says so in one line and fails, touching nothing.
source "$(dirname "$0")/lib.sh"
e2e_setup "$@"

cp "$PROG/tov2sf.ini" "$WORK/ini.before"
status=0
timeout 10 env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$PROG/tov2sf" \
    >"$OUT/stdout.log" 2>"$OUT/stderr.log" || status=$?
[ "$status" -ne 124 ] || fail "program hung with no display"
[ "$status" -ne 0 ] || fail "program succeeded with no display"
[ "$status" -lt 128 ] || fail "program crashed with no display (status $status)"
cat "$OUT/stdout.log" "$OUT/stderr.log" >"$OUT/all.log"
grep -q '^tov2sf: no display' "$OUT/all.log" || fail "no 'no display' line; got: $(cat "$OUT/all.log")"
[ "$(wc -l <"$OUT/all.log")" -eq 1 ] || fail "expected one line, got: $(cat "$OUT/all.log")"
cmp "$PROG/tov2sf.ini" "$WORK/ini.before" || fail "tov2sf.ini changed with no display"
note "passed"
