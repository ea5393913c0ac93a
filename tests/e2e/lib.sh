# Helpers shared by the end-to-end tests; each test script sources this file.
#
# A test runs the built program on a private X server (xvfb-run) from a copy of the program
# folder, on a copy of the demo data volume, so nothing under the build folder is touched.
# There is no window manager: windows are found by title with xdotool and given the keyboard
# focus explicitly before keys are typed.

set -euo pipefail

E2E_NAME=$(basename "$0" .sh)
MAIN_TITLE='^Tovaline II - Short Form$'
STARTED_PIDS=()

fail() {
    echo "FAIL: $E2E_NAME: $*" >&2
    exit 1
}

note() { echo "$E2E_NAME: $*"; }

# e2e_setup PROGRAM_DIR DEMO_VOLUME OUTPUT_DIR
# Sets PROG (the copied program folder), PROG_SOURCE (the built one), DATA (the copied data
# volume), OUT and WORK.
e2e_setup() {
    [ $# -eq 3 ] || fail "usage: $0 PROGRAM_DIR DEMO_VOLUME OUTPUT_DIR"
    local program_src=$1 demo_src=$2
    PROG_SOURCE=$1
    OUT=$3
    [ -x "$program_src/tov2sf" ] || fail "no program at $program_src/tov2sf"
    [ -f "$demo_src/DATA401.TOV" ] || fail "no demo volume at $demo_src"
    [ -n "${DISPLAY:-}" ] || fail "no DISPLAY: run this under xvfb-run"
    mkdir -p "$OUT"
    rm -f "$OUT"/*.png "$OUT"/*.log

    WORK=$(mktemp -d)
    trap e2e_cleanup EXIT
    PROG=$WORK/TOV2SF
    DATA=$WORK/DemoVolume
    cp -a "$program_src" "$PROG"
    cp -a "$demo_src" "$DATA"
    use_data_folder "$DATA"

    # The tests drive real X windows; an inherited offscreen setting would hide them.
    unset QT_QPA_PLATFORM
    export XDG_RUNTIME_DIR=$WORK/runtime
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    # The single-copy socket lives in the temporary folder; keep it, even when a test kills the
    # program, inside the folder the test removes.
    export TMPDIR=$WORK/tmp
    mkdir "$TMPDIR"
    # Asking every SANE backend for scanners takes seconds each time the entry method screen
    # opens; the tests have none to offer.
    export SANE_CONFIG_DIR=$WORK/sane.d
    mkdir "$SANE_CONFIG_DIR"
    : >"$SANE_CONFIG_DIR/dll.conf"
}

e2e_cleanup() {
    local pid
    for pid in "${STARTED_PIDS[@]}"; do
        if kill -0 "$pid" 2>/dev/null; then
            kill -KILL "$pid" 2>/dev/null || true
            wait "$pid" 2>/dev/null || true
        fi
    done
    if [ -n "${WORK:-}" ]; then
        rm -rf "$WORK"
    fi
}

# use_data_folder FOLDER: points the copied tov2sf.ini at FOLDER.
use_data_folder() {
    sed -i "s|^FilePath=.*|FilePath=$1|" "$PROG/tov2sf.ini"
    grep -qxF "FilePath=$1" "$PROG/tov2sf.ini" || fail "could not set FilePath in tov2sf.ini"
}

# start_program: starts the copied program in the background; sets PID.
start_program() {
    local n=${#STARTED_PIDS[@]}
    "$PROG/tov2sf" >"$OUT/program-$n.log" 2>&1 &
    PID=$!
    STARTED_PIDS+=("$PID")
}

# is_running PID: the process exists and has not exited (a zombie has exited).
is_running() {
    local state
    state=$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null) || return 1
    [ -n "$state" ] && [ "$state" != Z ]
}

# wait_exit PID SECONDS: waits for the process to end; sets EXIT_STATUS. Fails the test if it is
# still running after SECONDS.
wait_exit() {
    local pid=$1 limit=$2 i
    for ((i = 0; i < limit * 20; i++)); do
        is_running "$pid" || break
        sleep 0.05
    done
    is_running "$pid" && fail "process $pid still running after ${limit}s"
    EXIT_STATUS=0
    wait "$pid" || EXIT_STATUS=$?
}

# quit_with_alt_x WINDOW [WHEN]: Alt+X on the main window, and the program ends at once with
# status 0 (WHEN says at which point, in the failure).
quit_with_alt_x() {
    focus "$1"
    keys alt+x
    wait_exit "$PID" 5
    [ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS${2:+ $2}"
}

# kill_program PID: ends the process the hard way (for a dialog the test does not finish).
kill_program() {
    kill -TERM "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}

# is_dialog WID: the window is a dialog (message box, About box, Select Drive), not a main window.
is_dialog() {
    xprop -id "$1" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q _NET_WM_WINDOW_TYPE_DIALOG
}

# visible_windows TITLE_REGEX [dialog|main]: the ids of the visible windows so titled, one a line.
# The message boxes share the main window's title, so the kind tells them apart.
visible_windows() {
    local wid
    for wid in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
        case ${2:-any} in
        dialog) is_dialog "$wid" && echo "$wid" ;;
        # A window that is gone before its type can be read is no main window.
        main)
            local type
            type=$(xprop -id "$wid" _NET_WM_WINDOW_TYPE 2>/dev/null) || continue
            grep -q _NET_WM_WINDOW_TYPE_DIALOG <<<"$type" || echo "$wid"
            ;;
        *) echo "$wid" ;;
        esac
    done
    return 0
}

# wait_window TITLE_REGEX KIND SECONDS: waits until such a window is visible; prints its id.
# Gives up early when the last started program (PID) has ended.
wait_window() {
    local re=$1 kind=$2 limit=$3 wid i
    for ((i = 0; i < limit * 10; i++)); do
        wid=$(visible_windows "$re" "$kind" | head -n 1)
        if [ -n "$wid" ]; then
            echo "$wid"
            return 0
        fi
        # Called through $(...), so the status of the program cannot be had here.
        if [ -n "${PID:-}" ] && ! is_running "$PID"; then
            fail "program ended before a $kind window titled /$re/ showed"
        fi
        sleep 0.1
    done
    fail "no visible $kind window titled /$re/ after ${limit}s"
}

# wait_window_gone WID SECONDS: waits until the window is no longer visible.
wait_window_gone() {
    local wid=$1 limit=$2 i
    for ((i = 0; i < limit * 10; i++)); do
        xwininfo -id "$wid" 2>/dev/null | grep -q 'Map State: IsViewable' || return 0
        sleep 0.1
    done
    fail "window $wid still shown after ${limit}s"
}

# wait_main_window SECONDS: waits for the program's main window; prints its id.
wait_main_window() { wait_window "$MAIN_TITLE" main "$1"; }

# focus WID: gives the window the keyboard focus and lets the program settle.
focus() {
    xdotool windowfocus --sync "$1" || fail "could not focus window $1"
    sleep 0.3
}

# keys KEY...: types keys into the focused window.
keys() { xdotool key --delay 80 "$@"; }

# fields VALUE...: types each value into the focused field and moves on with Enter.
fields() {
    local value
    for value in "$@"; do
        xdotool type --delay 60 "$value"
        keys Return
    done
}

# dialog TITLE [SECONDS]: waits for the dialog whose title matches TITLE (a regular expression),
# gives it the focus and prints its id.
dialog() {
    local wid
    wid=$(wait_window "$1" dialog "${2:-10}") || exit 1
    focus "$wid"
    echo "$wid"
}

# screenshot NAME: saves the whole screen as NAME in the output folder.
screenshot() {
    sleep 0.2 # let the last paint reach the server
    import -window root "$OUT/$1" || fail "screenshot $1 failed"
    [ -s "$OUT/$1" ] || fail "screenshot $1 is empty"
    note "saved $OUT/$1"
}

# start_pdf_printer FOLDER: makes a cups-pdf queue that writes each job as a PDF in FOLDER the
# default printer, starting a CUPS scheduler when none runs (it ends with the test). Returns 1
# where that cannot be done here (not root, no cupsd or cups-pdf).
start_pdf_printer() {
    local folder=$1
    if [ "$(id -u)" != 0 ] || [ ! -x /usr/sbin/cupsd ] || [ ! -x /usr/lib/cups/backend/cups-pdf ]; then
        return 1
    fi
    mkdir -p "$folder"
    chmod 777 "$folder"
    # lpstat -r succeeds either way; only its words tell whether the scheduler runs.
    if ! lpstat -r 2>/dev/null | grep -q 'scheduler is running'; then
        /usr/sbin/cupsd -f &
        STARTED_PIDS+=("$!")
        local i
        for i in $(seq 50); do
            lpstat -r 2>/dev/null | grep -q 'scheduler is running' && break
            sleep 0.1
        done
    fi
    # pdftocairo keeps real fonts in the PDF, so its text can be read back.
    lpadmin -p ReportPDF -E -v cups-pdf:/ReportPDF -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd \
        -o pdftops-renderer-default=pdftocairo 2>/dev/null || return 1
    lpadmin -d ReportPDF || return 1
    # Every job is named with its number, so jobs with the same title do not overwrite each other.
    printf 'Out %s\nLabel 2\n' "$folder" >/etc/cups/cups-pdf-ReportPDF.conf
}

# words_by_page: the words of a text, one a line, with a marker line at each form feed; the
# layout (spaces, line breaks) is the printer's business, the words and their pages are not.
words_by_page() {
    sed 's/\f/\n@@page@@\n/g' | tr -s '[:space:]' '\n' | sed '/^$/d' |
        awk '{ w[NR] = $0 } END { n = NR; while (n > 0 && w[n] == "@@page@@") n--
                                  for (i = 1; i <= n; i++) print w[i] }'
}

# remember_data_file: keeps a copy of the data file as it is now, for expect_appended_record;
# sets ORIGINAL, RECORDS (its record count) and DAY_BEFORE (today as a test date).
remember_data_file() {
    ORIGINAL=$WORK/original.TOV
    cp "$DATA/DATA401.TOV" "$ORIGINAL"
    RECORDS=$(($(stat -c %s "$ORIGINAL") / 190))
    # The test date is the day the information was accepted; a run may cross midnight.
    DAY_BEFORE=$(date +%m/%d/%Y)
}

# appended_record_day: the test date of the record last appended, checked to be a day of the run.
appended_record_day() {
    local record day
    record=$(tail -c 190 "$DATA/DATA401.TOV")
    day=${record:67:10}
    [ "$day" = "$DAY_BEFORE" ] || [ "$day" = "$(date +%m/%d/%Y)" ] || fail "test date $day"
    echo "$day"
}

# expect_appended_record EXPECTED: the data file holds one record more than remembered, the
# earlier ones unchanged, and the new one is the 190 characters EXPECTED.
expect_appended_record() {
    local expected=$1 size record
    size=$(stat -c %s "$DATA/DATA401.TOV")
    [ "$size" -eq $(((RECORDS + 1) * 190)) ] || fail "file is $size bytes, expected one record more"
    cmp -s <(head -c $((RECORDS * 190)) "$DATA/DATA401.TOV") "$ORIGINAL" ||
        fail "the existing records changed"
    record=$(tail -c 190 "$DATA/DATA401.TOV")
    [ "${#expected}" -eq 190 ] || fail "expected record is ${#expected} characters"
    [ "$record" = "$expected" ] || fail "new record differs:
got      [$record]
expected [$expected]"
}

# key_paper_client SHOT ANSWERS NAME AGE DOB GENDER RACE MARITAL EDUCATION SSN LICENCE COURT...:
# from the Entry Method choice, keys a client from a paper answer sheet as the operator does:
# the client information, the twelve court values, then the answers in the grid (SHOT, when
# not empty, is a screenshot of the grid as typed). Sets MAIN to the main window after.
key_paper_client() {
    local shot=$1 answers=$2 info grid court
    shift 2
    dialog '^Entry Method$' >/dev/null
    keys Tab Return
    info=$(dialog '^Client Information$')
    fields "${@:1:9}"
    keys Return
    wait_window_gone "$info" 5
    court=$(dialog '^Court History$')
    fields "${@:10:12}"
    keys Return
    wait_window_gone "$court" 5
    grid=$(dialog '^Edit Client Responses$')
    xdotool type --delay 40 "$answers"
    [ -z "$shot" ] || screenshot "$shot"
    keys Tab Return
    wait_window_gone "$grid" 5
    MAIN=$(wait_main_window 10)
}

# generated_sheet FILE [--need-doubt] [MKFILLEDSHEET OPTION...]: makes FILE a generated client's
# filled sheet that the review screens accept as read (a BAC, an arrest date, a date of birth
# and an SSN filled in completely and 73 answers: the generator leaves fields empty now and
# then), trying seeds in turn; with --need-doubt, one with doubtful fields. Fills the global
# array v with the values it holds (mkfilledsheet's output, kept in $WORK/values.txt).
generated_sheet() {
    local file=$1 need_doubt="" seed
    shift
    if [ "${1:-}" = --need-doubt ]; then
        need_doubt=1
        shift
    fi
    local sheetgen
    sheetgen=$(dirname "$PROG_SOURCE")/tools/mkfilledsheet
    [ -x "$sheetgen" ] || fail "no sheet generator at $sheetgen"
    for seed in $(seq 1 60); do
        "$sheetgen" "$file" --seed "$seed" --today "$(date +%F)" "$@" >"$WORK/values.txt" ||
            fail "sheet generator failed"
        read_sheet_values "$WORK/values.txt"
        [[ ${v[bac]} =~ ^\.[0-9][1-9]$ ]] || continue
        [[ ${v[arrest_date]} =~ ^[0-9]{2}/[0-9]{2}/[0-9]{4}$ ]] || continue
        [[ ${v[dob]} =~ ^[0-9]{2}/[0-9]{2}/[0-9]{4}$ ]] || continue
        [[ ${v[ssn]} =~ ^[0-9]{3}-[0-9]{2}-[0-9]{4}$ ]] || continue
        [ "${#v[answers]}" -eq 73 ] || continue
        [ -z "$need_doubt" ] || [ -n "${v[doubtful]}" ] || continue
        note "sheet of seed $seed: $(tr '\n' ' ' <"$WORK/values.txt" | cut -c1-200)"
        return 0
    done
    fail "no usable generated sheet"
}

# read_sheet_values FILE: the global array v from name=value lines (mkfilledsheet's output).
read_sheet_values() {
    declare -gA v=()
    local key value
    while IFS='=' read -r key value; do v[$key]=$value; done <"$1"
}

# scan_new_client SHEET NAME LICENCE: Add New Client by "Scan Answer Sheet" with page files as
# the scanner source, from the main menu on: the file dialog takes SHEET, the review screens
# are accepted with the date of birth of v typed on review, and Save ends it at the main menu.
# Screenshots of each screen; with SCAN_DOUBTFUL_ROW set, one of the first doubtful answer row.
scan_new_client() {
    local sheet=$1 name=$2 licence=$3
    # Page files instead of a scanner, the file dialog opening where the sheet is.
    sed -i "s|^ScanSource=.*|ScanSource=File|; s|^ScanFolder=.*|ScanFolder=$(dirname "$sheet")|" \
        "$PROG/tov2sf.ini"
    grep -qx "ScanSource=File" "$PROG/tov2sf.ini" || fail "could not set ScanSource"
    start_program
    local main
    main=$(wait_main_window 10)
    focus "$main"
    keys Tab Return
    dialog '^Entry Method$' >/dev/null
    # "Scan Answer Sheet" is the third choice.
    keys Tab Tab Return
    local info prompt pick client ask court grid
    info=$(dialog '^Scan Information$')
    fields "$name" "$licence"
    screenshot scan_information.png
    keys Return
    wait_window_gone "$info" 5
    prompt=$(dialog '^TOV Test Scan$')
    screenshot insert_prompt.png
    keys Return
    pick=$(dialog '^Open Scanned Answer Sheet$')
    xdotool type --delay 40 "$sheet"
    sleep 0.5
    keys Return
    # The file name box may offer a completion first; a second Enter takes the file.
    sleep 1
    if xwininfo -id "$pick" 2>/dev/null | grep -q 'Map State: IsViewable'; then
        keys Return
    fi
    wait_window_gone "$pick" 5

    client=$(dialog '^Client Information$' 20)
    screenshot review_client_information.png
    # The scanned page holds the client's answers: owner-only while it is kept for the review.
    local image
    for image in raw.bmp scan.bmp; do
        [ "$(stat -c %a "$PROG/$image" 2>/dev/null)" = 600 ] || fail "$image not written owner-only"
    done
    # The date of birth is not taken from the sheet: Enter on "Information OK" asks for it.
    keys Return
    ask=$(dialog "$MAIN_TITLE" 5)
    keys Return
    wait_window_gone "$ask" 5
    focus "$client"
    xdotool type --delay 60 "${v[dob]}"
    # On through gender, race, marital status, education, SSN and licence to "Information OK".
    keys Return Return Return Return Return Return Return
    keys Return
    wait_window_gone "$client" 5
    court=$(dialog '^Court History$')
    screenshot review_court_history.png
    keys Return
    wait_window_gone "$court" 5
    grid=$(dialog '^Edit Client Responses$')
    screenshot review_answer_grid.png
    if [ -n "${SCAN_DOUBTFUL_ROW:-}" ]; then
        # Down to the first doubtful answer of the first grid: the help line says what amber
        # means.
        local first i
        first=$(tr ',' '\n' <<<"${v[doubtful]}" | sed -n 's/^item//p' | head -1)
        if [ -n "$first" ] && [ "$first" -le 67 ]; then
            for ((i = 1; i < first; i++)); do keys Down; done
            screenshot review_answer_grid_doubtful_row.png
        fi
    fi
    # From the first grid, Tab goes to the second and then to "Save".
    keys Tab Tab Return
    wait_window_gone "$grid" 5
    MAIN_WINDOW=$(wait_main_window 10)
    screenshot main_menu_after.png
}

# scanned_record NAME LICENCE DAY: the record a scanned client of v is stored as. Counts and
# the staff BAC are stored as the review screen holds them: "N" for an empty row.
scanned_record() {
    local name=$1 licence=$2 day=$3 key record st_bac=${v[st_bac]}
    [[ $st_bac == *N* ]] && st_bac=N
    record=$(printf '%-25s%-3s%-10s%s%s%s%s%-11s%-14s%-10s' "$name" "${v[age]}" "${v[dob]}" \
        "${v[gender]}" "${v[race]}" "${v[marital]}" "${v[education]}" "${v[ssn]}" "$licence" \
        "$day")
    for key in prior_dui co_supervision reckless ss_suspend m_violations accidents \
        alcohol_arrests drug_arrests; do
        record+=$(printf '%-2s' "${v[$key]}")
    done
    record+=$(printf '%-10s%-5s%-2s%-5s%s00' "${v[arrest_date]}" "${v[bac]}" "${v[st_prior_dui]}" \
        "$st_bac" "${v[answers]}")
    echo "$record"
}

# finish_scanned_client NAME LICENCE: the scanned client of v was appended as read, the scan
# images are gone, and Alt+X ends the program cleanly.
finish_scanned_client() {
    expect_appended_record "$(scanned_record "$1" "$2" "$(appended_record_day)")"
    [ ! -e "$PROG/raw.bmp" ] && [ ! -e "$PROG/scan.bmp" ] ||
        fail "raw.bmp and scan.bmp left after the client was saved"
    focus "$MAIN_WINDOW"
    keys alt+x
    wait_exit "$PID" 5
    [ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS"
    note "passed"
}

# strip_demonstration_mark: the text of printed pages (pdftotext's, pages split by form feeds)
# without the mark each page of a demonstration set carries in its margin; fails when a page
# with text lacks it. The build's program folder holds the demonstration set.
strip_demonstration_mark() {
    awk -v mark="Demonstration content - scores are not valid" '
        BEGIN { RS = "\f"; ORS = "\f" }
        { if ($0 ~ /[^[:space:]]/) { if (index($0, mark) == 0) missing = 1; sub(mark, "") }
          print }
        END { exit missing }'
}
