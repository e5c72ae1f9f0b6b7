#!/usr/bin/env bash
# Odd choices in the real Open dialog, typed as a person would: a folder, a
# character device (by its own name and through a .PID link), a 4 GiB sparse
# file, a name with Japanese characters, spaces and quotes, and a path longer
# than 259 bytes. Each gives its page or its message, and the window answers.
# Folders, /proc among them, are listed without reading their files.
# Usage: hostile_files.sh PIDVIEW PIDPAGE EXAMPLES_DIR
set -euo pipefail
pidview=$1 pidpage=$2 examples=$3
here=$(cd "$(dirname "$0")" && pwd)
source "$here/viewer.sh"
begin_desktop_test

same_picture() { [ "$(differing_pixels "$1" "$2")" = 0 ]; }

# The page must be $1's; $2 says after what. A dialog left open by a
# failure is closed, so the next case starts clean.
expect_page() {
  if [ "$(wait_for_page "$1")" = 0 ]; then
    pass "$2"
  else
    fail "$2 (page differs)"
    close_open_dialog || true
  fi
}

# A message box must come, look like $1, and leave the page as $2.
expect_message() {
  local reference=$1 page=$2 what=$3
  if answer_message_box "$work/box.png"; then
    same_picture "$work/box.png" "$reference" && pass "$what: its message" || fail "$what: another message"
  else
    fail "$what: no message"
  fi
  expect_page "$page" "$what: page unchanged"
}

cp "$examples/PID_FAST.PID" "$work/fast.PID"
expected_page "$work/fast.png" "$work/fast.PID"
printf 'X%.0s' $(seq 416) > "$work/bad.PID"
mkfifo "$work/pipe.PID"

start_viewer
open_file "$work/fast.PID"
expect_page "$work/fast.png" "a good file"

# The two messages, as references for the cases below.
open_file "$work/bad.PID"
answer_message_box "$work/format_box.png" || fail "no format message"
open_file "$work/pipe.PID"
answer_message_box "$work/cannot_open_box.png" || fail "no cannot-open message"
same_picture "$work/format_box.png" "$work/cannot_open_box.png" && fail "the two messages look the same"

# A folder's name: the dialog goes into the folder and stays open.
mkdir "$work/runs.PID"
open_file "$work/runs.PID"
sleep 0.5
[ "$(window_count 'Open|開く')" = 1 ] && pass "a folder's name opens the folder in the dialog" \
  || fail "the dialog closed on a folder's name"
[ "$(window_count 'データロード')" = 0 ] || fail "a message for a folder's name"
close_open_dialog || fail "Escape does not close the dialog"
expect_page "$work/fast.png" "a folder's name: page unchanged"

# Character devices, which must be neither read for ever nor taken as data.
open_file /dev/zero
expect_message "$work/cannot_open_box.png" "$work/fast.png" "/dev/zero typed"
ln -s /dev/urandom "$work/random.PID"
open_file "$work/random.PID"
expect_message "$work/cannot_open_box.png" "$work/fast.png" "a .PID link to /dev/urandom"

# A 4 GiB sparse file: only its first 416 bytes are read.
cp "$examples/PID_SLOW.PID" "$work/huge.PID"
truncate -s 4G "$work/huge.PID"
expected_page "$work/slow.png" "$examples/PID_SLOW.PID"
open_file "$work/huge.PID"
expect_page "$work/slow.png" "a 4 GiB sparse file loads its first 416 bytes"

# Japanese characters, spaces and both quotes in the name.
odd="$work/測定 \"速度\" 'テスト' 1.PID"
cp "$examples/PI_STEP.PID" "$odd"
expected_page "$work/step.png" "$examples/PI_STEP.PID"
open_file "$odd"
expect_page "$work/step.png" "a name with Japanese characters, spaces and quotes"

# A path longer than 259 bytes.
deep="$work/$(printf 'a%.0s' $(seq 120))/$(printf 'b%.0s' $(seq 120))/long.PID"
mkdir -p "$(dirname "$deep")"
cp "$examples/P_ONLY.PID" "$deep"
expected_page "$work/ponly.png" "$deep"
open_file "$deep"
expect_page "$work/ponly.png" "a path of ${#deep} bytes"

# Folders are listed, never read: a file whose name tells no type (its
# access time stays old), a FIFO, and /proc (whose kmsg may wait for ever).
mkdir "$work/listing"
echo run >"$work/listing/run"
touch -a -d @978307200 "$work/listing/run"
mkfifo "$work/listing/pipe"
for folder in "$work/listing" /proc; do
  open_file "$folder/"
  sleep 2
  close_open_dialog && pass "$folder listed: the dialog answers" || fail "$folder listed: the dialog hangs"
done
[ "$(stat -c %X "$work/listing/run")" = 978307200 ] && pass "listing a folder reads none of its files" \
  || fail "listing a folder read a file in it"

expect_answering "after every odd file"
kill -0 "$app" && pass "the viewer is still running" || fail "the viewer has gone"

[ "$failures" = 0 ] || { echo "$failures failure(s)"; exit 1; }
