#!/bin/bash
# Real printing once: a private CUPS daemon with a cups-pdf queue as the default printer, then
# the Qt printer test prints through it and reads back the PDF the queue wrote.
# usage: print_cups.sh TEST_PROGRAM OUTPUT_DIR
source "$(dirname "$0")/../../e2e/lib.sh"
test_program=$1
out=$2
trap e2e_cleanup EXIT
mkdir -p "$out"
rm -f "$out"/*.pdf
if ! start_pdf_printer "$out"; then
    echo "print_cups: needs root, cupsd and cups-pdf; skipped"
    exit 0
fi
QT_QPA_PLATFORM=offscreen TOV_CUPS_PDF_OUT=$out TOV_SCREENSHOT_DIR=$out "$test_program"
