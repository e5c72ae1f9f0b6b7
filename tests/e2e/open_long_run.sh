#!/usr/bin/env bash
# A hundred Open commands through the real window and dialog: afterwards the
# viewer holds no more drawing objects or file descriptors than after the
# first, and its resident memory has grown by no more than the margin.
# Usage: open_long_run.sh PIDVIEW PIDPAGE EXAMPLES_DIR
set -euo pipefail
pidview=$1 pidpage=$2 examples=$3
here=$(cd "$(dirname "$0")" && pwd)
source "$here/viewer.sh"
begin_desktop_test

opens=100
# Qt's dialog keeps caches (icons, the folder model) that settle over the
# first dialogs, and the allocator with them; the rest must hold steady.
settle=20
margin_kib=1024

names=()
for file in "$examples"/*.PID; do
  names+=("$work/$(basename "$file")")
  cp "$file" "$work/"
done

# The layer writes one "resources ..." line to stderr after each command.
export PIDVIEW_REPORT_RESOURCES=1
pidview_real=$pidview
pidview=$work/run_viewer
printf '#!/bin/sh\nexec "%s" 2>>"%s"\n' "$pidview_real" "$work/report" > "$pidview"
chmod +x "$pidview"
: > "$work/report"
start_viewer

reports() { grep -c '^resources ' "$work/report" || true; }
# open_file with shorter pauses: the menu needs less time than a person.
quick_open() {
  xdotool key alt+f
  sleep 0.1
  xdotool key o
  wait_for_window 'Open|開く' || { fail "no open dialog"; return; }
  xdotool key ctrl+a
  xdotool type --delay 2 "$1"
  xdotool key Return
}
for i in $(seq "$opens"); do
  quick_open "${names[$(( (i - 1) % ${#names[@]} ))]}"
  for _ in $(seq 100); do
    [ "$(reports)" -ge "$i" ] && break
    sleep 0.05
  done
  [ "$(reports)" -ge "$i" ] || { fail "Open $i did not finish"; break; }
done

last=${names[$(( (opens - 1) % ${#names[@]} ))]}
expected_page "$work/last.png" "$last"
[ "$(wait_for_page "$work/last.png")" = 0 ] && pass "the page is the last file's" || fail "the page is not the last file's"

field() { sed -n "${1}p" "$work/report" | grep -o "$2=[0-9]*" | cut -d= -f2; }
first=$settle
echo "after Open $first: $(sed -n "${first}p" "$work/report")"
echo "after Open $opens: $(sed -n "${opens}p" "$work/report")"
for name in pens brushes bitmaps contexts fds; do
  [ "$(field "$opens" "$name")" = "$(field "$first" "$name")" ] && pass "$name steady over $opens Opens" \
    || fail "$name grew from $(field "$first" "$name") to $(field "$opens" "$name")"
done
growth=$(( $(field "$opens" rss_kib) - $(field "$first" rss_kib) ))
[ "$growth" -le "$margin_kib" ] && pass "resident memory grew by $growth KiB (margin $margin_kib)" \
  || fail "resident memory grew by $growth KiB (margin $margin_kib)"

[ "$failures" = 0 ] || { echo "$failures failure(s)"; exit 1; }
