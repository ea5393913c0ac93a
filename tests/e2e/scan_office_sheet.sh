#!/usr/bin/env bash
# Add New Client from an answer sheet as an office produces it: printed with "fit to page"
# (97%), laid 2 degrees crooked, scanned in grey at 200 dpi by a copier into a PDF whose first
# page is blank, with three fields marked twice alike. The blank page is passed over, the review
# screens come up filled with what was read and the doubtful fields in amber, and Save appends a
# record holding the typed name and licence, the date of birth typed on review, and the read
# values.
source "$(dirname "$0")/lib.sh"
e2e_setup "$@"

SHEETGEN=$(dirname "$1")/tools/mkfilledsheet
[ -x "$SHEETGEN" ] || fail "no sheet generator at $SHEETGEN"

# A generated client whose sheet the review screens accept as read: a BAC and an arrest date
# filled in completely (the generator leaves fields empty now and then). E2E_SHEET and
# E2E_SHEET_VALUES name a sheet made by hand instead (mkfilledsheet's file and output).
today=$(date +%F)
found=""
SHEET=$WORK/sheet.pdf
[ -n "${E2E_SHEET:-}" ] && SHEET=$WORK/sheet.${E2E_SHEET##*.}
for seed in $(seq 1 60); do
    if [ -n "${E2E_SHEET:-}" ]; then
        cp "$E2E_SHEET" "$SHEET"
        cp "$E2E_SHEET_VALUES" "$WORK/values.txt"
    else
        "$SHEETGEN" "$WORK/sheet.pdf" --seed "$seed" --today "$today" --print-scale 0.97 \
            --angle 2 --about-centre --grey --dpi 200 --doubled 3 --cover >"$WORK/values.txt" ||
            fail "sheet generator failed"
    fi
    declare -A v=()
    while IFS='=' read -r key value; do v[$key]=$value; done <"$WORK/values.txt"
    [ -n "${E2E_SHEET:-}" ] && { found=$seed; break; }
    [[ ${v[bac]} =~ ^\.[0-9][1-9]$ ]] || continue
    [[ ${v[arrest_date]} =~ ^[0-9]{2}/[0-9]{2}/[0-9]{4}$ ]] || continue
    [[ ${v[dob]} =~ ^[0-9]{2}/[0-9]{2}/[0-9]{4}$ ]] || continue
    [[ ${v[ssn]} =~ ^[0-9]{3}-[0-9]{2}-[0-9]{4}$ ]] || continue
    [ "${#v[answers]}" -eq 73 ] || continue
    [ -n "${v[doubtful]}" ] || continue
    found=$seed
    break
done
[ -n "$found" ] || fail "no usable generated sheet"
note "sheet of seed $seed: $(tr '\n' ' ' <"$WORK/values.txt" | cut -c1-200)"
cp "$SHEET" "$OUT/"
# What the command-line reader makes of the same file: the cover refused, the sheet read.
if [ -z "${E2E_SHEET:-}" ]; then
    "$PROG/tov2sf-markread" --question-bank "$PROG/TOV2SF.MDB" --image "$WORK/sheet.pdf" \
        >"$OUT/markread.txt" 2>"$OUT/markread.err" && fail "the blank cover page was not refused"
    grep -q "page 1: Anchor Box not found" "$OUT/markread.err" ||
        fail "cover page: $(cat "$OUT/markread.err")"
    sed -n '/^page=2$/,$p' "$OUT/markread.txt" | tail -n +2 >"$WORK/read.txt"
    cmp -s "$WORK/read.txt" "$WORK/values.txt" ||
        fail "tov2sf-markread read other values: $(diff "$WORK/read.txt" "$WORK/values.txt")"
fi

# Page files instead of a scanner, the file dialog opening where the sheet is.
sed -i "s|^ScanSource=.*|ScanSource=File|; s|^ScanFolder=.*|ScanFolder=$WORK|" "$PROG/tov2sf.ini"
grep -qx "ScanSource=File" "$PROG/tov2sf.ini" || fail "could not set ScanSource"

ORIGINAL=$WORK/original.TOV
cp "$DATA/DATA401.TOV" "$ORIGINAL"
records=$(($(stat -c %s "$ORIGINAL") / 190))
day_before=$(date +%m/%d/%Y)

start_program
main=$(wait_main_window 10)
focus "$main"
keys Tab Return
METHOD=$(dialog '^Entry Method$')
# "Scan Answer Sheet" is the third choice.
keys Tab Tab Return
INFO=$(dialog '^Scan Information$')
fields "Scanned, Sam" S100-2000-3000
screenshot scan_information.png
keys Return
wait_window_gone "$INFO" 5
PROMPT=$(dialog '^TOV Test Scan$')
screenshot insert_prompt.png
keys Return
PICK=$(dialog '^Open Scanned Answer Sheet$')
xdotool type --delay 40 "$SHEET"
sleep 0.5
keys Return
# The file name box may offer a completion first; a second Enter takes the file.
sleep 1
if xwininfo -id "$PICK" 2>/dev/null | grep -q 'Map State: IsViewable'; then
    keys Return
fi
wait_window_gone "$PICK" 5

CLIENT=$(dialog '^Client Information$' 20)
screenshot review_client_information.png
# The scanned page holds the client's answers: owner-only while it is kept for the review.
for image in raw.bmp scan.bmp; do
    [ "$(stat -c %a "$PROG/$image" 2>/dev/null)" = 600 ] || fail "$image not written owner-only"
done
# The date of birth is not taken from the sheet: Enter on "Information OK" asks for it.
keys Return
ASK=$(dialog "$MAIN_TITLE" 5)
keys Return
wait_window_gone "$ASK" 5
focus "$CLIENT"
xdotool type --delay 60 "${v[dob]}"
# On through gender, race, marital status, education, SSN and licence to "Information OK".
keys Return Return Return Return Return Return Return
keys Return
wait_window_gone "$CLIENT" 5
COURT=$(dialog '^Court History$')
screenshot review_court_history.png
keys Return
wait_window_gone "$COURT" 5
GRID=$(dialog '^Edit Client Responses$')
screenshot review_answer_grid.png
# Down to the first doubtful answer of the first grid: the help line says what amber means.
first=$(tr ',' '\n' <<<"${v[doubtful]}" | sed -n 's/^item//p' | head -1)
if [ -n "$first" ] && [ "$first" -le 67 ]; then
    for ((i = 1; i < first; i++)); do keys Down; done
    screenshot review_answer_grid_doubtful_row.png
fi
# From the first grid, Tab goes to the second and then to "Save".
keys Tab Tab Return
wait_window_gone "$GRID" 5
main=$(wait_main_window 10)
screenshot main_menu_after.png

size=$(stat -c %s "$DATA/DATA401.TOV")
[ "$size" -eq $(((records + 1) * 190)) ] || fail "file is $size bytes, expected one record more"
cmp -s <(head -c $((records * 190)) "$DATA/DATA401.TOV") "$ORIGINAL" ||
    fail "the existing records changed"
record=$(tail -c 190 "$DATA/DATA401.TOV")
day=${record:67:10}
[ "$day" = "$day_before" ] || [ "$day" = "$(date +%m/%d/%Y)" ] || fail "test date $day"
# Counts and the staff BAC are stored as the review screen holds them: "N" for an empty row.
stored_bac() { if [[ $1 == *N* ]]; then echo N; else echo "$1"; fi; }
expected=$(printf '%-25s%-3s%-10s%s%s%s%s%-11s%-14s%-10s' "Scanned, Sam" "${v[age]}" "${v[dob]}" \
    "${v[gender]}" "${v[race]}" "${v[marital]}" "${v[education]}" "${v[ssn]}" "S100-2000-3000" \
    "$day")
for key in prior_dui co_supervision reckless ss_suspend m_violations accidents alcohol_arrests \
    drug_arrests; do
    expected+=$(printf '%-2s' "${v[$key]}")
done
expected+=$(printf '%-10s%-5s%-2s%-5s%s00' "${v[arrest_date]}" "${v[bac]}" "${v[st_prior_dui]}" \
    "$(stored_bac "${v[st_bac]}")" "${v[answers]}")
[ "${#expected}" -eq 190 ] || fail "expected record is ${#expected} characters"
[ "$record" = "$expected" ] || fail "new record differs:
got      [$record]
expected [$expected]"
[ ! -e "$PROG/raw.bmp" ] && [ ! -e "$PROG/scan.bmp" ] ||
    fail "raw.bmp and scan.bmp left after the client was saved"
focus "$main"
keys alt+x
wait_exit "$PID" 5
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS"
note "passed"
