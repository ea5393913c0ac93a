#!/usr/bin/env bash
# Num Lock follows the option on the real X keyboard: switched back on within a second while the
# option is on; switched off, and "NumLock=False" stored, once the option is cleared from the
# Options menu.
source "$(dirname "$0")/lib.sh"
e2e_setup "$@"

num_lock() { xset q | sed -n 's/.*Num Lock: *\([a-z]*\).*/\1/p'; }

# wait_num_lock on|off SECONDS
wait_num_lock() {
    local want=$1 limit=$2 i
    for ((i = 0; i < limit * 10; i++)); do
        [ "$(num_lock)" = "$want" ] && return 0
        sleep 0.1
    done
    fail "Num Lock is $(num_lock), not $want, after ${limit}s"
}

start_program
main=$(wait_main_window 10)
focus "$main"
xdotool key Num_Lock
[ "$(num_lock)" = on ] && xdotool key Num_Lock
[ "$(num_lock)" = off ] || fail "could not switch Num Lock off to begin with"
wait_num_lock on 3

# Options, then "&Num Lock Always On".
keys alt+o
sleep 0.3
keys n
grep -qx 'NumLock=False' "$PROG/tov2sf.ini" || fail "NumLock=False not stored"
wait_num_lock off 3
xdotool key Num_Lock
wait_num_lock off 3

keys alt+x
wait_exit "$PID" 5
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS"
note "passed"
