#!/usr/bin/env bash
# The Print command of the real viewer under Xvfb against a private CUPS
# scheduler with a CUPS-PDF queue: the job, its title and its one page; the
# picture against pidpage's page enlarged twice; two prints in a row; a long
# default printer name; and the stop message for a refused job, no default
# printer and no server at all, after which the window takes commands. The
# viewer runs where numbers are written with decimal commas (de_DE): the
# document's own numbers must not follow the locale.
# Usage: print_page.sh PIDVIEW PIDPAGE PRINT_COMPARE EXAMPLES_DIR
set -euo pipefail
pidview=$1 pidpage=$2 print_compare=$3 examples=$4
here=$(cd "$(dirname "$0")" && pwd)
source "$here/cups.sh"
source "$here/viewer.sh"
begin_print_test
dpi=300
title_in_file='PID_345_210_266_345_276_241_Ver1.00'

pdf_count() { new_pdfs | wc -l; }
below() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }

press_print() {
  xdotool windowfocus --sync "$wid"
  xdotool key alt+f
  sleep 0.3
  xdotool key p
}

# Waits for the spooler to finish and for one more PDF than before.
wait_for_pdf() {
  local before=$1
  for _ in $(seq 300); do
    [ "$(pdf_count)" -gt "$before" ] && wait_jobs_done && return 0
    sleep 0.1
  done
  return 1
}

# Seconds until the viewer takes the next command (the About box) after Print.
print_then_about_seconds() {
  local start end
  start=$(date +%s.%N)
  press_print
  xdotool key alt+h
  sleep 0.3
  xdotool key a
  wait_for_window 'ZARVEN' || { echo 99; return; }
  end=$(date +%s.%N)
  xdotool key Return
  wait_for_no_window 'ZARVEN' || true
  # The two 0.3 s pauses of the key sequence are not the command's.
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.2f", b - a - 0.6 }'
}

# The printed page at the printer's resolution, and pidpage's picture cut to
# the printed 795 x 530, both as PPM.
rasterize() { pdftoppm -r "$dpi" -aa no -aaVector no -singlefile "$1" "${2%.ppm}"; }
expected_picture() {
  local out=$1; shift
  "$pidpage" "$@" "$work/page.png"
  convert "$work/page.png" -crop 795x530+0+0 +repage "$out"
}

check_print() {
  local pdf=$1 expected=$2 what=$3 pages mismatches
  case "$(basename "$pdf")" in
    "$title_in_file"*) pass "$what: the job carries the title" ;;
    *) fail "$what: job title not in the file name: $(basename "$pdf")" ;;
  esac
  pages=$(pdfinfo "$pdf" | sed -n 's/^Pages: *//p')
  [ "$pages" = 1 ] && pass "$what: one page" || fail "$what: $pages pages"
  # The picture the PDF carries, pixel for pixel: exactly the page doubled.
  rm -f "$work"/image-*
  pdfimages -png "$pdf" "$work/image"
  images=$(ls "$work"/image-* 2>/dev/null | wc -l)
  convert "$expected" -scale 200% "$work/doubled.png"
  if [ "$images" = 1 ] && [ "$(identify -format '%wx%h' "$work"/image-000.png)" = 1590x1060 ] \
     && [ "$(compare -metric AE "$work"/image-000.png "$work/doubled.png" null: 2>&1)" = 0 ]; then
    pass "$what: the document's picture is the page doubled, 1590 x 1060, exactly"
  else
    fail "$what: the document's picture is not the page doubled ($images images)"
  fi
  # Where it lands on paper: rendered at the printer's resolution.
  rasterize "$pdf" "$work/printed.ppm"
  # The queue's printable area starts at the corner of the paper.
  mismatches=$("$print_compare" "$work/printed.ppm" "$expected" 0 0 2 || true)
  [ "$mismatches" = 0 ] && pass "$what: 1590 x 1060 printer pixels equal the page doubled" \
    || fail "$what: $mismatches printer pixels differ from the page doubled"
}

cp "$examples/PID_FAST.PID" "$work/fast.PID"

LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8 start_viewer

# Before any file: the start page, no curve.
before=$(pdf_count)
start=$(date +%s.%N)
press_print
if wait_for_pdf "$before"; then
  end=$(date +%s.%N)
  awk -v a="$start" -v b="$end" 'BEGIN { printf "one print job, key press to finished PDF: %.2f s\n", b - a - 0.3 }'
  expected_picture "$work/start.ppm"
  check_print "$(new_pdfs | tail -1)" "$work/start.ppm" "start page"
else
  fail "start page: nothing printed"
fi

# After opening a file, twice in a row: two identical documents.
open_file "$work/fast.PID"
sleep 0.5
before=$(pdf_count)
press_print
wait_for_pdf "$before" || fail "first of two: nothing printed"
press_print
wait_for_pdf "$((before + 1))" || fail "second of two: nothing printed"
if [ "$(pdf_count)" = "$((before + 2))" ]; then
  first=$(new_pdfs | tail -2 | head -1)
  second=$(new_pdfs | tail -1)
  expected_picture "$work/fast.ppm" "$work/fast.PID"
  check_print "$second" "$work/fast.ppm" "file page"
  rasterize "$first" "$work/first.ppm"
  rasterize "$second" "$work/second.ppm"
  cmp -s "$work/first.ppm" "$work/second.ppm" && pass "two prints give identical pages" \
    || fail "two prints differ"
else
  fail "two prints gave $(( $(pdf_count) - before )) documents"
fi

# A default printer whose name and port take more than 60 bytes.
long_name=Measurement_Page_Printer_On_The_Second_Floor_Laboratory_Bench_7
add_pdf_queue "$long_name"
set_default "$long_name"
before=$(pdf_count)
press_print
wait_for_pdf "$before" && pass "long printer name prints" || fail "long printer name: nothing printed"

# How long the Print command holds the window with a printer to print on.
set_default PDF
before=$(pdf_count)
echo "the Print command holds the window for $(print_then_about_seconds) s"
wait_for_pdf "$before" || fail "timed print: nothing printed"
set_default "$long_name"

# Print ends in the stop message, nothing is printed, and once Enter has
# closed it the window takes commands. How soon is printed; the bound is
# far from a look-up that hangs (some two minutes), as a loaded machine
# may take seconds.
expect_message() {
  local start seconds
  start=$(date +%s.%N)
  press_print
  wait_for_window '^印刷$' || wait_for_window '^印刷$' || true
  seconds=$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { printf "%.2f", b - a - 0.3 }')
  [ "$(window_count '^印刷$')" -ge 1 ] && below "$seconds" 10 && pass "$1: the print message after $seconds s" \
    || fail "$1: no print message within 10 s"
  sleep 0.3
  xdotool key Return
  expect_answering "$1"
  [ "$(pdf_count)" = "$before" ] || fail "$1: something was printed"
}

# A queue that accepts no jobs.
cupsreject "$long_name"
before=$(pdf_count)
expect_message "a job the queue refuses"

# No default printer: deleting the default queue leaves none.
lpadmin -x "$long_name"
lpstat -d 2>&1 | grep -q "no system default" || fail "the server still has a default: $(lpstat -d 2>&1)"
expect_message "no default printer"

# No server at all.
set_default PDF
stop_cups_server() { kill "$CUPSD_PID"; wait "$CUPSD_PID" 2>/dev/null || true; CUPSD_PID=; }
stop_cups_server
expect_message "no CUPS server"

[ "$failures" = 0 ] || { echo "$failures failure(s)"; exit 1; }
