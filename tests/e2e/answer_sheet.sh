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
answers=""
for ((i = 1; i <= 67; i++)); do answers+=$((1 + (i * 7 % 3 == 0))); done
answers+="341234"
key_paper_client answer_grid_keyed.png "$answers" "Keyed, Kelly" 29 07/04/1997 2 5 1 3 \
    000-11-2222 K100-2000-3000 1 0 0 2 3 0 0 0 10/02/2026 .12 1 .12
screenshot main_menu_after.png

expected="Keyed, Kelly             29 07/04/19972513000-11-2222K100-2000-3000"
expected+="$(appended_record_day)1 0 0 2 3 0 0 0 10/02/2026.12  1 .12  ${answers}00"
expect_appended_record "$expected"
quit_with_alt_x "$MAIN"
note "passed"
