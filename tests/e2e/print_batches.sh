#!/usr/bin/env bash
# The two batch print roads on a real print queue, keyboard only, from Supervisor Options and
# the access code: "Select and print multiple clients' reports" with the first and third
# clients chosen with Space, then "Print all clients' reports" with the one-page summary. The
# queue receives one job a client, in list order, each the report that tov2sf-report writes for
# that client with the same pages; no numbered copy and no report.prn is left in the program
# folder once a batch has ended.
source "$(dirname "$0")/lib.sh"
e2e_setup "$@"
PRINTED=$WORK/printed
if ! start_pdf_printer "$PRINTED"; then
    note "needs root, cupsd and cups-pdf; skipped"
    exit 0
fi
command -v pdftotext >/dev/null || fail "pdftotext (poppler-utils) is not installed"

# supervisor_reports KEYS...: on Supervisor Options just opened (sets OPTIONS), types KEYS from
# the tab bar (they choose the print option and end on Execute Selection), then the access code.
supervisor_reports() {
    local code
    OPTIONS=$(dialog '^Supervisor Operations$')
    keys "$@"
    code=$(dialog '^Enter Secret Code$')
    xdotool type --delay 80 "Z"
    keys Return Return
    wait_window_gone "$code" 5
}

# check_jobs FIRST "CLIENTS" [REPORT OPTION]: waits for the queue's jobs FIRST, FIRST+1, ... to be
# written, one for each of CLIENTS, and compares each, word for word and page for page, with
# that client's report from tov2sf-report (given the option).
check_jobs() {
    local first=$1 clients=$2 option=${3:-} last pdfs i client pdf
    last=$((first + $(wc -w <<<"$clients") - 1))
    for i in $(seq 300); do
        [ "$(find "$PRINTED" -name '*.pdf' | wc -l)" -ge "$last" ] && break
        sleep 0.1
    done
    mapfile -t pdfs < <(find "$PRINTED" -name '*.pdf' | sort -V)
    [ "${#pdfs[@]}" -eq "$last" ] || fail "the queue holds ${#pdfs[@]} PDFs, not $last"
    # cups-pdf writes a file as it goes; wait until the sizes hold still.
    local before now
    before=$(stat -c %s "${pdfs[@]}" | tr '\n' ' ')
    for i in $(seq 50); do
        sleep 0.3
        now=$(stat -c %s "${pdfs[@]}" | tr '\n' ' ')
        [ "$now" = "$before" ] && break
        before=$now
    done
    i=$first
    for client in $clients; do
        pdf=${pdfs[$((i - 1))]}
        cp "$pdf" "$OUT/job$i.pdf"
        # shellcheck disable=SC2086 # the option is a word or none
        "$PROG/tov2sf-report" --program-folder "$PROG" --data-file "$DATA/DATA401.TOV" \
            --client "$client" $option --output "$WORK/job$i.prn" || fail "tov2sf-report failed"
        # The printer gets the report file without its last character, as the viewer shows it.
        head -c -1 "$WORK/job$i.prn" | words_by_page >"$WORK/expected$i.words"
        pdftotext -layout "$pdf" "$WORK/job$i.txt" || fail "pdftotext could not read job $i"
        strip_demonstration_mark <"$WORK/job$i.txt" >"$WORK/job$i.unmarked" ||
            fail "a page of job $i lacks the demonstration mark"
        words_by_page <"$WORK/job$i.unmarked" >"$WORK/job$i.words"
        diff -u "$WORK/expected$i.words" "$WORK/job$i.words" >"$OUT/job$i.diff" ||
            fail "job $i is not client $client's report $option (see $OUT/job$i.diff)"
        i=$((i + 1))
    done
}

start_program
main=$(wait_main_window 10)
focus "$main"
# The first client of the list becomes current; Tab passes Edit and Add to Supervisor Options.
keys Down Tab Tab Tab Return
# Print Selected: from the tab bar to the print options, Down to the second one, past the two
# check boxes to Execute Selection.
supervisor_reports Tab Down Tab Tab Tab Return
LIST=$(dialog '^Print Selected Reports$')
# The first line is current but not chosen: Space chooses it, Down Down Space the third.
keys space Down Down space
screenshot print_selected.png
# Tab from the list to "Print Selected".
keys Tab Return
wait_window_gone "$LIST" 30
wait_window_gone "$OPTIONS" 5
check_jobs 1 "1 3"
leftovers=$(ls "$PROG" | grep -E '^(temp[0-9]+|report\.prn)$' || true)
[ -z "$leftovers" ] || fail "left in the program folder after the batch: $leftovers"

# Back on the main menu, Supervisor Options has the focus again. Print all with the one-page
# summary: the third option, Space on the first check box.
focus "$main"
keys Return
supervisor_reports Tab Down Down Tab space Tab Tab Return
wait_window_gone "$OPTIONS" 30
check_jobs 3 "1 2 3" --summary-page
leftovers=$(ls "$PROG" | grep -E '^(temp[0-9]+|report\.prn)$' || true)
[ -z "$leftovers" ] || fail "left in the program folder after the batch: $leftovers"

quit_with_alt_x "$main"
note "passed: 5 jobs"
