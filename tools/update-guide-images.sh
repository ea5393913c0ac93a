#!/usr/bin/env bash
# Copies the screenshots the operator's guide shows from the end-to-end tests' output into
# docs/images, so the guide's pictures follow the program. Run the end-to-end tests first
# (ctest --test-dir build -L E2E), or pass --run to have them run now. Each picture is cut to
# the program's windows (the screen around them is black) and kept in 256 colours, which a
# screenshot of these windows loses nothing to, so the pictures stay small.
#
#   tools/update-guide-images.sh [--run] [BUILD]      BUILD defaults to build
set -euo pipefail
cd "$(dirname "$0")/.."
run=0
[ "${1:-}" = --run ] && { run=1; shift; }
build=${1:-build}
out=$build/e2e-output
command -v convert >/dev/null ||
    { echo "update-guide-images: ImageMagick's convert is not installed" >&2; exit 1; }
[ $run = 1 ] && ctest --test-dir "$build" -L E2E --output-on-failure

# guide picture = test/screenshot
pictures=(
  main_menu=e2e_startup/main_menu
  drive_select=e2e_missing_data/drive_select
  data_disk_in_use=e2e_second_copy/data_disk_in_use
  missing_data=e2e_missing_data/missing_data
  new_volume=e2e_new_volume/new_volume
  client_info=e2e_edit_client/client_info
  court_history=e2e_edit_client/court_history
  answer_grid=e2e_edit_client/answer_grid
  entry_method=e2e_present_test/entry_method
  select_language=e2e_present_test/select_language
  general_instructions=e2e_present_test/general_instructions
  true_false_item=e2e_present_test/true_false_item
  four_choice_item=e2e_present_test/four_choice_item
  access_code=e2e_present_test/access_code
  answer_grid_keyed=e2e_answer_sheet/answer_grid_keyed
  scan_information=e2e_scan_office_sheet/scan_information
  insert_prompt=e2e_scan_office_sheet/insert_prompt
  review_client_information=e2e_scan_office_sheet/review_client_information
  review_answer_grid_doubtful_row=e2e_scan_office_sheet/review_answer_grid_doubtful_row
  supervisor_reports_tab=e2e_supervisor_report/supervisor_reports_tab
  data_verification_tab=e2e_delete_names/data_verification_tab
  access_code_tab=e2e_delete_names/access_code_tab
  viewer=e2e_supervisor_report/viewer
  print_selected=e2e_print_batches/print_selected
  delete_names_tab=e2e_delete_names/delete_names_tab
  delete_names_warning=e2e_delete_names/delete_names_warning
  about=e2e_about_box/about
)
missing=0
for entry in "${pictures[@]}"; do
  source=$out/${entry#*=}.png
  if [ ! -s "$source" ]; then
    echo "update-guide-images: no $source (run the end-to-end tests first)" >&2
    missing=1
  fi
done
[ $missing = 0 ] || exit 1
# Every picture anew, so none the guide no longer shows is left behind.
mkdir -p docs/images
rm -f docs/images/*.png
for entry in "${pictures[@]}"; do
  # The border added first makes sure that only the black screen around the windows is cut away.
  convert "$out/${entry#*=}.png" -bordercolor black -border 1 -trim +repage -dither None \
      -colors 256 -strip "PNG8:docs/images/${entry%%=*}.png"
done
echo "update-guide-images: ${#pictures[@]} pictures in docs/images"
