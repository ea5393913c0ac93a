#!/usr/bin/env bash
# A new user's first start without a terminal: the settings name no data volume and no stick is
# plugged in, so Select Drive starts on no entry. "New data volume..." opens the folder window on
# the home folder, where the user makes a folder; after Yes the program makes an empty,
# owner-only DATA401.TOV there and opens it, a client keyed from a paper answer sheet becomes its
# first record, and the next start opens the volume without asking.
source "$(dirname "$0")/lib.sh"
e2e_setup "$@"

use_data_folder ""
export HOME=$WORK/home
mkdir "$HOME"
DATA=$HOME/Clients

start_program
drive=$(dialog '^Select Drive$')
[ -z "$(visible_windows "$MAIN_TITLE" main)" ] || fail "main window shown before a volume is chosen"
screenshot drive_select_first_start.png
# The list open on its last entry, "New data volume...".
keys alt+Down End
screenshot drive_select_list.png
keys Return
pick=$(dialog '^New Data Volume$')
is_dialog "$pick" || fail "no folder window"
# A new folder from the folder list's menu, named as it is made, then chosen.
keys shift+Tab Menu n
sleep 0.5
xdotool type --delay 60 Clients
keys Return
sleep 0.5
[ -d "$DATA" ] || fail "the folder window made no folder $DATA"
screenshot folder_made.png
keys alt+c
wait_window_gone "$pick" 5
ask=$(dialog '^New Data Volume$')
screenshot new_volume.png
[ ! -e "$DATA/DATA401.TOV" ] || fail "DATA401.TOV made before the question was answered"
keys Return
wait_window_gone "$ask" 5
main=$(wait_main_window 10)
wait_window_gone "$drive" 2
[ "$(stat -c '%a %s %F' "$DATA/DATA401.TOV")" = "600 0 regular empty file" ] ||
    fail "DATA401.TOV is $(stat -c '%a %s %F' "$DATA/DATA401.TOV")"
grep -qxF "FilePath=$DATA" "$PROG/tov2sf.ini" || fail "the new volume is not remembered"
screenshot main_menu_new_volume.png

# The first client, keyed from a paper answer sheet as in answer_sheet.sh.
remember_data_file
focus "$main"
# With no client to pick, the focus is on "Add New Client" already.
keys Return
answers=$(printf '1%.0s' $(seq 67))123412
key_paper_client "" "$answers" "First, Fran" 41 03/15/1985 1 5 2 4 123-45-6789 F200-3000-4000 \
    0 0 0 0 0 0 0 0 09/14/2026 .09 0 .09
screenshot main_menu_after.png
expected="First, Fran              41 03/15/19851524123-45-6789F200-3000-4000"
expected+="$(appended_record_day)0 0 0 0 0 0 0 0 09/14/2026.09  0 .09  ${answers}00"
expect_appended_record "$expected"
[ "$(stat -c %a "$DATA/DATA401.TOV")" = 600 ] || fail "DATA401.TOV no longer owner-only"
quit_with_alt_x "$MAIN"

# The next start goes straight to the main menu on the new volume.
start_program
main=$(wait_main_window 10)
[ -z "$(visible_windows '^Select Drive$')" ] || fail "Select Drive shown again"
quit_with_alt_x "$main" "on the second start"
note "passed"
