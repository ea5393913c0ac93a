#!/usr/bin/env bash
# Alt+A opens the About box over the main menu; Return (its OK button) closes it and leaves the
# main menu working.
source "$(dirname "$0")/lib.sh"
e2e_setup "$@"

start_program
main=$(wait_main_window 10)
focus "$main"
keys alt+a
about=$(wait_window '^About Tovaline-II Short Form$' dialog 5)
screenshot about.png

focus "$about"
keys Return
wait_window_gone "$about" 5
is_running "$PID" || fail "closing the About box ended the program"
[ "$(visible_windows "$MAIN_TITLE" main)" = "$main" ] || fail "main window gone after the About box"

quit_with_alt_x "$main" "after the About box"
note "passed"
