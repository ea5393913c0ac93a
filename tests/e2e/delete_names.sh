#!/usr/bin/env bash
# Delete names from the keyboard on a copy of the demo volume: Supervisor Options, the Delete
# Names tab, Execute Selection, "Yes" to the warning, OK to "Process complete". Every record
# changes in exactly its name, SSN and licence number (each non-blank byte shifted by 3 when its
# code is odd, by 7 when even, blanks kept) and its flag byte ("0" -> "1"), and nowhere else.
source "$(dirname "$0")/lib.sh"
e2e_setup "$@"

ORIGINAL=$WORK/original.TOV
cp "$DATA/DATA401.TOV" "$ORIGINAL"
records=$(($(stat -c %s "$ORIGINAL") / 190))
[ "$records" -ge 2 ] || fail "the demo volume holds $records records"
for ((r = 0; r < records; r++)); do
    [ "$(dd if="$ORIGINAL" bs=1 skip=$((r * 190 + 189)) count=1 status=none)" = 0 ] ||
        fail "demo record $((r + 1)) already has its name deleted"
done

start_program
main=$(wait_main_window 10)
focus "$main"
# No client chosen: Edit is disabled, so Tab reaches Add New Client, then Supervisor Options.
keys Tab Tab Return
OPTIONS=$(wait_window '^Supervisor Operations$' dialog 10)
focus "$OPTIONS"
# The tab bar has the focus: the tabs in turn (for the guide), then back to Delete Names, the
# third.
keys Right
screenshot data_verification_tab.png
keys Right Right
screenshot access_code_tab.png
keys Left
screenshot delete_names_tab.png
keys Tab Return
WARNING=$(wait_window '^WARNING!$' dialog 10)
focus "$WARNING"
screenshot delete_names_warning.png
keys alt+y
wait_window_gone "$WARNING" 5
DONE=$(wait_window "$MAIN_TITLE" dialog 15)
focus "$DONE"
screenshot delete_names_done.png
keys Return
wait_window_gone "$DONE" 5
main=$(wait_main_window 10)
screenshot main_menu_after_delete.png

[ "$(stat -c %s "$DATA/DATA401.TOV")" -eq "$(stat -c %s "$ORIGINAL")" ] ||
    fail "DATA401.TOV changed its length"
# One line per byte of both files: offset, old code, new code (decimal).
paste <(od -An -v -tu1 -w1 "$ORIGINAL") <(od -An -v -tu1 -w1 "$DATA/DATA401.TOV") |
    awk -v records="$records" '
    function field(o) {
        if (o < 25) return "name"
        if (o >= 42 && o < 53) return "ssn"
        if (o >= 53 && o < 67) return "dl"
        if (o == 189) return "flag"
        return ""
    }
    {
        offset = NR - 1; o = offset % 190; old = $1 + 0; new = $2 + 0; f = field(o)
        if (f == "") {
            if (old != new) { printf "record %d byte %d changed\n", offset / 190 + 1, o; bad++ }
        } else if (f == "flag") {
            if (old != 48 || new != 49) { printf "record %d flag %d -> %d\n", offset / 190 + 1, old, new; bad++ }
        } else if (old == 32) {
            if (new != 32) { printf "record %d blank at %d changed\n", offset / 190 + 1, o; bad++ }
        } else {
            want = (old % 2 == 1) ? old + 3 : old + 7
            if (new != want % 256) { printf "record %d byte %d: %d -> %d, expected %d\n", offset / 190 + 1, o, old, new, want % 256; bad++ }
            shifted[f]++
        }
    }
    END {
        if (shifted["name"] == 0 || shifted["ssn"] == 0 || shifted["dl"] == 0) { print "a field was not shifted"; bad++ }
        exit bad > 0
    }' >"$OUT/delete_names.check" || fail "delete names changed the wrong bytes: $(head -5 "$OUT/delete_names.check")"

quit_with_alt_x "$main"
note "passed ($records records)"
