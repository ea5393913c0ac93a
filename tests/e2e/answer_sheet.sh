#!/usr/bin/env bash
# Add New Client from a paper answer sheet, keyboard only: entry method, client information,
# court history, the 73 answers keyed into the grid, Save. The new record is appended to
# DATA401.TOV with every field as typed and exactly the keyed answers, and the main menu lists it.
source "$(dirname "$0")/lib.sh"
e2e_setup "$@"

remember_data_file
start_program
main=$(wait_main_window 10)
focus "$main"
# From the client list, Tab reaches "Add New Client" (nothing is chosen, so Edit is disabled).
keys Tab Return
METHOD=$(dialog '^Entry Method$')
keys Tab Return
INFO=$(dialog '^Client Information$')
fields "Keyed, Kelly" 29 07/04/1997 2 5 1 3 000-11-2222 K100-2000-3000
keys Return
wait_window_gone "$INFO" 5
COURT=$(dialog '^Court History$')
fields 1 0 0 2 3 0 0 0 10/02/2026 .12 1 .12
keys Return
wait_window_gone "$COURT" 5
GRID=$(dialog '^Edit Client Responses$')
answers=""
for ((i = 1; i <= 67; i++)); do answers+=$((1 + (i * 7 % 3 == 0))); done
answers+="341234"
xdotool type --delay 40 "$answers"
screenshot answer_grid_keyed.png
keys Tab Return
wait_window_gone "$GRID" 5
main=$(wait_main_window 10)
screenshot main_menu_after.png

expected="Keyed, Kelly             29 07/04/19972513000-11-2222K100-2000-3000"
expected+="$(appended_record_day)1 0 0 2 3 0 0 0 10/02/2026.12  1 .12  ${answers}00"
expect_appended_record "$expected"
focus "$main"
keys alt+x
wait_exit "$PID" 5
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS"
note "passed"
