#!/usr/bin/env bash
# Analysis > Compare in the real viewer under Xvfb: two runs chosen together
# in the Open dialog (its own title) from two folders, one holding another
# run of the other's name, open a window showing pidpage's chart of them; its
# Print puts that chart on one page of a private CUPS-PDF queue, enlarged by
# the largest whole factor and centred; the pointer, the wheel and the keys
# show its cursor and zoom it as pidpage --time draws; a file that is not a run is named in
# one message; nine files are refused; closing a comparison window (its menu
# or Ctrl+W) leaves the others, and closing the main window ends the program.
# Usage: compare_window.sh PIDVIEW PIDPAGE PRINT_COMPARE EXAMPLES_DIR
set -euo pipefail
pidview=$1 pidpage=$2 print_compare=$3 examples=$4
here=$(cd "$(dirname "$0")" && pwd)
source "$here/cups.sh"
source "$here/viewer.sh"
source "$here/chart_view.sh"
begin_print_test

mkdir -p "$work/runs/a" "$work/runs/b"
cp "$examples/P_ONLY.PID" "$examples/PID_FAST.PID" "$work/runs/"
cp "$examples/P_ONLY.PID" "$work/runs/a/"
cp "$examples/PI_STEP.PID" "$work/runs/a/PID_FAST.PID"
cp "$examples/PID_FAST.PID" "$work/runs/b/"
for i in 1 2 3 4 5 6 7 8 9; do cp "$examples/PI_STEP.PID" "$work/runs/R$i.PID"; done
printf 'X%.0s' $(seq 416) > "$work/runs/bad.PID"

# Analysis > Compare, then the folder and the quoted names typed into the dialog.
compare_files() {
  xdotool windowfocus --sync "$wid"
  xdotool key alt+a
  sleep 0.3
  xdotool key c
  wait_for_window '^比較するファイルを選択 \(8 件まで\)$' || { fail "no open dialog titled for the comparison"; return; }
  sleep 0.3
  xdotool key ctrl+a
  xdotool type "$work/runs/"
  xdotool key Return
  sleep 0.3
  xdotool key ctrl+a
  xdotool type "$*"
  xdotool key Return
}

start_viewer
"$pidpage" --compare "$work/chart.png" "$work/runs/a/P_ONLY.PID" "$work/runs/b/PID_FAST.PID"
convert "$work/chart.png" -crop 794x496+0+0 +repage "$work/expected.png"

compare_files '"a/P_ONLY.PID" "b/PID_FAST.PID"'
if wait_for_window '比較 \(2 件\)'; then
  count=$(wait_for_page "$work/expected.png" "$(xdotool search --onlyvisible --name '比較 \(2 件\)' | head -1)")
  [ "$count" = 0 ] && pass "two runs chosen together from two folders: the window shows pidpage's chart of them" \
    || fail "the comparison window differs from pidpage's chart ($count pixels)"
else
  fail "no comparison window for two runs"
fi

# Print: one page, a job named after the comparison, the chart enlarged by
# a whole factor and centred on the printable area (the whole sheet here).
before=$(new_pdfs | wc -l)
xdotool windowfocus --sync "$(xdotool search --onlyvisible --name '比較 \(2 件\)' | head -1)"
xdotool key alt+f
sleep 0.3
xdotool key p
for _ in $(seq 300); do [ "$(new_pdfs | wc -l)" -gt "$before" ] && wait_jobs_done && break; sleep 0.1; done
pdf=$(new_pdfs | tail -1)
if [ "$(new_pdfs | wc -l)" -gt "$before" ]; then
  case "$(basename "$pdf")" in
    PID_345_210_266_345_276_241__346_257_224_350_274_203*) pass "the job is named after the comparison" ;;
    *) fail "job title not in the file name: $(basename "$pdf")" ;;
  esac
  [ "$(pdfinfo "$pdf" | sed -n 's/^Pages: *//p')" = 1 ] && pass "one page" || fail "not one page"
  pdftoppm -r 300 -aa no -aaVector no -singlefile "$pdf" "$work/printed"
  read -r width height < <(head -c 64 "$work/printed.ppm" | sed -n 2p)
  factor=$(( width / 800 < height / 540 ? width / 800 : height / 540 ))
  convert "$work/chart.png" "$work/chart.ppm"
  mismatches=$("$print_compare" "$work/printed.ppm" "$work/chart.ppm" $(( (width - 800 * factor) / 2 )) \
    $(( (height - 540 * factor) / 2 )) "$factor" || true)
  [ "$factor" -ge 2 ] && [ "$mismatches" = 0 ] \
    && pass "printed $factor times as large, centred on the ${width} x ${height} sheet" \
    || fail "the printed chart is not the chart x $factor centred ($mismatches pixels differ)"
else
  fail "the comparison printed nothing"
fi

# The cursor, zoom and marks: pointer, wheel, double click and keys.
check_chart_view '比較 \(2 件\)' 280 6.375 --compare "$work/runs/a/P_ONLY.PID" "$work/runs/b/PID_FAST.PID"

# A file that is not a run: one message naming it, the other run compared.
compare_files '"bad.PID" "P_ONLY.PID"'
if wait_for_window '^比較$'; then
  sleep 0.3
  [ "$(window_count '^比較$')" = 1 ] && pass "one message for the refused file" || fail "not one message"
  xdotool key Return
else
  fail "no message for a file that is not a run"
fi
wait_for_window '比較 \(1 件\)' && pass "the usable run is compared" || fail "no window for the usable run"

# Nine files: refused before anything is read.
compare_files "$(printf '"R%d.PID" ' 1 2 3 4 5 6 7 8 9)"
if wait_for_window '^比較$'; then
  pass "nine files are refused with a message"
  xdotool key Return
else
  fail "no message for nine files"
fi
sleep 0.5
[ "$(window_count '比較 \(9')" = 0 ] || fail "a window opened for nine files"

# Closing one comparison window leaves the other and the main window.
xdotool windowfocus --sync "$(xdotool search --onlyvisible --name '比較 \(2 件\)' | head -1)"
xdotool key alt+f
sleep 0.3
xdotool key c
wait_for_no_window '比較 \(2 件\)' && [ "$(window_count '比較 \(1 件\)')" = 1 ] \
  && [ "$(window_count 'Ver1\.00')" = 1 ] && pass "closing a comparison leaves the other windows" \
  || fail "closing a comparison window closed others"
xdotool windowfocus --sync "$(xdotool search --onlyvisible --name '比較 \(1 件\)' | head -1)"
xdotool key ctrl+w
wait_for_no_window '比較 \(1 件\)' && pass "Ctrl+W closes a comparison window" || fail "Ctrl+W left it open"
# The main window's close box ends the program, comparison windows and all.
python3 "$here/x11_close.py" "$wid"
for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "the program runs on after its main window closed" \
  || { pass "closing the main window ends the program"; app=; }

[ "$failures" = 0 ] || { echo "$failures failure(s)"; exit 1; }
