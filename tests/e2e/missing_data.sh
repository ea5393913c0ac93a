#!/usr/bin/env bash
# A data folder with no DATA401.TOV: the program asks whether to try another drive. Yes (the
# default) leads to the Select Drive dialog; No ends the program with status 0 before any main
# window is shown.
source "$(dirname "$0")/lib.sh"
e2e_setup "$@"

empty=$WORK/EmptyVolume
mkdir "$empty"
use_data_folder "$empty"

start_program
box=$(wait_window "$MAIN_TITLE" dialog 10)
[ -z "$(visible_windows "$MAIN_TITLE" main)" ] || fail "main window shown with no client file"
screenshot missing_data.png
focus "$box"
keys Return
wait_window '^Select Drive$' dialog 5 >/dev/null
wait_window_gone "$box" 2
[ -z "$(visible_windows "$MAIN_TITLE" main)" ] || fail "main window shown behind Select Drive"
screenshot drive_select.png
kill_program "$PID"

# Second run: watch for a main window the whole time, as it could flash up just before the end.
start_program
seen=$WORK/main-window-seen
(
    while is_running "$PID"; do
        [ -n "$(visible_windows "$MAIN_TITLE" main)" ] && touch "$seen"
        sleep 0.05
    done
) &
watcher=$!
box=$(wait_window "$MAIN_TITLE" dialog 10)
focus "$box"
# Yes has the focus; Tab moves it to No.
keys Tab Return
wait_exit "$PID" 5
wait "$watcher" || true
[ "$EXIT_STATUS" -eq 0 ] || fail "answering No: exit status $EXIT_STATUS"
[ ! -e "$seen" ] || fail "a main window was shown although the operator answered No"
grep -qxF "FilePath=$empty" "$PROG/tov2sf.ini" || fail "answering No changed the stored data folder"
[ -z "$(ls -A "$empty")" ] || fail "files were written to the empty data folder: $(ls -A "$empty")"
note "passed"
