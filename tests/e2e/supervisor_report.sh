#!/usr/bin/env bash
# The supervisor's report road, keyboard only: Supervisor Options, the reports tab with "Print
# above current client's report", the access code, the viewer showing the first demo client's
# report, "Save as PDF...". The PDF's text is the report page for page, the report shown is the
# one tov2sf-report writes for that client, and report.prn is gone once the viewer has closed.
source "$(dirname "$0")/lib.sh"
e2e_setup "$@"
command -v pdftotext >/dev/null || fail "pdftotext (poppler-utils) is not installed"

# The file dialog starts in the home folder; keep it inside the test's folder.
export HOME=$WORK/home
mkdir -p "$HOME"
PDF=$WORK/saved/client1.pdf
mkdir -p "$(dirname "$PDF")"

start_program
main=$(wait_main_window 10)
focus "$main"
# The first client of the list becomes current; Tab passes Edit and Add to Supervisor Options.
keys Down Tab Tab Tab Return
OPTIONS=$(wait_window '^Supervisor Operations$' dialog 10)
focus "$OPTIONS"
screenshot supervisor_reports_tab.png
# From the tab bar: the print options (the current client's report is chosen), the two check
# boxes, then Execute Selection.
keys Tab Tab Tab Tab Return
CODE=$(wait_window '^Enter Secret Code$' dialog 10)
focus "$CODE"
screenshot access_code.png
xdotool type --delay 80 "Z"
# Enter leaves the text for OK, Enter again presses it.
keys Return Return
wait_window_gone "$CODE" 5
VIEWER=$(wait_window '^Client Report$' dialog 15)
focus "$VIEWER"
screenshot viewer.png
[ -f "$PROG/report.prn" ] || fail "no report.prn while the viewer shows the report"
cp "$PROG/report.prn" "$WORK/shown.prn"

# The report shown is the one the scoring tool writes for that client.
if [ -x "$PROG/tov2sf-report" ]; then
    "$PROG/tov2sf-report" --program-folder "$PROG" --data-file "$DATA/DATA401.TOV" --client 1 \
        --output "$WORK/tool.prn" || fail "tov2sf-report failed"
    cmp -s "$WORK/tool.prn" "$WORK/shown.prn" || fail "report.prn differs from tov2sf-report's"
else
    note "no tov2sf-report in the program folder; compared with the captured report only"
fi

# Tab from the text to "Print Report", again to "Save as PDF...".
keys Tab Tab Return
SAVE=$(wait_window '^Save Report as PDF$' dialog 10)
focus "$SAVE"
keys ctrl+a
xdotool type --delay 30 "$PDF"
screenshot save_dialog.png
keys Return
wait_window_gone "$SAVE" 10
for _ in $(seq 50); do [ -s "$PDF" ] && break; sleep 0.1; done
[ -s "$PDF" ] || fail "no PDF written at $PDF"
cp "$PDF" "$OUT/client1.pdf"

pdftotext -layout "$PDF" "$WORK/pdf.txt" || fail "pdftotext could not read the PDF"
# The viewer shows (and prints) the report file without its last character.
head -c -1 "$WORK/shown.prn" | words_by_page >"$WORK/report.words"
strip_demonstration_mark <"$WORK/pdf.txt" >"$WORK/pdf.unmarked" ||
    fail "a page of the PDF lacks the demonstration mark"
words_by_page <"$WORK/pdf.unmarked" >"$WORK/pdf.words"
[ -s "$WORK/report.words" ] || fail "the report has no words"
diff -u "$WORK/report.words" "$WORK/pdf.words" >"$OUT/words.diff" ||
    fail "the PDF's text differs from report.prn (see $OUT/words.diff)"
pages_prn=$(grep -c '^@@page@@$' "$WORK/report.words" || true)
pages_pdf=$(pdfinfo "$PDF" | awk '/^Pages:/ {print $2}')
[ "$pages_pdf" -eq $((pages_prn + 1)) ] || fail "PDF has $pages_pdf pages, report $((pages_prn + 1))"
if command -v pdftoppm >/dev/null; then
    pdftoppm -r 60 -png -f 1 -l 1 "$PDF" "$OUT/pdf-page" || fail "the PDF's first page does not render"
fi

focus "$VIEWER"
# Back on the buttons: Close is the one after "Save as PDF...".
keys Tab Return
wait_window_gone "$VIEWER" 5
for _ in $(seq 20); do [ -e "$PROG/report.prn" ] || break; sleep 0.1; done
[ ! -e "$PROG/report.prn" ] || fail "report.prn left in the program folder after the viewer closed"
[ ! -e "$PROG/REPORT.SCR" ] || fail "REPORT.SCR left in the program folder"
main=$(wait_main_window 10)
focus "$main"
keys alt+x
wait_exit "$PID" 5
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS"
note "passed ($pages_pdf pages)"
