#!/usr/bin/env bash
# Start-up on the demo volume: the splash gives way to the main window listing the clients, no
# dialog is left up, and the data volume comes through unchanged.
source "$(dirname "$0")/lib.sh"
e2e_setup "$@"

cp "$DATA/DATA401.TOV" "$WORK/DATA401.before"
start_program
main=$(wait_main_window 10)
is_running "$PID" || fail "program ended after showing its window"
[ -z "$(visible_windows '^Select Drive$')" ] || fail "Select Drive dialog shown on a good volume"
[ -z "$(visible_windows "$MAIN_TITLE" dialog)" ] || fail "a message box is up beside the main window"
[ -z "$(visible_windows '^Initializing')" ] || fail "splash still shown with the main window"
focus "$main"
screenshot main_menu.png

cmp "$DATA/DATA401.TOV" "$WORK/DATA401.before" || fail "start-up changed DATA401.TOV"
# The write check on the volume must clean up after itself; the volume lock is held while the
# program runs and goes with it.
leftovers=$(ls -A "$DATA" | grep -vx -e DATA401.TOV -e DATA401.TOV.lock || true)
[ -z "$leftovers" ] || fail "start-up left files on the data volume: $leftovers"
[ -e "$DATA/DATA401.TOV.lock" ] || fail "no lock on the open data volume"

keys alt+x
wait_exit "$PID" 5
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after Alt+X"
leftovers=$(ls -A "$DATA" | grep -vx DATA401.TOV || true)
[ -z "$leftovers" ] || fail "the program left files on the data volume: $leftovers"
cmp "$DATA/DATA401.TOV" "$WORK/DATA401.before" || fail "a start and exit changed DATA401.TOV"
note "passed"
