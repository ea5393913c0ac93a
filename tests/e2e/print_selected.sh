#!/usr/bin/env bash
# Print Selected on a real print queue, keyboard only: Supervisor Options, "Select and print
# multiple clients' reports", the access code, the first and third clients chosen with Space,
# Print Selected. The queue receives one job a client, in list order, each the report that
# tov2sf-report writes for that client; the program folder keeps the numbered copies and no
# report.prn.
source "$(dirname "$0")/lib.sh"
e2e_setup "$@"
PRINTED=$WORK/printed
if ! start_pdf_printer "$PRINTED"; then
    note "needs root, cupsd and cups-pdf; skipped"
    exit 0
fi
command -v pdftotext >/dev/null || fail "pdftotext (poppler-utils) is not installed"

start_program
main=$(wait_main_window 10)
focus "$main"
keys Down Tab Tab Tab Return
OPTIONS=$(wait_window '^Supervisor Operations$' dialog 10)
focus "$OPTIONS"
# From the tab bar to the print options, Down to the second one, then past the two check boxes
# to Execute Selection.
keys Tab Down Tab Tab Tab Return
CODE=$(wait_window '^Enter Secret Code$' dialog 10)
focus "$CODE"
xdotool type --delay 80 "Z"
keys Return Return
wait_window_gone "$CODE" 5
LIST=$(wait_window '^Print Selected Reports$' dialog 10)
focus "$LIST"
# The first line is current but not chosen: Space chooses it, Down Down Space the third.
keys space Down Down space
screenshot print_selected.png
# Tab from the list to "Print Selected".
keys Tab Return
wait_window_gone "$LIST" 30

for _ in $(seq 300); do
    [ "$(find "$PRINTED" -name '*.pdf' | wc -l)" -ge 2 ] && break
    sleep 0.1
done
mapfile -t pdfs < <(find "$PRINTED" -name '*.pdf' | sort -V)
[ "${#pdfs[@]}" -eq 2 ] || fail "the queue wrote ${#pdfs[@]} PDFs, not 2"
# cups-pdf writes the file as it goes; wait until both sizes hold still.
sizes() { stat -c %s "${pdfs[@]}" | tr '\n' ' '; }
before=$(sizes)
for _ in $(seq 50); do
    sleep 0.3
    now=$(sizes)
    [ "$now" = "$before" ] && break
    before=$now
done

n=0
for client in 1 3; do
    pdf=${pdfs[$n]}
    n=$((n + 1))
    cp "$pdf" "$OUT/job$n.pdf"
    "$PROG/tov2sf-report" --program-folder "$PROG" --data-file "$DATA/DATA401.TOV" \
        --client "$client" --output "$WORK/client$client.prn" || fail "tov2sf-report failed"
    # The printer gets the report file without its last character, as the viewer shows it.
    head -c -1 "$WORK/client$client.prn" | words_by_page >"$WORK/client$client.words"
    pdftotext -layout "$pdf" - | words_by_page >"$WORK/job$n.words" ||
        fail "pdftotext could not read job $n"
    diff -u "$WORK/client$client.words" "$WORK/job$n.words" >"$OUT/job$n.diff" ||
        fail "job $n is not client $client's report (see $OUT/job$n.diff)"
done

[ -f "$PROG/temp1" ] && [ -f "$PROG/temp2" ] || fail "the numbered copies temp1 and temp2 are missing"
[ ! -e "$PROG/temp3" ] || fail "a third numbered copy for two clients"
[ ! -e "$PROG/report.prn" ] || fail "report.prn left in the program folder"
main=$(wait_main_window 10)
focus "$main"
keys alt+x
wait_exit "$PID" 5
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS"
note "passed"
