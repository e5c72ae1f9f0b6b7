#!/usr/bin/env bash
# pidpage's outcomes: 0 and a PNG for a run or the start values; 1, one line
# on standard error and no file for a bad run or an output it cannot write;
# 2 for a wrong command line or an output that would take a run's place;
# where the picture goes (a pipe, a link, an existing file); --help and
# --version answer on standard output.
# --compare: 0 for good runs; 1 with a line per file left out, the chart of
# the rest written, and none when no run is left; 2 for no output, no run or
# more than eight.
# Usage: pidpage_cli.sh PIDPAGE EXAMPLES_DIR
set -uo pipefail
pidpage=$1 examples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0 passes=0
check() { # check DESCRIPTION -- COMMAND...: passes when the command does
  local what=$1; shift 2
  if "$@"; then echo "ok: $what"; passes=$((passes + 1)); else echo "FAIL: $what"; failures=$((failures + 1)); fi
}
expect() { # expect STATUS DESCRIPTION -- COMMAND...
  local want=$1 what=$2; shift 3
  "$@" 2>"$work/err"
  local got=$?
  if [ "$got" != "$want" ]; then
    echo "FAIL: $what: status $got, not $want"; failures=$((failures + 1))
  elif [ "$want" != 0 ] && [ "$(wc -l <"$work/err")" != 1 ]; then
    echo "FAIL: $what: not one line on standard error"; failures=$((failures + 1))
  else
    echo "ok: $what"; passes=$((passes + 1))
  fi
}

expect 0 "start values" -- "$pidpage" "$work/start.png"
expect 0 "an example run" -- "$pidpage" "$examples/PI_STEP.PID" "$work/run.png"
[ "$(identify -format '%m %w %h' "$work/run.png")" = "PNG 800 540" ] \
  && { echo "ok: an 800 x 540 PNG"; passes=$((passes + 1)); } \
  || { echo "FAIL: not an 800 x 540 PNG"; failures=$((failures + 1)); }
touch "$work/plain"
[ "$(stat -c %a "$work/run.png")" = "$(stat -c %a "$work/plain")" ] \
  && { echo "ok: the PNG has the mode of any new file"; passes=$((passes + 1)); } \
  || { echo "FAIL: PNG mode $(stat -c %a "$work/run.png"), not that of a new file"; failures=$((failures + 1)); }

printf 'm' > "$work/bad.PID"; head -c 415 /dev/zero >> "$work/bad.PID"
head -c 200 "$examples/PI_STEP.PID" > "$work/short.PID"
expect 1 "wrong format mark" -- "$pidpage" "$work/bad.PID" "$work/bad.png"
expect 1 "short file" -- "$pidpage" "$work/short.PID" "$work/short.png"
expect 1 "missing file" -- "$pidpage" "$work/none.PID" "$work/none.png"
check "a missing file says why" -- grep -q 'none.PID: cannot open: No such file or directory' "$work/err"
expect 1 "a directory" -- "$pidpage" "$work" "$work/dir.png"
check "a directory says why" -- grep -q 'Is a directory' "$work/err"
expect 1 "output folder missing" -- "$pidpage" "$work/no/such/dir/out.png"
mkdir "$work/folder.png"
expect 1 "output is a directory" -- "$pidpage" "$work/folder.png"

# An output that would take a run's place is refused and the run kept.
cp "$examples/PI_STEP.PID" "$work/t.PID"
ln -s t.PID "$work/t-link.png"; ln "$work/t.PID" "$work/t-hard.png"
expect 2 "the output name forgotten" -- "$pidpage" "$work/t.PID"
expect 2 "a run as output" -- "$pidpage" "$work/t.PID" "$work/t.PID"
expect 2 "any .pid output" -- "$pidpage" "$work/other.pid"
expect 2 "the run under another name" -- "$pidpage" "$work/t.PID" "$work/t-link.png"
expect 2 "the run under a hard link" -- "$pidpage" "$work/t.PID" "$work/t-hard.png"
# Whatever its name: an existing file is replaced only when it is a picture.
cp "$work/t.PID" "$work/run1"; ln -s t.PID "$work/run-link"
expect 2 "a run without a .PID name" -- "$pidpage" "$work/run1"
expect 2 "a link to a run that is no input" -- "$pidpage" "$examples/P_ONLY.PID" "$work/run-link"
check "the runs are unchanged" -- cmp -s "$examples/PI_STEP.PID" "$work/t.PID"
check "the run without a .PID name is unchanged" -- cmp -s "$work/run1" "$work/t.PID"
check "a terminal is refused" -- bash -c 'script -qec "$1 -" /dev/null | grep -q "is a terminal"' _ "$pidpage"
expect 2 "an extension other than .png" -- "$pidpage" "$work/out.jpg"
expect 0 "an extension .PNG" -- "$pidpage" "$work/upper.PNG"

# Where the picture goes: a pipe or device is written straight, so it gets
# the same bytes as a file or its error; a link stays a link to a replaced
# file with the old mode; a long name needs no longer one. The devices are
# reached through links of our own, which a faulty pidpage would replace
# instead of the machine's.
ln -s /dev/stdout "$work/stdout"; ln -s /dev/full "$work/full"
cd "$work"
for name in - "$work/stdout"; do
  check "$(basename -- "$name") writes the PNG to a pipe" -- bash -c '"$1" "$2" "$3" | cmp -s - "$4"' _ \
    "$pidpage" "$examples/PI_STEP.PID" "$name" "$work/run.png"
done
cd - >/dev/null
expect 1 "a full device" -- "$pidpage" "$examples/PI_STEP.PID" "$work/full"
check "a full device says why" -- grep -q "^pidpage: $work/full: cannot write: No space left on device$" "$work/err"
cp "$work/start.png" "$work/kept.png"; chmod 640 "$work/kept.png"; ln -s kept.png "$work/link.png"
expect 0 "through a symbolic link" -- "$pidpage" "$examples/PI_STEP.PID" "$work/link.png"
check "the link stays a link to the new picture, the mode kept" -- \
  test -L "$work/link.png" -a "$(stat -c %a "$work/kept.png")" = 640 -a "$(cmp "$work/kept.png" "$work/run.png" && echo same)" = same
# An existing output it cannot read is not called "not a PNG": it says why.
# (As root any file is readable: the check runs as nobody then.)
chmod 711 "$work"; mkdir -m 777 "$work/locked"; cp "$work/start.png" "$work/locked/secret.png"; chmod 000 "$work/locked/secret.png"
as_user=(); [ "$(id -u)" = 0 ] && { chown 65534 "$work/locked/secret.png"; as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups); }
expect 1 "an output it cannot read" -- "${as_user[@]}" "$pidpage" "$examples/PI_STEP.PID" "$work/locked/secret.png"
check "... says it cannot be read, and why" -- grep -q "secret.png: exists and cannot be read .*: Permission denied$" "$work/err"
long=$(printf 'n%.0s' {1..246}).png
expect 0 "a 250-byte output name" -- "$pidpage" "$work/$long"
expect 2 "no arguments" -- "$pidpage"
expect 2 "too many arguments" -- "$pidpage" a b c
expect 2 "empty output name" -- "$pidpage" ""
expect 2 "an unknown option" -- "$pidpage" -x "$work/x.png"
grep -q 'usage: pidpage' "$work/err" \
  && { echo "ok: an unknown option shows the usage"; passes=$((passes + 1)); } \
  || { echo "FAIL: no usage for an unknown option"; failures=$((failures + 1)); }
cp "$examples/PI_STEP.PID" "$work/-dash.PID"
cd "$work"
expect 0 "a file name after -- may start with a dash" -- "$pidpage" -- -dash.PID -dash.png
cd - >/dev/null

# --help: the usage, what it does and the exit statuses, on standard output.
help=$("$pidpage" --help 2>"$work/err"); status=$?
if [ "$status" = 0 ] && [ ! -s "$work/err" ] && grep -q '^usage: pidpage \[FILE.PID\] OUT.png' <<<"$help" \
   && grep -q 'Exit status' <<<"$help"; then
  echo "ok: --help"; passes=$((passes + 1))
else
  echo "FAIL: --help: status $status: $help"; failures=$((failures + 1))
fi
expect 2 "--help with a word after it" -- "$pidpage" --help extra
expect 2 "--version with a word before it" -- "$pidpage" extra --version
version=$("$pidpage" --version 2>"$work/err"); status=$?
[ "$status" = 0 ] && [[ "$version" =~ ^pidpage\ [0-9]+\.[0-9]+$ ]] && [ ! -s "$work/err" ] \
  && { echo "ok: --version"; passes=$((passes + 1)); } \
  || { echo "FAIL: --version: status $status: $version"; failures=$((failures + 1)); }

expect 0 "--compare of two runs" -- "$pidpage" --compare "$work/two.png" "$examples/PI_STEP.PID" "$examples/P_ONLY.PID"
"$pidpage" --compare "$work/some.png" "$work/bad.PID" "$examples/PI_STEP.PID" "$work/none.PID" 2>"$work/err"
[ $? = 1 ] && [ "$(wc -l <"$work/err")" = 2 ] && grep -q none.PID "$work/err" \
  && [ "$(identify -format '%w %h' "$work/some.png")" = "800 540" ] \
  && { echo "ok: --compare names each file left out and draws the rest"; passes=$((passes + 1)); } \
  || { echo "FAIL: --compare with files left out"; failures=$((failures + 1)); }
"$pidpage" --compare "$work/nothing.png" "$work/bad.PID" "$work/none.PID" 2>"$work/err"
[ $? = 1 ] && [ "$(wc -l <"$work/err")" = 3 ] && [ ! -e "$work/nothing.png" ] \
  && { echo "ok: --compare with no usable run writes nothing"; passes=$((passes + 1)); } \
  || { echo "FAIL: --compare with no usable run"; failures=$((failures + 1)); }
# A UTF-8 name reads as its Shift-JIS twin does: converted for the legend.
cp "$examples/PI_STEP.PID" "$work/試験データ.PID"
cp "$examples/PI_STEP.PID" "$work/$(printf '試験データ' | iconv -f UTF-8 -t CP932).PID"
"$pidpage" --compare "$work/utf8.png" "$work/試験データ.PID"
"$pidpage" --compare "$work/sjis.png" "$work/$(printf '試験データ' | iconv -f UTF-8 -t CP932).PID"
check "--compare shows a UTF-8 name as code page 932" -- cmp -s "$work/utf8.png" "$work/sjis.png"
expect 2 "--compare without an output" -- "$pidpage" --compare
expect 2 "--compare without a run" -- "$pidpage" --compare "$work/x.png"
expect 2 "--compare never writes over a run" -- "$pidpage" --compare "$examples/P_ONLY.PID" "$examples/PI_STEP.PID"
expect 2 "--compare of nine runs" -- "$pidpage" --compare "$work/x.png" $(printf "$examples/PI_STEP.PID %.0s" $(seq 9))

# --time draws a range of the chart (all: the whole run), --marks the figures;
# both only with the charts, and a range that is empty, reversed or not in
# seconds is refused.
expect 0 "--compare --time --marks" -- "$pidpage" --compare "$work/zoom.png" --time 1:2.5 --marks "$examples/PI_STEP.PID"
expect 0 "--tune-chart --time all" -- "$pidpage" --tune-chart "$work/all.png" --time all "$examples/P_ONLY.PID"
for range in 2:1 1:1 a:2 1 "" 1:2:3 -1:2; do
  expect 2 "--time '$range' is refused" -- "$pidpage" --compare "$work/x.png" --time "$range" "$examples/PI_STEP.PID"
done
expect 2 "--time without its range" -- "$pidpage" --compare "$work/x.png" "$examples/PI_STEP.PID" --time
expect 2 "--marks with the page" -- "$pidpage" --marks "$work/x.png"

leftovers=$(find "$work" \( -name '.pidpage-*' -o -name '*.png*' \) ! -name start.png ! -name run.png \
  ! -name folder.png ! -name -dash.png ! -name 't-*.png' ! -name upper.PNG ! -name kept.png \
  ! -name link.png ! -name secret.png ! -name "$long" ! -name two.png ! -name some.png ! -name utf8.png ! -name sjis.png \
  ! -name zoom.png ! -name all.png)
[ -z "$leftovers" ] && { echo "ok: no partial output left"; passes=$((passes + 1)); } \
  || { echo "FAIL: left behind: $leftovers"; failures=$((failures + 1)); }
echo "$passes passed, $failures failed"
[ "$failures" = 0 ]
