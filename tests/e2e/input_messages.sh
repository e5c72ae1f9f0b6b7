#!/usr/bin/env bash
# The pointer and the keys through a real X server: a window that prints its
# input messages is moved over, clicked, double-clicked, wheeled, dragged out
# of and typed at with xdotool, and gets the messages Windows would give it;
# the menu's mnemonics still open the menu, and Alt+F4 closes the window.
# Usage: input_messages.sh INPUT_PROBE
set -euo pipefail
probe=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/viewer.sh"
begin_desktop_test
log=$work/log

"$probe" > "$log" & app=$!
wid=$(timeout 20 xdotool search --sync --onlyvisible --name 'input probe' | head -1)
xdotool windowfocus --sync "$wid"
eval "$(xdotool getwindowgeometry --shell "$wid")"
# The probe's client area, 294 x 156 (300 x 200 less the frame, caption and
# menu bar), is the bottom of its Qt window.
cx=$X cy=$((Y + HEIGHT - 156))

mark() { mark_at=$(wc -l < "$log"); }
since_mark() { tail -n +$((mark_at + 1)) "$log"; }
# expect WHAT LINE...: the lines printed since the mark start with these, in
# this order (others may come between), within 10 s.
expect() {
  local what=$1; shift
  for _ in $(seq 100); do
    if since_mark | awk -v want="$(printf '%s\n' "$@")" \
        'BEGIN { n = split(want, w, "\n") - 1; i = 1 } i <= n && index($0, w[i]) == 1 { i++ } END { exit i <= n }'
    then pass "$what"; return; fi
    sleep 0.1
  done
  fail "$what"; since_mark | sed 's/^/  got: /'
}

mark; xdotool mousemove $((cx + 40)) $((cy + 30))
expect "a move in client coordinates" "WM_MOUSEMOVE 0 40 30"
mark; xdotool click 1; sleep 0.7 # the next click is no second one
expect "a click: down with MK_LBUTTON, up" "WM_LBUTTONDOWN 1 40 30" "WM_LBUTTONUP 0 40 30"
mark; xdotool click --repeat 2 --delay 80 1
expect "a double click: down, up, double click, up" \
  "WM_LBUTTONDOWN 1 40 30" "WM_LBUTTONUP 0" "WM_LBUTTONDBLCLK 1 40 30" "WM_LBUTTONUP 0"
mark; xdotool click 4 click 5 click 7
expect "the wheel: 120 a notch each way, at screen coordinates; tilted, to the right" \
  "WM_MOUSEWHEEL $((120 << 16)) $((cx + 40)) $((cy + 30))" "WM_MOUSEWHEEL $(((65536 - 120) << 16)) $((cx + 40))" \
  "WM_MOUSEHWHEEL $((120 << 16))"
mark; xdotool keydown ctrl click 1 keyup ctrl
expect "Ctrl+click: MK_CONTROL, and Ctrl down by GetKeyState" "WM_LBUTTONDOWN 9 40 30 ctrl=1"

# Key lines: the virtual key, then lParam's halves: the repeat count, and the
# scan code with the extended-key flag (0x100).
mark; xdotool key shift+Left
expect "Shift+Left: the shift, then VK_LEFT (extended) with Shift down" \
  "WM_KEYDOWN 16 1 42" "WM_KEYDOWN 37 1 331 ctrl=0 shift=1" "WM_KEYUP 37 1 -16053"
mark; xdotool key F5 Escape KP_Add a
expect "F5, Esc, keypad +, A and their characters" \
  "WM_KEYDOWN 116" "WM_KEYDOWN 27" "WM_CHAR 27" "WM_KEYDOWN 107" "WM_CHAR 43" "WM_KEYDOWN 65" "WM_CHAR 97"
mark; xdotool key alt+f; sleep 0.3; xdotool key o
expect "Alt+F opens the menu, O chooses its first item" "WM_COMMAND 101 0 0"
since_mark | grep -q '^WM_SYSKEYDOWN 70' && fail "the mnemonic's F reached the window too"

# The pointer moves in first, so that the probe asks for its leave again.
mark; xdotool mousemove $((cx + 45)) $((cy + 30)) sleep 0.2 mousedown 1 mousemove $((cx - 20)) $((cy + 30)) mouseup 1
expect "a drag out under capture: moves at negative x, the leave after the release" \
  "WM_LBUTTONDOWN 1" "WM_MOUSEMOVE 1 -20 30" "WM_LBUTTONUP 0 -20 30" "WM_MOUSELEAVE"
mark; xdotool mousemove $((cx + 50)) $((cy + 50)) sleep 0.2 mousemove 1000 900
expect "in again and out: one leave" "WM_MOUSEMOVE 0 50 50" "WM_MOUSELEAVE"

xdotool key alt+F4
if timeout 5 tail --pid="$app" -f /dev/null; then pass "Alt+F4 closes the window"; app=; else fail "Alt+F4 left the window open"; fi

[ "$failures" = 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "all input checks passed"
