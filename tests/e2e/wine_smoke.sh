#!/usr/bin/env bash
# The Windows build under Wine: pidview.exe starts, its window shows the
# title, the menu and the page of the start values (as the real GDI draws it
# in gdipage.exe), File > Open loads an example and shows its page, F5
# reloads it, File > 印刷 prints one page on the default printer (the CUPS-PDF queue of a private
# scheduler, which Wine lists and makes its default), 応答特性's copy pastes as
# Japanese text, 調整の提案's cursor follows the pointer and a wheel notch
# zooms it, File > Exit ends it
# with status 0, and a run named on its command line (in a folder with a
# space) opens at the start and names the window.
# Usage: wine_smoke.sh PAGEDIFF
set -euo pipefail
pagediff=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/xvfb.sh"
source "$here/wine_env.sh"
source "$here/cups.sh"
pick_wine
pidview=$WINDOWS_BUILD/app/pidview.exe
gdipage=$WINDOWS_BUILD/tools/windows/gdipage.exe
for exe in "$pidview" "$gdipage"; do
  [ -f "$exe" ] || { echo "missing $exe (tools/build_windows.sh test builds it)" >&2; exit 1; }
done
title='PID制御計測データ表示(モータ版用) Ver1.00'

work=$(mktemp -d)
start_xvfb
# Wine reads the printers from the scheduler it finds through CUPS_SERVER.
start_cups
add_pdf_queue PDF
set_default PDF
trap 'stop_wine; stop_xvfb; stop_cups; rm -rf "$work"' EXIT
make_prefix
cd "$work"
timeout 120 "$WINE" "$gdipage" -c start.cells start.bmp
run=$work/P_ONLY.PID
cp "$ROOT/examples/P_ONLY.PID" "$run"
timeout 120 "$WINE" "$gdipage" -c run.cells P_ONLY.PID run.bmp

fail() {
  echo "FAIL: $*"
  keep=${PIDVIEW_E2E_KEEP:-/tmp/pidview-wine-smoke}
  rm -rf "$keep" && cp -r "$work" "$keep" && echo "captures kept in $keep"
  exit 1
}

"$WINE" "$pidview" 2> pidview.log & app=$!
wid=$(timeout 60 xdotool search --sync --name 'PID制御計測データ表示' | head -1) || true
[ -n "$wid" ] || fail "no window within 60 s"
name=$(xdotool getwindowname "$wid")
[ "$name" = "$title" ] || fail "window title is '$name', not '$title'"
echo "ok   window '$name'"

# shows_page NAME: the client area shows the page NAME.bmp from its top-left
# corner, below the menu bar, within 10 s.
shows_page() {
  for _ in $(seq 50); do
    import -window "$wid" "window-$1.png"
    "$pagediff" --window "$1.bmp" "window-$1.png" "$1.cells" > "window-$1.report" && return 0
    sleep 0.2
  done
  return 1
}
shows_page start || fail "the start page is not in the window: $(cat window-start.report)"
echo "ok   the start page: $(cat window-start.report)"

# The File menu opens from its mnemonic as a window of the program's own.
popups() { xdotool search --onlyvisible --class pidview.exe 2>/dev/null | grep -vx "$wid" | wc -l || true; }
before=$(popups)
xdotool windowfocus --sync "$wid"
xdotool key alt+f
opened=no
for _ in $(seq 50); do
  [ "$(popups)" -gt "$before" ] && { opened=yes; break; }
  sleep 0.1
done
[ "$opened" = yes ] || fail "alt+f opens no File menu"
import -window root menu.png
echo "ok   the File menu opens"

# File > Open through the common dialog loads a run and redraws the page.
xdotool key o
# The dialog is the program's other visible window with a title.
dialog=
for _ in $(seq 150); do
  for w in $(xdotool search --onlyvisible --class pidview.exe 2>/dev/null); do
    [ "$w" != "$wid" ] && [ -n "$(xdotool getwindowname "$w" 2>/dev/null)" ] && dialog=$w
  done
  [ -n "$dialog" ] && break
  sleep 0.2
done
[ -n "$dialog" ] || fail "File > Open shows no dialog"
xdotool windowfocus --sync "$dialog"
xdotool type --delay 20 "Z:${run//\//\\}"
xdotool key Return
shows_page run || fail "the opened run's page is not in the window: $(cat window-run.report)"
echo "ok   File > Open: $(cat window-run.report)"

# F5 is File > 再読み込み: with the run gone, the load message comes.
mv "$run" "$run.away"
xdotool windowfocus --sync "$wid"
xdotool key F5
box=$(timeout 20 xdotool search --sync --onlyvisible --name 'データロード' | head -1) || true
[ -n "$box" ] || fail "F5 does not reload the run"
xdotool windowfocus --sync "$box"
xdotool key Return
mv "$run.away" "$run"
echo "ok   F5 reloads"

# File > 印刷: one page reaches the default printer.
open_file_menu() {
  xdotool windowfocus --sync "$wid"
  xdotool key alt+f
  for _ in $(seq 50); do [ "$(popups)" -gt "$before" ] && break; sleep 0.1; done
}
open_file_menu
xdotool key p
for _ in $(seq 150); do [ -n "$(new_pdfs)" ] && wait_jobs_done && break; sleep 0.2; done
[ "$(new_pdfs | wc -l)" = 1 ] && [ "$(pdfinfo "$(new_pdfs)" | sed -n 's/^Pages: *//p')" = 1 ] \
  || fail "File > 印刷 does not print one page on the default printer"
echo "ok   File > 印刷 prints one page on the default printer"

# 応答特性's copy pastes as Japanese though the keyboard is English: the
# text goes with its locale, not the keyboard's.
xdotool windowfocus --sync "$wid"
xdotool key alt+a
for _ in $(seq 50); do [ "$(popups)" -gt "$before" ] && break; sleep 0.1; done
xdotool key r
for _ in $(seq 100); do xdotool search --onlyvisible --name '^応答特性$' >/dev/null 2>&1 && break; sleep 0.1; done
xdotool key alt+c
for _ in $(seq 50); do xclip -selection clipboard -o 2>/dev/null | grep -q . && break; sleep 0.1; done
copied=$(xclip -selection clipboard -o 2>/dev/null || true)
[[ ${copied%%$'\n'*} == $'ファイル\t目標回転数 [rpm]'* ]] \
  || fail "応答特性's copy does not read as Japanese: ${copied%%$'\n'*}"
echo "ok   応答特性's copy pastes as Japanese text"
xdotool key Escape

# 調整の提案's cursor and zoom through the real API: the pointer over the
# plot draws the cursor and it goes with the pointer; a wheel notch zooms and
# a double click gives the chart back; Esc closes the window.
xdotool windowfocus --sync "$wid"
xdotool key alt+a
for _ in $(seq 50); do [ "$(popups)" -gt "$before" ] && break; sleep 0.1; done
xdotool key t
tune=$(timeout 60 xdotool search --sync --onlyvisible --name '^調整の提案 - ' | head -1) || true
[ -n "$tune" ] || fail "解析 > 調整の提案 opens no window"
eval "$(xdotool getwindowgeometry --shell "$tune")"
cx=$X cy=$((Y + HEIGHT - 496))
# shot NAME: the tuning window's client area; settles NAME REFERENCE SAME:
# within 10 s the area equals (SAME yes) or differs from the reference.
shot() { import -window "$tune" "$1.png"; convert "$1.png" -crop "794x496+0+$((HEIGHT - 496))" +repage "$1.png"; }
settles() {
  for _ in $(seq 50); do
    shot "$1"
    [ "$(compare -metric AE "$1.png" "$2.png" null: 2>&1 || true)" = 0 ] && [ "$3" = yes ] && return 0
    [ "$(compare -metric AE "$1.png" "$2.png" null: 2>&1 || true)" != 0 ] && [ "$3" = no ] && return 0
    sleep 0.2
  done
  return 1
}
xdotool mousemove $((cx + 700)) $((cy + 450))
sleep 1
shot tune-plain
xdotool mousemove $((cx + 300)) $((cy + 150))
settles tune-cursor tune-plain no || fail "the pointer over the tuning chart draws no cursor"
xdotool mousemove $((cx + 700)) $((cy + 450))
settles tune-left tune-plain yes || fail "the cursor stays when the pointer leaves the plot"
echo "ok   the tuning chart's cursor follows the pointer"
xdotool mousemove $((cx + 50)) $((cy + 150)) sleep 0.3 click 4 sleep 0.3 mousemove $((cx + 700)) $((cy + 450))
settles tune-zoomed tune-plain no || fail "a wheel notch does not zoom the tuning chart"
xdotool mousemove $((cx + 300)) $((cy + 150)) sleep 0.3 click --repeat 2 --delay 80 1 sleep 0.3 \
  mousemove $((cx + 700)) $((cy + 450))
settles tune-back tune-plain yes || fail "a double click does not give the tuning chart back"
echo "ok   a wheel notch zooms the tuning chart, a double click gives it back"
xdotool windowfocus --sync "$tune"
xdotool key Escape
for _ in $(seq 50); do xdotool search --onlyvisible --name '^調整の提案 - ' >/dev/null 2>&1 || break; sleep 0.2; done
xdotool search --onlyvisible --name '^調整の提案 - ' >/dev/null 2>&1 && fail "Esc does not close the tuning window"
echo "ok   Esc closes the tuning window"

open_file_menu
xdotool key x
status=timeout
for _ in $(seq 150); do
  if ! kill -0 "$app" 2>/dev/null; then
    status=0
    wait "$app" || status=$?
    break
  fi
  sleep 0.2
done
[ "$status" = 0 ] || fail "File > Exit: exit status $status"
echo "ok   File > Exit ends it with status 0"

mkdir "$work/run dir"
cp "$run" "$work/run dir/"
"$WINE" "$pidview" "Z:${work//\//\\}\\run dir\\P_ONLY.PID" 2>> pidview.log & app=$!
wid=$(timeout 60 xdotool search --sync --name '^P_ONLY\.PID - ' | head -1) || true
[ -n "$wid" ] && [ "$(xdotool getwindowname "$wid")" = "P_ONLY.PID - $title" ] \
  || fail "a run named on the command line does not name the window"
shows_page run || fail "the run named on the command line is not shown: $(cat window-run.report)"
echo "ok   a run named on the command line: $(cat window-run.report)"
kill "$app" 2>/dev/null || true
