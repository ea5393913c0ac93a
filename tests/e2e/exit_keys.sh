#!/usr/bin/env bash
# Both ways out of the main menu end the program with status 0: the "Exit Application" button
# reached with Shift+Tab and pressed with Return, and the E&xit! menu by Alt+X.
source "$(dirname "$0")/lib.sh"
e2e_setup "$@"

# The list has the focus at start, so Shift+Tab goes back to the last button, skipping the
# disabled ones.
start_program
main=$(wait_main_window 10)
focus "$main"
keys shift+Tab
sleep 0.2
is_running "$PID" || fail "Shift+Tab ended the program"
keys Return
wait_exit "$PID" 5
[ "$EXIT_STATUS" -eq 0 ] || fail "Exit Application: exit status $EXIT_STATUS"
[ -z "$(visible_windows "$MAIN_TITLE")" ] || fail "a window is left after Exit Application"

start_program
main=$(wait_main_window 10)
focus "$main"
keys alt+x
wait_exit "$PID" 5
[ "$EXIT_STATUS" -eq 0 ] || fail "Alt+X: exit status $EXIT_STATUS"
[ -z "$(visible_windows "$MAIN_TITLE")" ] || fail "a window is left after Alt+X"
note "passed"
