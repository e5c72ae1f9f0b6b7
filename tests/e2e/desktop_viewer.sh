#!/usr/bin/env bash
# The viewer under Xvfb, driven with the keyboard: first paint, Open of a good
# file, of a wrong-format file and of one that cannot be opened, the next
# dialog's preselected path, the About box, and the two ways out (File > Exit,
# the close box).
# Usage: desktop_viewer.sh PIDVIEW PIDPAGE EXAMPLES_DIR
set -euo pipefail
pidview=$1 pidpage=$2 examples=$3
here=$(cd "$(dirname "$0")" && pwd)
source "$here/viewer.sh"
begin_desktop_test

cp "$examples/PID_FAST.PID" "$work/fast.PID"
printf 'X%.0s' $(seq 416) > "$work/bad.PID"

# Start-up: the first paint is the page of the start values.
start_viewer
expected_page "$work/start.png"
[ "$(wait_for_page "$work/start.png")" = 0 ] && pass "first paint equals pidpage's start page" \
  || fail "first paint differs from pidpage ($(differing_pixels "$work/shot.png" "$work/start.png") pixels)"
cp "$work/shot.png" "$work/first_paint.png"

# Open a good file: redrawn at once.
open_file "$work/fast.PID"
expected_page "$work/fast.png" "$work/fast.PID"
[ "$(wait_for_page "$work/fast.png")" = 0 ] && pass "Open redraws the page of the file" \
  || fail "page after Open differs ($(differing_pixels "$work/shot.png" "$work/fast.png") pixels)"
cp "$work/shot.png" "$work/after_open.png"

# A wrong-format file: the format message once, the page unchanged.
open_file "$work/bad.PID"
if answer_message_box "$work/message.png"; then
  [ "$boxes" = 1 ] && pass "format message shown once" || fail "more than one message box"
else
  fail "no format message"
fi
[ "$(wait_for_page "$work/fast.png")" = 0 ] && pass "page unchanged after a wrong-format file" \
  || fail "page changed after a wrong-format file"

# The next dialog starts on the previous path: accepting it at once opens
# the wrong-format file again.
open_file ""
if wait_for_window 'データロード'; then
  pass "next Open dialog starts on the previous path"
  xdotool key Return
  wait_for_no_window 'データロード' || true
else
  fail "next Open dialog did not start on the previous path"
fi

# A file that cannot be opened (a FIFO, which must not hang the load): a
# message of its own, not the format message, and the page unchanged.
mkfifo "$work/pipe.PID"
open_file "$work/pipe.PID"
if answer_message_box "$work/cannot_open.png"; then
  [ "$(differing_pixels "$work/cannot_open.png" "$work/message.png")" != 0 ] \
    && pass "a file that cannot be opened has its own message" \
    || fail "a file that cannot be opened shows the format message"
else
  fail "no message for a file that cannot be opened"
fi
[ "$(wait_for_page "$work/fast.png")" = 0 ] && pass "page unchanged after a file that cannot be opened" \
  || fail "page changed after a file that cannot be opened"

# About: Escape leaves it open, Enter closes it.
xdotool windowfocus --sync "$wid"
xdotool key alt+h
sleep 0.3
xdotool key a
if wait_for_window 'ZARVEN'; then
  about=$(xdotool search --onlyvisible --name 'ZARVEN' | head -1)
  sleep 0.3
  import -window "$about" "$work/about.png"
  xdotool key Escape
  sleep 0.5
  [ "$(window_count 'ZARVEN')" = 1 ] && pass "Escape leaves the About box open" || fail "Escape closed the About box"
  xdotool key Return
  wait_for_no_window 'ZARVEN' && pass "Enter closes the About box" || fail "Enter did not close the About box"
else
  fail "no About box"
fi

# File > Exit ends the process with status 0.
xdotool windowfocus --sync "$wid"
xdotool key alt+f
sleep 0.3
xdotool key x
status=0
timeout 10 tail --pid="$app" -f /dev/null || true
wait "$app" || status=$?
app=
[ "$status" = 0 ] && pass "File > Exit ends with status 0" || fail "File > Exit ended with status $status"

# The close box ends the process with status 0.
start_viewer
python3 "$here/x11_close.py" "$wid"
status=0
timeout 10 tail --pid="$app" -f /dev/null || true
wait "$app" || status=$?
app=
[ "$status" = 0 ] && pass "the close box ends with status 0" || fail "the close box ended with status $status"

if [ -n "${PIDVIEW_E2E_SHOTS:-}" ]; then
  mkdir -p "$PIDVIEW_E2E_SHOTS"
  cp "$work"/{first_paint,after_open,message,cannot_open,about}.png "$PIDVIEW_E2E_SHOTS"/ 2>/dev/null || true
fi
[ "$failures" = 0 ] || { echo "$failures failure(s)"; exit 1; }
