# Sourced by the desktop tests: drives the real viewer with the keyboard as a
# person would, compares its page with pidpage's, and counts the checks that
# pass and fail. Needs $pidview, $pidpage and a scratch folder $work.
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

# Starts the viewer, waits for its window ($wid) and gives it the focus.
start_viewer() {
  "$pidview" & app=$!
  wid=$(timeout 20 xdotool search --sync --name 'Ver1\.00' | head -1)
  [ -n "$wid" ] || { echo "no viewer window" >&2; exit 1; }
  xdotool windowfocus --sync "$wid"
}

window_count() {
  xdotool search --onlyvisible --name "$1" 2>/dev/null | wc -l
}

# Waits up to 5 s until the count of visible windows named $2 passes the
# test $1 (e.g. "-ge 1").
wait_for_count() {
  for _ in $(seq 100); do
    [ "$(window_count "$2")" $1 ] && return 0
    sleep 0.05
  done
  return 1
}
wait_for_window() { wait_for_count "-ge 1" "$1"; }
wait_for_no_window() { wait_for_count "-eq 0" "$1"; }

# File > Open, then the path typed into the dialog (or the name it offers).
open_file() {
  xdotool windowfocus --sync "$wid"
  xdotool key alt+f
  sleep 0.3
  xdotool key o
  wait_for_window 'Open|開く' || { fail "no open dialog"; return; }
  sleep 0.3
  if [ -n "${1:-}" ]; then
    xdotool key ctrl+a
    xdotool type --delay 10 "$1"
  fi
  xdotool key Return
}

# The client area: the bottom 794 x 496 pixels of the Qt window.
client_shot() {
  local out=$1 height
  import -window "$wid" "$work/window.png"
  height=$(identify -format '%h' "$work/window.png")
  convert "$work/window.png" -crop "794x496+0+$((height - 496))" +repage "$out"
}

differing_pixels() {
  compare -metric AE "$1" "$2" null: 2>&1 || true
}

# pidpage's page for a file (or the start values), cut to the client area.
expected_page() {
  local out=$1; shift
  "$pidpage" "$@" "$work/page.png"
  convert "$work/page.png" -crop 794x496+0+0 +repage "$out"
}

# Waits until the client area equals the expected picture; prints the last count.
wait_for_page() {
  local expected=$1 count
  for _ in $(seq 40); do
    client_shot "$work/shot.png"
    count=$(differing_pixels "$work/shot.png" "$expected")
    [ "$count" = 0 ] && { echo 0; return; }
    sleep 0.1
  done
  echo "$count"
}
