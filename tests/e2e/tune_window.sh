#!/usr/bin/env bash
# Analysis > Tuning suggestion in the real viewer under Xvfb: for a run under
# a UTF-8 name, a window named after it shows pidpage's tuning chart (the
# four legend rows, the model, the law and the warnings); its copy (and
# Ctrl+C) gives the header and a row per suggestion; its print puts the chart on one page of a
# private CUPS-PDF queue; a run that gets no suggestion brings one message
# and no window; its cursor, zoom and marks as in the comparison, its copy
# with the cursor's readout, and Esc.
# Usage: tune_window.sh PIDVIEW PIDPAGE PRINT_COMPARE EXAMPLES_DIR
set -euo pipefail
pidview=$1 pidpage=$2 print_compare=$3 examples=$4
here=$(cd "$(dirname "$0")" && pwd)
source "$here/cups.sh"
source "$here/viewer.sh"
source "$here/chart_view.sh"
begin_print_test

run="$work/試験データ.PID"
cp "$examples/PI_STEP.PID" "$run"
"$pidpage" --tune-chart "$work/chart.png" "$run"
convert "$work/chart.png" -crop 794x496+0+0 +repage "$work/expected.png"

tune() {
  xdotool windowfocus --sync "$wid"
  xdotool key alt+a
  sleep 0.3
  xdotool key t
}
# A menu of the tuning window: alt+$1, then $2.
tune_menu() {
  xdotool windowfocus --sync "$(xdotool search --onlyvisible --name '調整の提案 - ' | head -1)"
  xdotool key "alt+$1"
  sleep 0.3
  xdotool key "$2"
}

start_viewer "$run"
tune
if wait_for_window '^調整の提案 - 試験データ\.PID - '; then
  count=$(wait_for_page "$work/expected.png" "$(xdotool search --onlyvisible --name '調整の提案 - ' | head -1)")
  [ "$count" = 0 ] && pass "the window, named after the run, shows pidpage's tuning chart" \
    || fail "the tuning window differs from pidpage's chart ($count pixels)"
else
  fail "no tuning window named after the run"
fi

# Edit > Copy: a header and the two suggestions, tab-separated.
tune_menu e c
sleep 0.3
xclip -selection clipboard -o >"$work/copy.txt" 2>/dev/null || true
[ "$(head -1 "$work/copy.txt" | tr -d '\r')" = $'ファイル\t提案\tKp[%]\tTi[ms]\tTd[ms]\t行過ぎ[%]\t整定[s]\tK[100rpm/出力]\tτ[s]\tθ[s]\t誤差RMS[rpm]\t注意' ] \
  && pass "the copy's header" || fail "the copy's header: $(head -1 "$work/copy.txt")"
[ "$(cut -f1,2 "$work/copy.txt" | sed -n '2,3p' | paste -sd'|')" = $'試験データ.PID\tPI|試験データ.PID\tPID' ] \
  && pass "a row per suggestion" || fail "the copy's rows: $(sed -n '2,3p' "$work/copy.txt")"
# Ctrl+C is the same copy.
xclip -selection clipboard -i /dev/null
xdotool key ctrl+c
sleep 0.3
cmp -s <(xclip -selection clipboard -o 2>/dev/null) "$work/copy.txt" && pass "Ctrl+C copies the same" \
  || fail "Ctrl+C did not copy the suggestions"

# File > Print: one page, the chart enlarged by a whole factor and centred.
before=$(new_pdfs | wc -l)
tune_menu f p
for _ in $(seq 300); do [ "$(new_pdfs | wc -l)" -gt "$before" ] && wait_jobs_done && break; sleep 0.1; done
if [ "$(new_pdfs | wc -l)" -gt "$before" ]; then
  pdf=$(new_pdfs | tail -1)
  case "$(basename "$pdf")" in
    PID_345_210_266_345_276_241__350_252_277_346_225_264*) # CUPS-PDF cuts long titles
      pass "the job is named after the suggestion" ;;
    *) fail "job title not in the file name: $(basename "$pdf")" ;;
  esac
  pdftoppm -r 300 -aa no -aaVector no -singlefile "$pdf" "$work/printed"
  read -r width height < <(head -c 64 "$work/printed.ppm" | sed -n 2p)
  factor=$(( width / 800 < height / 540 ? width / 800 : height / 540 ))
  convert "$work/chart.png" "$work/chart.ppm"
  mismatches=$("$print_compare" "$work/printed.ppm" "$work/chart.ppm" $(( (width - 800 * factor) / 2 )) \
    $(( (height - 540 * factor) / 2 )) "$factor" || true)
  [ "$mismatches" = 0 ] && pass "printed $factor times as large, centred" \
    || fail "the printed chart is not the chart x $factor centred ($mismatches pixels differ)"
else
  fail "the tuning window printed nothing"
fi

# A run whose output sat at its limit for long: one message, no new window.
open_file "$examples/PID_FAST.PID"
sleep 0.5
tune
if wait_for_window '^調整の提案$'; then
  sleep 0.3
  [ "$(window_count '^調整の提案$')" = 1 ] && [ "$(window_count '^調整の提案 - ')" = 1 ] \
    && pass "a withheld suggestion is one message and no window" || fail "not one message and no window"
  xdotool windowfocus --sync "$(xdotool search --onlyvisible --name '^調整の提案$' | head -1)"
  xdotool key Return
else
  fail "no message for a run without a suggestion"
fi

# The cursor, zoom and marks; then, with the cursor shown, the copy ends
# with its readout; Esc takes the cursor away, the next Esc closes.
check_chart_view '^調整の提案 - ' 280 3.5 --tune-chart "$run"
xdotool key Right ctrl+c
sleep 0.3
[ "$(xclip -selection clipboard -o 2>/dev/null | tail -2 | tr -d '\r' | paste -sd'|')" \
  = $'時刻 [s]\t1: 測定 [rpm]\t2: モデル [rpm]\t3: PI 提案 [rpm]\t4: PID 提案 [rpm]|0.00\t0\t0\t0\t0' ] \
  && pass "a copy with the cursor shown ends with its readout" \
  || fail "the copy's readout: $(xclip -selection clipboard -o 2>/dev/null | tail -2)"
xdotool key Escape
sleep 0.3
[ "$(window_count '^調整の提案 - ')" = 1 ] && pass "the first Esc only takes the cursor away" || fail "Esc closed at once"
xdotool key Escape
wait_for_no_window '^調整の提案 - ' && [ "$(window_count 'Ver1\.00')" = 1 ] \
  && pass "the next Esc closes the tuning window and leaves the main window" || fail "the tuning window did not close alone"

[ "$failures" = 0 ] || { echo "$failures failure(s)"; exit 1; }
