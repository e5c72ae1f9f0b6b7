#!/usr/bin/env bash
# File > 再読み込み (and F5) and 自動更新 through the real window. Reload
# reads the file on screen again and, when it has gone, says so and keeps the page.
# With 自動更新 on, a run rewritten in place (not truncated, the writer
# keeping it open through a pause of 0.9 s) and a new run in the folder
# (written in two halves) show their page, never a half-written one or a
# message; a file that is no run is left alone without a message; turned
# off, the page stays. In a folder that gives no change notifications (a
# network one), a new run is shown, and the folder's going is said. How
# soon is printed, and measured against its goal by bench/follow_load.sh:
# a loaded machine may be slow, not wrong.
# Usage: follow_file.sh PIDVIEW PIDPAGE EXAMPLES_DIR
set -euo pipefail
pidview=$1 pidpage=$2 examples=$3
here=$(cd "$(dirname "$0")" && pwd)
source "$here/viewer.sh"
begin_desktop_test

mkdir "$work/bench"
run=$work/bench/RUN.PID
cp "$examples/PID_FAST.PID" "$run"
for name in PID_FAST PID_SLOW P_ONLY; do expected_page "$work/$name.png" "$examples/$name.PID"; done

file_menu() {
  xdotool windowfocus --sync "$wid"
  xdotool key alt+f
  sleep 0.3
  xdotool key "$1"
}
shows() { [ "$(wait_for_page "$work/$1.png")" = 0 ]; }
# The page is $1 now, and no message box has come.
still_shows() {
  client_shot "$work/shot.png"
  [ "$(differing_pixels "$work/shot.png" "$work/$1.png")" = 0 ] && [ "$(window_count 'データロード')" = 0 ]
}
# write_in_halves SOURCE DEST OLD: the first half, a look while it rests
# there, then the rest; "late" is how long after the last write the page
# came (or "never").
write_in_halves() {
  head -c 208 "$1" > "$2"
  sleep 0.8
  still_shows "$3" && halfway=ok || halfway=bad
  tail -c +209 "$1" >> "$2"
}
# rewrite_in_place SOURCE DEST OLD: the first half over the old run, the
# file kept open (as a controller keeps it) through a pause and a look,
# then the rest, and the close.
rewrite_in_place() {
  exec 3<>"$2"
  dd if="$1" of="$2" bs=208 count=1 conv=notrunc status=none
  sleep 0.9
  still_shows "$3" && halfway=ok || halfway=bad
  dd if="$1" of="$2" bs=208 skip=1 seek=1 conv=notrunc status=none
  exec 3>&-
}
# shows_soon NAME: waits up to 20 s for the page; "late" is how long it took.
shows_soon() {
  local start=$(date +%s%N) count=
  while [ $(( $(date +%s%N) - start )) -lt 20000000000 ]; do
    client_shot "$work/shot.png"
    count=$(differing_pixels "$work/shot.png" "$work/$1.png")
    [ "$count" = 0 ] && break
  done
  late=$(( ($(date +%s%N) - start) / 1000000 ))
  [ "$count" = 0 ]
}

start_viewer "$run"
shows PID_FAST || fail "the command line's file is not on screen"

# Reload: the file again; gone, the message and the page kept.
cp "$examples/PID_SLOW.PID" "$run"
file_menu r
shows PID_SLOW && pass "Reload shows the file as it is now" || fail "Reload did not read the file again"
# F5 is the same command.
cp "$examples/P_ONLY.PID" "$run"
xdotool key F5
shows P_ONLY && pass "F5 reloads" || fail "F5 did not reload"
cp "$examples/PID_SLOW.PID" "$run"
xdotool key F5
shows PID_SLOW || fail "F5 did not reload the second time"
rm "$run"
file_menu r
answer_message_box "$work/gone.png" && pass "Reload of a file that has gone says so" || fail "no message for a file that has gone"
shows PID_SLOW && pass "the page is kept" || fail "the page changed after a failed Reload"

# 自動更新: the same file rewritten in place, then a new run beside it.
cp "$examples/PID_FAST.PID" "$run"
file_menu r
shows PID_FAST || fail "Reload did not bring the run back"
file_menu u
sleep 0.5
rewrite_in_place "$examples/PID_SLOW.PID" "$run" PID_FAST
[ "$halfway" = ok ] && pass "half a rewrite in place: the page and no message" || fail "half a rewrite in place changed the page or brought a message"
shows_soon PID_SLOW && pass "the rewritten run is shown ${late} ms after its writer's close" \
  || fail "the rewritten run is not shown"

write_in_halves "$examples/P_ONLY.PID" "$work/bench/NEXT.PID" PID_SLOW
[ "$halfway" = ok ] && pass "half a new run: the page and no message" || fail "half a new run changed the page or brought a message"
shows_soon P_ONLY && pass "the new run is shown ${late} ms after its last write" \
  || fail "the new run is not shown"
case "$(xdotool getwindowname "$wid")" in
NEXT.PID\ -*) pass "the title names the new run" ;;
*) fail "the title is '$(xdotool getwindowname "$wid")'" ;;
esac

printf 'X%.0s' $(seq 416) > "$work/bench/NOTES.PID"
sleep 1.5
still_shows P_ONLY && pass "a file that is no run is left alone, without a message" || fail "a file that is no run changed the page or brought a message"

# Off: a rewrite no longer shows.
file_menu u
sleep 0.5
cp "$examples/PID_FAST.PID" "$work/bench/NEXT.PID"
sleep 1.5
still_shows P_ONLY && pass "turned off, the page stays" || fail "the page followed the file after 自動更新 was turned off"

# A folder whose changes are not notified: the listing is looked at.
kill "$app"; wait "$app" 2>/dev/null || true
export PIDVIEW_REMOTE_FOLDERS=1
start_viewer "$work/bench/NEXT.PID"
shows PID_FAST || fail "NEXT.PID is not on screen"
file_menu u
sleep 0.5
cp "$examples/PID_SLOW.PID" "$work/bench/LAST.tmp" && mv "$work/bench/LAST.tmp" "$work/bench/LAST.PID"
shows_soon PID_SLOW && pass "without notifications, a new run is shown ${late} ms after its write" \
  || fail "without notifications, the new run is not shown"
rm -r "$work/bench"
if wait_for_window '^自動更新$'; then
  pass "the folder's going is said"
  xdotool windowfocus --sync "$(xdotool search --onlyvisible --name '^自動更新$' | head -1)"
  xdotool key Return
  wait_for_no_window '^自動更新$' || fail "the message box stays open"
else
  fail "nothing says the folder has gone"
fi

[ "$failures" = 0 ] || { echo "$failures failure(s)"; exit 1; }
