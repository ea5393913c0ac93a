#!/usr/bin/env bash
# A second start of the same program folder hands over to the running copy: it ends at once with
# status 0, writes nothing, and the first copy keeps running with its one main window. A program
# started from another program folder on the same data volume is told that the volume is in use.
source "$(dirname "$0")/lib.sh"
e2e_setup "$@"

start_program
first=$PID
main=$(wait_main_window 10)
cp "$PROG/tov2sf.ini" "$WORK/ini.before"
cp "$DATA/DATA401.TOV" "$WORK/DATA401.before"

start_program
second=$PID
wait_exit "$second" 5
[ "$EXIT_STATUS" -eq 0 ] || fail "second copy ended with status $EXIT_STATUS"
cmp "$PROG/tov2sf.ini" "$WORK/ini.before" || fail "second copy changed tov2sf.ini"
cmp "$DATA/DATA401.TOV" "$WORK/DATA401.before" || fail "second copy changed DATA401.TOV"

# The first copy has been asked to come to the front by now; it must survive that.
sleep 1
if ! is_running "$first"; then
    wait "$first" && status=0 || status=$?
    fail "first copy died when the second started (status $status)"
fi
windows=$(visible_windows "$MAIN_TITLE" main)
[ "$windows" = "$main" ] || fail "expected the first copy's main window $main alone, found: $windows"

# Another program folder is another program: it finds the volume locked, says so, and writes
# nothing there.
cp -a "$PROG" "$WORK/TOV2SF-other"
PROG=$WORK/TOV2SF-other start_program
other=$PID
in_use=$(dialog '^Data Disk In Use$')
screenshot data_disk_in_use.png
kill_program "$other"
wait_window_gone "$in_use" 5
cmp "$DATA/DATA401.TOV" "$WORK/DATA401.before" || fail "the other program changed DATA401.TOV"
is_running "$first" || fail "first copy died while another program found its volume in use"

# Still answering the keyboard after the hand-over.
focus "$main"
keys alt+x
wait_exit "$first" 5
[ "$EXIT_STATUS" -eq 0 ] || fail "first copy ended with status $EXIT_STATUS"
note "passed"
