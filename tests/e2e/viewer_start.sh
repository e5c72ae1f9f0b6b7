#!/usr/bin/env bash
# How the viewer starts: its options; a run named on the command line (its
# page and its name in the title, a name that is not UTF-8, a refusal over the
# start page); its window class; Qt's dialogs under a Japanese locale; and no
# display (status 1 and one line, where an offscreen platform still runs).
# Usage: viewer_start.sh PIDVIEW PIDPAGE EXAMPLES_DIR
set -euo pipefail
pidview=$1 pidpage=$2 examples=$3
here=$(cd "$(dirname "$0")" && pwd)
source "$here/viewer.sh"

# run_alone ARGS...: the status and the count of stderr lines without a
# display; standard output in $work/out, standard error in $work/err.
run_alone() {
  local status=0
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$pidview" "$@" >"$work/out" 2>"$work/err" || status=$?
  echo "$status $(wc -l <"$work/err")"
}
begin_desktop_test
for option in -h --help; do
  [ "$(run_alone $option)" = "0 0" ] && grep -qF 'usage: pidview [--] [FILE.PID...]' "$work/out" && pass "$option" \
    || fail "$option: $(head -1 "$work/out")"
done
version=$("$pidpage" --version)
[ "$(run_alone --version)" = "0 0" ] && [ "$(cat "$work/out")" = "pidview ${version#pidpage }" ] && pass "--version" \
  || fail "--version: $(cat "$work/out")"
[ "$(run_alone --bogus)" = "2 1" ] && pass "an unknown option: status 2, one line" \
  || fail "unknown option: $(cat "$work/err")"
for words in "--help extra" "--version extra" "x.PID -h"; do
  [ "$(run_alone $words)" = "2 1" ] && [ ! -s "$work/out" ] && pass "$words: status 2, one line" \
    || fail "$words: $(cat "$work/out" "$work/err")"
done
[ "$(run_alone a.PID b.PID c.PID)" = "1 2" ] && grep -qx 'pidview: only the first file is opened; not used: b.PID c.PID' "$work/err" \
  && pass "the files after the first are named as not used" || fail "several files: $(cat "$work/err")"
[ "$(run_alone)" = "1 1" ] && grep -q DISPLAY "$work/err" && pass "no display: status 1, one line" \
  || fail "no display: $(cat "$work/err")"
status=0
timeout 2 env -u DISPLAY QT_QPA_PLATFORM=offscreen "$pidview" 2>/dev/null || status=$?
[ "$status" = 124 ] && pass "the offscreen platform runs without a display" || fail "offscreen ended with $status"

# A run with a Shift-JIS name on the command line, in a Japanese locale.
name=$(printf '\x95\x5c\x8e\xa6 run.PID')
cp "$examples/PID_FAST.PID" "$work/$name"
LC_ALL=ja_JP.UTF-8 start_viewer -- "$work/$name" "$examples/P_ONLY.PID"
expected_page "$work/fast.png" "$work/$name"
[ "$(wait_for_page "$work/fast.png")" = 0 ] && pass "the first file named is on screen" \
  || fail "page of the named file differs ($(differing_pixels "$work/shot.png" "$work/fast.png") pixels)"
[ "$(xdotool getwindowname "$wid")" = "表示 run.PID - PID制御計測データ表示(モータ版用) Ver1.00" ] \
  && pass "the title names the run" || fail "title: $(xdotool getwindowname "$wid")"
xprop -id "$wid" WM_CLASS | grep -qx 'WM_CLASS(STRING) = "pidview", "pidview"' && pass "WM_CLASS pidview" \
  || fail "$(xprop -id "$wid" WM_CLASS)"
xdotool key alt+f
sleep 0.3
xdotool key o
wait_for_window '^開く$' && pass "the Open dialog is titled 開く" || fail "no Japanese Open dialog"
# Wide enough for its columns: the size, the type and the date uncut.
width=$(xdotool getwindowgeometry "$(xdotool search --onlyvisible --name '^開く$' | head -1)" | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')
[ "${width:-0}" -ge 820 ] && pass "the Open dialog opens $width pixels wide" || fail "the Open dialog is ${width:-?} pixels wide"
close_open_dialog
kill "$app"; wait "$app" 2>/dev/null || true

# A file that is not a run: the format message over the start page, which stays.
printf 'X%.0s' $(seq 416) > "$work/bad.PID"
start_viewer "$work/bad.PID"
answer_message_box "$work/message.png" && pass "a wrong file named brings the load message" || fail "no load message"
expected_page "$work/start.png"
[ "$(wait_for_page "$work/start.png")" = 0 ] && pass "the start page stays" || fail "the start page changed"
[[ "$(xdotool getwindowname "$wid")" == PID制御* ]] && pass "the title stays" || fail "title changed"

[ "$failures" = 0 ] || { echo "$failures failure(s)"; exit 1; }
