#!/bin/bash
# Real printing once: a private CUPS daemon with a cups-pdf queue as the default printer, then
# the Qt printer test prints through it and reads back the PDF the queue wrote.
# usage: print_cups.sh TEST_PROGRAM OUTPUT_DIR
set -euo pipefail
test_program=$1
out=$2
if [ "$(id -u)" != 0 ] || [ ! -x /usr/sbin/cupsd ] || [ ! -x /usr/lib/cups/backend/cups-pdf ]; then
    echo "print_cups: needs root, cupsd and cups-pdf; skipped"
    exit 0
fi
mkdir -p "$out"
rm -f "$out"/*.pdf
chmod 777 "$out"
started=
# lpstat -r succeeds either way; only its words tell whether the scheduler runs.
scheduler_up() { lpstat -r 2>/dev/null | grep -q 'scheduler is running'; }
if ! scheduler_up; then
    /usr/sbin/cupsd -f &
    started=$!
    trap 'kill "$started" 2>/dev/null || true' EXIT
    for _ in $(seq 50); do scheduler_up && break; sleep 0.1; done
fi
# pdftocairo keeps real fonts in the PDF, so its text can be read back.
lpadmin -p ReportPDF -E -v cups-pdf:/ReportPDF -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd \
    -o pdftops-renderer-default=pdftocairo 2>/dev/null
lpadmin -d ReportPDF
echo "Out $out" > /etc/cups/cups-pdf-ReportPDF.conf
QT_QPA_PLATFORM=offscreen TOV_CUPS_PDF_OUT=$out TOV_SCREENSHOT_DIR=$out "$test_program"
