# Sourced by the desktop tests: drives the real viewer with the keyboard as a
# person would, compares its page with pidpage's, and counts the checks that
# pass and fail. Needs $pidview and $pidpage.
source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }
# Qt names its Open dialog in the user's language.
open_dialog='Open|開く|Öffnen'

# A scratch folder $work (Qt's home too) and a private Xvfb; on exit the
# viewer and the server stop and the folder goes.
begin_desktop_test() {
  work=$(mktemp -d)
  export HOME=$work XDG_RUNTIME_DIR=$work
  start_xvfb
  trap end_desktop_test EXIT
}
end_desktop_test() {
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null
  stop_xvfb
  rm -rf "$work"
}

# The same for a test that prints (cups.sh sourced first): a private CUPS
# scheduler whose default is the CUPS-PDF queue "PDF"; on exit it stops too.
begin_print_test() {
  work=$(mktemp -d)
  trap end_print_test EXIT
  start_cups
  start_xvfb
  trap end_print_test EXIT
  export XDG_RUNTIME_DIR=$work
  chmod 700 "$work"
  add_pdf_queue PDF
  set_default PDF
}
end_print_test() {
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null
  stop_cups
  stop_xvfb
  rm -rf "$work"
}

# Starts the viewer (with the arguments given), waits for its window ($wid)
# and gives it the focus.
start_viewer() {
  "$pidview" "$@" & app=$!
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

# The window still takes commands: the About box opens and closes.
expect_answering() {
  xdotool windowfocus --sync "$wid"
  xdotool key alt+h
  sleep 0.3
  xdotool key a
  if wait_for_window 'ZARVEN'; then
    xdotool key Return
    wait_for_no_window 'ZARVEN' && pass "$1: the window answers" || fail "$1: About box stays"
  else
    fail "$1: the window does not answer"
  fi
}

# Closes an Open dialog left open: the first Escape may only close the name
# completion list.
close_open_dialog() {
  for _ in 1 2 3; do
    [ "$(window_count "$open_dialog")" = 0 ] && return 0
    xdotool key Escape
    sleep 0.3
  done
  [ "$(window_count "$open_dialog")" = 0 ]
}

# File > Open, then the path typed into the dialog (or the name it offers).
# A path with characters the keyboard map lacks is pasted instead: xdotool
# types them by mapping a spare key for a moment, and a busy viewer reads
# the key after the mapping has gone (the name then loses them).
open_file() {
  xdotool windowfocus --sync "$wid"
  xdotool key alt+f
  sleep 0.3
  xdotool key o
  wait_for_window "$open_dialog" || { fail "no open dialog"; return; }
  # Without a window manager the dialog is not sure to take the keys itself.
  xdotool windowfocus --sync "$(xdotool search --onlyvisible --name "$open_dialog" | head -1)"
  sleep 0.3
  if LC_ALL=C grep -q '[^ -~]' <<<"${1:-}"; then
    printf %s "$1" | xclip -selection clipboard -i
    xdotool key ctrl+a ctrl+v
  elif [ -n "${1:-}" ]; then
    xdotool key ctrl+a
    xdotool type --delay 10 "$1"
  fi
  xdotool key Return
}

# The client area: the bottom 794 x 496 pixels of the Qt window (the main
# one, or the window $2).
client_shot() {
  local out=$1 height
  import -window "${2:-$wid}" "$work/window.png"
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

# Waits until the client area (of the main window, or of the window $2)
# equals the expected picture; prints the last count.
wait_for_page() {
  local expected=$1 count
  for _ in $(seq 40); do
    client_shot "$work/shot.png" "${2:-$wid}"
    count=$(differing_pixels "$work/shot.png" "$expected")
    [ "$count" = 0 ] && { echo 0; return; }
    sleep 0.1
  done
  echo "$count"
}

# Waits for the load message box, counts the boxes ($boxes), takes its
# picture and closes it with Enter; fails when none comes.
answer_message_box() {
  local box
  wait_for_window 'データロード' || return 1
  sleep 0.3
  boxes=$(window_count 'データロード')
  box=$(xdotool search --onlyvisible --name 'データロード' | head -1)
  import -window "$box" "$1"
  # A box that came up as the viewer started may be behind its focus.
  xdotool windowfocus --sync "$box"
  xdotool key Return
  wait_for_no_window 'データロード' || fail "message box stays open"
}
