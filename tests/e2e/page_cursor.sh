#!/usr/bin/env bash
# The main window's cursor in the real viewer under Xvfb: a click on the
# chart draws it (inside the chart frame only), Esc takes it away and leaves
# exactly the page; the print made while it shows holds the page alone; the
# keys alone bring it; another file opened takes it away.
# Usage: page_cursor.sh PIDVIEW PIDPAGE EXAMPLES_DIR
set -euo pipefail
pidview=$1 pidpage=$2 examples=$3
here=$(cd "$(dirname "$0")" && pwd)
source "$here/cups.sh"
source "$here/viewer.sh"
begin_print_test

# Whether two pictures differ only inside the chart frame.
same_off_chart() {
  local f
  for f in "$1" "$2"; do convert "$f" -fill white -draw "rectangle 10,20 779,369" "$f.off-chart.png"; done
  [ "$(differing_pixels "$1.off-chart.png" "$2.off-chart.png")" = 0 ]
}

start_viewer "$examples/PI_STEP.PID"
expected_page "$work/page.png" "$examples/PI_STEP.PID"
[ "$(wait_for_page "$work/page.png")" = 0 ] || fail "the run's page is not shown"
eval "$(xdotool getwindowgeometry --shell "$wid")"
cx=$X cy=$((Y + HEIGHT - 496))

xdotool mousemove $((cx + 150)) $((cy + 200)) click 1
sleep 0.5
client_shot "$work/cursor.png"
[ "$(differing_pixels "$work/cursor.png" "$work/page.png")" != 0 ] && same_off_chart "$work/cursor.png" "$work/page.png" \
  && pass "a click on the chart draws the cursor, inside the chart frame only" || fail "no cursor, or a change off the chart"

# File > 印刷 with the cursor shown: the document's picture is the page doubled.
xdotool key alt+f
sleep 0.3
xdotool key p
for _ in $(seq 300); do [ -n "$(new_pdfs)" ] && wait_jobs_done && break; sleep 0.1; done
if [ -n "$(new_pdfs)" ]; then
  pdfimages -png "$(new_pdfs | tail -1)" "$work/image"
  "$pidpage" "$examples/PI_STEP.PID" "$work/whole.png"
  convert "$work/whole.png" -crop 795x530+0+0 +repage -scale 200% "$work/doubled.png"
  [ "$(differing_pixels "$work/image-000.png" "$work/doubled.png")" = 0 ] \
    && pass "the print made under the cursor holds the page alone" || fail "the print holds more than the page"
else
  fail "nothing printed"
fi

xdotool windowfocus --sync "$wid"
xdotool key Escape
[ "$(wait_for_page "$work/page.png")" = 0 ] && pass "Esc leaves exactly the page" || fail "Esc left something on the page"
xdotool key End
sleep 0.5
client_shot "$work/keys.png"
[ "$(differing_pixels "$work/keys.png" "$work/page.png")" != 0 ] && pass "End brings the cursor without the pointer" \
  || fail "End brought no cursor"
expected_page "$work/other.png" "$examples/P_ONLY.PID"
open_file "$examples/P_ONLY.PID"
[ "$(wait_for_page "$work/other.png")" = 0 ] && pass "another file opened takes the cursor away" \
  || fail "the cursor stayed over another file's page"

[ "$failures" = 0 ] || { echo "$failures failure(s)"; exit 1; }
