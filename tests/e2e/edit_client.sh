#!/usr/bin/env bash
# Edit Current Client from the keyboard: the age of the first demo client is changed, both intake
# screens are accepted and two answers are changed on the answer grid, which changes exactly the
# age, the edit count and those two answers in DATA401.TOV; the same road left with
# "Cancel Input" leaves the file as it was.
source "$(dirname "$0")/lib.sh"
e2e_setup "$@"

ORIGINAL=$WORK/original.TOV
cp "$DATA/DATA401.TOV" "$ORIGINAL"

# open_client_info: from the main menu, choose the first client and Edit Current Client.
open_client_info() {
    local main
    main=$(wait_main_window 10)
    focus "$main"
    keys Down Tab Return
    INFO=$(wait_window '^Client Information$' dialog 10)
    focus "$INFO"
}

# Accepted road.
start_program
open_client_info
# The focus starts on "Information OK"; eight fields back is the age.
keys shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab
xdotool type --delay 80 "45"
# Enter through the remaining fields onto "Information OK", then accept.
keys Return Return Return Return Return Return Return Return
screenshot client_info.png
keys Return
wait_window_gone "$INFO" 5
COURT=$(wait_window '^Court History$' dialog 10)
focus "$COURT"
screenshot court_history.png
keys Return
wait_window_gone "$COURT" 5
GRID=$(wait_window '^Edit Client Responses$' dialog 10)
focus "$GRID"
# Items 1 and 2 get the other answer of the two they have; then on to Save.
first=$(dd if="$ORIGINAL" bs=1 skip=115 count=1 status=none)
second=$(dd if="$ORIGINAL" bs=1 skip=116 count=1 status=none)
other() { [ "$1" = 1 ] && echo 2 || echo 1; }
xdotool type --delay 120 "$(other "$first")$(other "$second")"
screenshot answer_grid.png
keys Tab Tab Return
wait_window_gone "$GRID" 5
main=$(wait_main_window 5)
changed=$( (cmp -l "$ORIGINAL" "$DATA/DATA401.TOV" || true) | awk '{print $1}' | tr '\n' ' ')
[ "$changed" = "26 27 116 117 189 " ] ||
    fail "bytes changed: '$changed' (expected the age, two answers and the edit count)"
[ "$(dd if="$DATA/DATA401.TOV" bs=1 skip=25 count=3 status=none)" = "45 " ] || fail "age not stored"
[ "$(dd if="$DATA/DATA401.TOV" bs=1 skip=188 count=1 status=none)" = "1" ] || fail "edit count not 1"
[ "$(dd if="$DATA/DATA401.TOV" bs=1 skip=115 count=2 status=none)" = "$(other "$first")$(other "$second")" ] ||
    fail "answers not stored"
quit_with_alt_x "$main"

# Cancelled road.
cp "$ORIGINAL" "$DATA/DATA401.TOV"
start_program
open_client_info
keys shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab
xdotool type --delay 80 "52"
keys Return
# Back to the buttons: Tab checks each field on the way; then Cancel Input.
keys Tab Tab Tab Tab Tab Tab Tab Tab Return
wait_window_gone "$INFO" 5
main=$(wait_main_window 5)
[ -z "$(visible_windows '^Court History$')" ] || fail "court history opened after Cancel Input"
cmp -s "$ORIGINAL" "$DATA/DATA401.TOV" || fail "Cancel Input changed DATA401.TOV"
focus "$main"
keys alt+x
wait_exit "$PID" 5
note "passed"
