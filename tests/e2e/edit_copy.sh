#!/usr/bin/env bash
# Edit > ページをコピー and データのコピー through the real window: the picture
# read back from the clipboard is pidpage's page pixel for pixel, and the
# text is a header line and a tab-separated row per sample slot.
# Usage: edit_copy.sh PIDVIEW PIDPAGE EXAMPLES_DIR
set -euo pipefail
pidview=$1 pidpage=$2 examples=$3
here=$(cd "$(dirname "$0")" && pwd)
source "$here/viewer.sh"
begin_desktop_test

edit_menu() {
  xdotool windowfocus --sync "$wid"
  xdotool key alt+e
  sleep 0.3
  xdotool key "$1"
  sleep 0.5
}

start_viewer "$examples/P_ONLY.PID"
edit_menu c
xclip -selection clipboard -t image/png -o > "$work/copied.png"
"$pidpage" "$examples/P_ONLY.PID" "$work/page.png"
[ "$(identify -format '%wx%h' "$work/copied.png")" = 800x540 ] \
  && [ "$(differing_pixels "$work/copied.png" "$work/page.png")" = 0 ] \
  && pass "the copied page is pidpage's page" || fail "the copied page differs from pidpage's"

edit_menu d
xclip -selection clipboard -o > "$work/copied.txt"
[ "$(sed -n '1,2p;$p' "$work/copied.txt" | paste -sd'|')" = \
  $'時刻 [s]\t回転数 [rpm]\t目標回転数 [rpm]\r|0.00\t0\t4500\r|12.75\t3200\t4500\r' ] \
  && [ "$(wc -l < "$work/copied.txt")" = 257 ] \
  && pass "the copied data: a header and a row a slot" || fail "the copied data: $(head -2 "$work/copied.txt")"

[ "$failures" = 0 ] || { echo "$failures failure(s)"; exit 1; }
