#!/usr/bin/env bash
# Started with no display at all, the program says so in one line and fails, touching nothing;
# --version and --help answer without a display, and an unknown option is refused.
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

nodisplay() { timeout 10 env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$PROG/tov2sf" "$@"; }
[[ $(nodisplay --version) =~ ^tov2sf\ [0-9]+\.[0-9]+$ ]] || fail "--version said: $(nodisplay --version)"
nodisplay --help | grep -q '^Usage: tov2sf \[options\]' || fail "--help said: $(nodisplay --help)"
nodisplay --help | grep -q 'Exit status: 0 when' || fail "--help gives no exit statuses"
status=0
nodisplay --colour >/dev/null 2>"$OUT/bad-option.log" || status=$?
[ "$status" -eq 2 ] || fail "an unknown option gave status $status"
grep -q "Unknown option 'colour'" "$OUT/bad-option.log" || fail "$(cat "$OUT/bad-option.log")"
cmp "$PROG/tov2sf.ini" "$WORK/ini.before" || fail "tov2sf.ini changed by --help or --version"
note "passed"
