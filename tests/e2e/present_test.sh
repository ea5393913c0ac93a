#!/usr/bin/env bash
# A new client takes the whole test on screen: Add New Client, Administer Test to Client, the
# client's information and court history, the language, both instruction screens, 73 answers
# (third and fourth choices among them), the two notes and the access code. The main menu then
# lists the client, and DATA401.TOV holds one more record with every field as typed.
source "$(dirname "$0")/lib.sh"
e2e_setup "$@"

BEFORE=$WORK/before.TOV
cp "$DATA/DATA401.TOV" "$BEFORE"
count_before=$(($(stat -c %s "$BEFORE") / 190))

# answer CODE...: from the question box, highlights each answer with Down and chooses it.
answer() {
    local code i seq=()
    for code in "$@"; do
        for ((i = 0; i < code; i++)); do seq+=(Down); done
        seq+=(Return)
    done
    xdotool key --delay 40 "${seq[@]}"
}

# dismiss TITLE_REGEX: presses Enter on the message box so titled.
dismiss() {
    local box
    box=$(wait_window "$1" dialog 10)
    focus "$box"
    keys Return
    wait_window_gone "$box" 5
}

# The test date is the day the information was accepted; a run may cross midnight.
day_before=$(date +%m/%d/%Y)
start_program
main=$(wait_main_window 10)
focus "$main"
keys Down Tab Tab Return

entry=$(dialog '^Entry Method$')
screenshot entry_method.png
keys Return

info=$(dialog '^Client Information$')
fields "Quill, Quentin" 52 02/29/1972 1 5 2 3 000-11-2222 Q123-4567-8901
keys Return
wait_window_gone "$info" 5

court=$(dialog '^Court History$')
fields 1 0 n 2 12 0 1 0 9/8/2026 .15 1 r
keys Return
wait_window_gone "$court" 5

language=$(wait_window '^Select Presentation Language$' dialog 10)
focus "$language"
screenshot select_language.png
keys Return
wait_window_gone "$language" 5

dismiss '^Tovaline-II Short Form$'

qa=$(wait_window '^Question Presentation$' dialog 10)
focus "$qa"
screenshot general_instructions.png
keys Return
screenshot section1_instructions.png
keys Return
screenshot true_false_item.png

# Items 1 to 67: every third True, the others False.
codes=()
for ((n = 1; n <= 67; n++)); do
    if ((n % 3 == 0)); then codes+=(1); else codes+=(2); fi
done
answer "${codes[@]}"
dismiss '^Presentation Note$'
focus "$qa"
screenshot section2_instructions.png
keys Return
keys Down Down Down
screenshot four_choice_item.png
keys Up Up Up
answer 1 2 3 4 4 3
dismiss '^Presentation Note$'
wait_window_gone "$qa" 5

code=$(wait_window '^Enter Secret Code$' dialog 10)
focus "$code"
screenshot access_code.png
xdotool type --delay 40 z
keys Return Return
wait_window_gone "$code" 5

main=$(wait_main_window 10)
focus "$main"
screenshot main_menu_after.png

# The file: one more record, the others unchanged, every field as typed.
size=$(stat -c %s "$DATA/DATA401.TOV")
[ "$size" -eq $(((count_before + 1) * 190)) ] || fail "DATA401.TOV is $size bytes"
cmp -n $((count_before * 190)) "$BEFORE" "$DATA/DATA401.TOV" || fail "earlier records changed"
record=$(dd if="$DATA/DATA401.TOV" bs=190 skip="$count_before" count=1 status=none)
expected_codes=$(printf '%s' "${codes[@]}")123443
day=${record:67:10}
[ "$day" = "$day_before" ] || [ "$day" = "$(date +%m/%d/%Y)" ] || fail "test date $day"
expected="$(printf '%-25s%-3s%-10s%s%s%s%s%-11s%-14s%-10s' "Quill, Quentin" 52 02/29/1972 1 5 2 3 \
    000-11-2222 Q123-4567-8901 "$day")1 0 N 2 120 1 0 09/08/2026.15  1 R    ${expected_codes}00"
[ "$record" = "$expected" ] || fail "record stored:
'$record'
expected:
'$expected'"
note "record $((count_before + 1)) as typed"

keys alt+x
wait_exit "$PID" 5
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS"
note "passed"
