#!/usr/bin/env bash
# Add New Client from a scanned answer sheet, keyboard only, with page files as the scanner
# source: a generated filled sheet is chosen in the file dialog, the client information, court
# history and answer grid screens come up filled with what was read, and Save appends a record
# holding the typed name and licence, the date of birth typed on review, and the read values.
source "$(dirname "$0")/lib.sh"
e2e_setup "$@"

generated_sheet "$WORK/sheet.png" --angle 0.8
cp "$WORK/sheet.png" "$OUT/sheet.png"
remember_data_file
scan_new_client "$WORK/sheet.png" "Scanned, Sam" S100-2000-3000
finish_scanned_client "Scanned, Sam" S100-2000-3000
