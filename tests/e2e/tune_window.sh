#!/usr/bin/env bash
# Analysis > Tuning suggestion in the real viewer under Xvfb, on runs of the
# tests' own simulated motor: a window named after the run shows pidpage's
# tuning chart, and pidpage's chart for tau_c = 2 theta_e after 調整 > 標準
# and for a limit after 出力上限 (which refuses what is not a number); its
# copy gives the header and a row per curve; when the run on screen becomes
# one made with the suggestion, the window fits it and shows 前回の予測; its
# print puts the chart on one page of a private CUPS-PDF queue; a run that
# gets no suggestion brings one message and no window. The window follows
# 自動更新 too; its copy is Ctrl+C too. On an example run, its cursor, zoom and
# marks as in the comparison, its copy with the cursor's readout, and Esc
# (the first takes the cursor away, the next closes the window).
# Usage: tune_window.sh PIDVIEW PIDPAGE PRINT_COMPARE EXAMPLES_DIR SIMRUN
set -euo pipefail
pidview=$1 pidpage=$2 print_compare=$3 examples=$4 simrun=$5
here=$(cd "$(dirname "$0")" && pwd)
source "$here/cups.sh"
source "$here/viewer.sh"
source "$here/chart_view.sh"
begin_print_test

# The motor: K 2.0 (100 rpm per unit of the law), tau 0.5 s, theta 50 ms,
# sampled every 20 ms; the first run at Kp 40 %, Ti 500 ms.
motor=(2.0 0.5 0.05)
run="$work/試験データ.PID"
"$simrun" "$run" "${motor[@]}" 40 40 50 0 2

tune() {
  xdotool windowfocus --sync "$wid"
  xdotool key alt+a
  sleep 0.3
  xdotool key t
}
tune_window() { xdotool search --onlyvisible --name '調整の提案 - ' | head -1; }
# A menu of the tuning window: alt+$1, then $2.
tune_menu() {
  xdotool windowfocus --sync "$(tune_window)"
  xdotool key "alt+$1"
  sleep 0.3
  xdotool key "$2"
}
# Whether the tuning window shows pidpage's chart of $1 with the options after it.
shows_chart() {
  local file=$1; shift
  "$pidpage" --tune-chart "$@" "$work/chart.png" "$file"
  convert "$work/chart.png" -crop 794x496+0+0 +repage "$work/expected.png"
  [ "$(wait_for_page "$work/expected.png" "$(tune_window)")" = 0 ]
}
copy_of_window() {
  tune_menu e c
  sleep 0.3
  xclip -selection clipboard -o 2>/dev/null | tr -d '\r' || true
}

start_viewer "$run"
tune
if wait_for_window '^調整の提案 - 試験データ\.PID - '; then
  shows_chart "$run" && pass "the window, named after the run, shows pidpage's tuning chart" \
    || fail "the tuning window differs from pidpage's chart"
else
  fail "no tuning window named after the run"
fi

tune_menu s 2
shows_chart "$run" --tau-c 2 && pass "調整 > 標準 shows the chart of tau_c = 2 theta_e" \
  || fail "調整 > 標準 does not show pidpage's --tau-c 2 chart"
# 出力上限: a word is refused with a message, 45 is taken.
tune_menu s l
if wait_for_window '^出力上限$'; then
  xdotool type abc
  xdotool key Return
  wait_for_count "-ge 2" '^出力上限$' && pass "a limit that is not a number is refused" || fail "no refusal"
  xdotool key Return
  wait_for_count "-eq 1" '^出力上限$' || fail "the refusal stays"
  xdotool windowfocus --sync "$(xdotool search --onlyvisible --name '^出力上限$' | head -1)"
  xdotool key ctrl+a
  xdotool type 45
  xdotool key Return
  wait_for_no_window '^出力上限$' || fail "the limit's dialog stays"
  shows_chart "$run" --tau-c 2 --output-limit 45 && pass "the limit given is fitted and predicted with" \
    || fail "the window does not show pidpage's chart for the limit"
else
  fail "no 出力上限 dialog"
fi

# Edit > Copy: a header and a row per suggestion, tab-separated.
copy_of_window >"$work/copy.txt"
[ "$(head -1 "$work/copy.txt" | cut -f1-3,8,12-18)" = $'ファイル\t曲線\tKp[%]\tK[100rpm/制御則の出力]\t注意\t周期[ms]\tθe[s]\tτc[s]\t出力上限\tピーク出力\t今回ピーク出力' ] \
  && pass "the copy's header" || fail "the copy's header: $(head -1 "$work/copy.txt")"
[ "$(cut -f1,2,16 "$work/copy.txt" | sed -n '2,3p' | paste -sd'|')" = $'試験データ.PID\tPI 提案\t45.000|試験データ.PID\tPID 提案\t45.000' ] \
  && pass "a row per suggestion, with the limit" || fail "the copy's rows: $(sed -n '2,3p' "$work/copy.txt")"
# Ctrl+C is the same copy.
xclip -selection clipboard -i /dev/null
xdotool key ctrl+c
sleep 0.3
cmp -s <(xclip -selection clipboard -o 2>/dev/null | tr -d '\r') "$work/copy.txt" && pass "Ctrl+C copies the same" \
  || fail "Ctrl+C did not copy the suggestions"

# The next run, made with the PI suggestion, opened: the window follows it
# and sets what it predicted for that setting beside it.
read -r kp ti < <(sed -n 2p "$work/copy.txt" | awk -F'\t' '{print $3, $4 / 10}')
next="$work/次の試験.PID"
"$simrun" "$next" "${motor[@]}" 40 "$kp" "$ti" 0 2
open_file "$next"
if wait_for_window '^調整の提案 - 次の試験\.PID - '; then
  copy_of_window >"$work/copy.txt"
  [ "$(cut -f2-4 "$work/copy.txt" | sed -n '2,3p' | paste -sd'|')" = "測定	$kp	$((ti * 10))|前回の予測 (PI)	$kp	$((ti * 10))" ] \
    && pass "the window follows the run and names the prediction made for its setting" \
    || fail "the followed window's copy: $(sed -n '2,3p' "$work/copy.txt")"
else
  fail "the tuning window does not follow the run opened"
fi
# 自動更新: a run that appears in the folder is followed too.
xdotool windowfocus --sync "$wid"
xdotool key alt+f
sleep 0.3
xdotool key u
mkdir "$work/elsewhere"
"$simrun" "$work/elsewhere/third.PID" "${motor[@]}" 40 "$kp" "$ti" 0 2 0 1
mv "$work/elsewhere/third.PID" "$work/三回目.PID"
wait_for_window '^調整の提案 - 三回目\.PID - ' && pass "the tuning window follows 自動更新" \
  || fail "the tuning window does not follow 自動更新"
xdotool windowfocus --sync "$wid"
xdotool key alt+f
sleep 0.3
xdotool key u

# File > Print: one page, the chart enlarged by a whole factor and centred.
tune_menu s 1
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
  client_shot "$work/shown.png" "$(tune_window)"
  pdftoppm -r 300 -aa no -aaVector no -singlefile "$pdf" "$work/printed"
  read -r width height < <(head -c 64 "$work/printed.ppm" | sed -n 2p)
  factor=$(( width / 800 < height / 540 ? width / 800 : height / 540 ))
  convert "$work/shown.png" -background white -extent 800x540 "$work/shown.ppm"
  mismatches=$("$print_compare" "$work/printed.ppm" "$work/shown.ppm" $(( (width - 800 * factor) / 2 )) \
    $(( (height - 540 * factor) / 2 )) "$factor" || true)
  [ "$mismatches" = 0 ] && pass "printed $factor times as large, centred" \
    || fail "the printed chart is not the window's x $factor centred ($mismatches pixels differ)"
else
  fail "the tuning window printed nothing"
fi

# A run no model can be fitted to (Kp 0): one message, no new window.
"$simrun" "$work/zero.PID" "${motor[@]}" 40 0 50 0 2
open_file "$work/zero.PID"
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

# An example run, the limit found from it again: the cursor, zoom and marks;
# then, with the cursor shown, the copy ends with its readout; Esc takes the
# cursor away, the next Esc closes.
example="$work/PI_STEP.PID"
cp "$examples/PI_STEP.PID" "$example"
open_file "$example"
wait_for_window '^調整の提案 - PI_STEP\.PID - ' || fail "the tuning window does not follow the example"
tune_menu s l
if wait_for_window '^出力上限$'; then
  xdotool key ctrl+a BackSpace Return
  wait_for_no_window '^出力上限$' || fail "the limit's dialog stays"
fi
check_chart_view "^調整の提案 - " 280 3.5 --tune-chart "$example"
xdotool key Right ctrl+c
sleep 0.3
[ "$(xclip -selection clipboard -o 2>/dev/null | tail -2 | tr -d '\r' | paste -sd'|')" \
  = $'時刻 [s]\t1: 測定 [rpm]\t2: モデル [rpm]\t3: PI 提案 [rpm]|0.00\t0\t0\t0' ] \
  && pass "a copy with the cursor shown ends with its readout" \
  || fail "the copy's readout: $(xclip -selection clipboard -o 2>/dev/null | tail -2)"
xdotool key Escape
sleep 0.3
[ "$(window_count '^調整の提案 - ')" = 1 ] && pass "the first Esc only takes the cursor away" || fail "Esc closed at once"
xdotool key Escape
wait_for_no_window '^調整の提案 - ' && [ "$(window_count 'Ver1\.00')" = 1 ] \
  && pass "the next Esc closes the tuning window and leaves the main window" || fail "the tuning window did not close alone"

[ "$failures" = 0 ] || { echo "$failures failure(s)"; exit 1; }
