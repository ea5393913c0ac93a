#!/usr/bin/env bash
# Add New Client from an answer sheet as an office produces it: printed with "fit to page"
# (97%), laid 2 degrees crooked, scanned in grey at 200 dpi by a copier into a PDF whose first
# page is blank, with three fields marked twice alike. The blank page is passed over, the review
# screens come up filled with what was read and the doubtful fields in amber, and Save appends a
# record holding the typed name and licence, the date of birth typed on review, and the read
# values.
source "$(dirname "$0")/lib.sh"
e2e_setup "$@"

# E2E_SHEET and E2E_SHEET_VALUES name a sheet made by hand instead (mkfilledsheet's file and
# output).
if [ -n "${E2E_SHEET:-}" ]; then
    SHEET=$WORK/sheet.${E2E_SHEET##*.}
    cp "$E2E_SHEET" "$SHEET"
    read_sheet_values "$E2E_SHEET_VALUES"
else
    SHEET=$WORK/sheet.pdf
    generated_sheet "$SHEET" --need-doubt --print-scale 0.97 --angle 2 --about-centre --grey \
        --dpi 200 --doubled 3 --cover
    # What the command-line reader makes of the same file: the cover refused, the sheet read.
    "$PROG/tov2sf-markread" --question-bank "$PROG/TOV2SF.MDB" --image "$SHEET" \
        >"$OUT/markread.txt" 2>"$OUT/markread.err" && fail "the blank cover page was not refused"
    grep -q "page 1: Anchor Box not found" "$OUT/markread.err" ||
        fail "cover page: $(cat "$OUT/markread.err")"
    sed -n '/^page=2$/,$p' "$OUT/markread.txt" | tail -n +2 >"$WORK/read.txt"
    cmp -s "$WORK/read.txt" "$WORK/values.txt" ||
        fail "tov2sf-markread read other values: $(diff "$WORK/read.txt" "$WORK/values.txt")"
fi
cp "$SHEET" "$OUT/"
remember_data_file
SCAN_DOUBTFUL_ROW=1 scan_new_client "$SHEET" "Scanned, Sam" S100-2000-3000
finish_scanned_client "Scanned, Sam" S100-2000-3000
