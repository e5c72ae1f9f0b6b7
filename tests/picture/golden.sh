#!/usr/bin/env bash
# Draws the page of the start values, of every example and of the odd files
# in golden/ with pidpage, and the comparison of the three tuning runs in
# golden/compare/ (whole, and zoomed in with the figures marked), and compares each pixel for pixel with the reviewed image
# in golden/.
#   golden.sh PIDPAGE            compare
#   golden.sh --update PIDPAGE   rewrite the images after an intended change
#                                (look at every one before committing them)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../.." && pwd)
update=no
if [ "${1:-}" = --update ]; then update=yes; shift; fi
pidpage=${1:?usage: golden.sh [--update] PIDPAGE}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cases=("start:" "COMPARE:--compare" "COMPARE_MARKS:--compare --time 0.5:3 --marks")
for f in "$top"/examples/*.PID "$here"/golden/*.PID; do
  name=$(basename "$f" .PID)
  cases+=("$name:$f")
done
# Three periods (20, 50 and 30 ms), two targets, a long name.
tuning=("$here"/golden/compare/KP80.PID "$here"/golden/compare/KP120.PID "$here"/golden/compare/PID_*.PID)

failed=0
for entry in "${cases[@]}"; do
  name=${entry%%:*}
  file=${entry#*:}
  out="$work/$name.png"
  if [[ "$file" = --compare* ]]; then "$pidpage" $file "$out" "${tuning[@]}"
  elif [ -n "$file" ]; then "$pidpage" "$file" "$out"; else "$pidpage" "$out"; fi
  golden="$here/golden/$name.png"
  if [ "$update" = yes ]; then
    cp "$out" "$golden"
    echo "updated $golden"
    continue
  fi
  if [ ! -f "$golden" ]; then
    echo "FAIL $name: no golden image $golden"
    failed=$((failed + 1))
    continue
  fi
  differing=$(compare -metric AE "$golden" "$out" null: 2>&1 || true)
  if [ "$differing" = 0 ]; then
    echo "ok   $name"
  else
    echo "FAIL $name: $differing pixels differ from $golden"
    cp "$out" "${TMPDIR:-/tmp}/pidview-golden-$name.png"
    failed=$((failed + 1))
  fi
done
[ "$update" = yes ] && exit 0
echo "$(( ${#cases[@]} - failed )) passed, $failed failed"
[ "$failed" -eq 0 ]
