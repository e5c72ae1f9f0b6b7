#!/usr/bin/env bash
# Our drawing layer against the real GDI: gdipage.exe (under Wine) and pidpage
# draw the page of the start values and of every example and edge run, and
# gdicompare.exe and pidpage --compare the comparison of the tuning runs and
# of eight runs at once; every pixel outside the text cells must be the same.
# Usage: wine_gdi_conformance.sh PIDPAGE PIDGEN PAGEDIFF
set -euo pipefail
pidpage=$(realpath "$1") pidgen=$(realpath "$2") pagediff=$(realpath "$3")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/xvfb.sh"
source "$here/wine_env.sh"
pick_wine
gdipage=$WINDOWS_BUILD/tools/windows/gdipage.exe
gdicompare=$WINDOWS_BUILD/tools/windows/gdicompare.exe
[ -f "$gdipage" ] && [ -f "$gdicompare" ] \
  || { echo "missing $gdipage or $gdicompare (tools/build_windows.sh test builds them)" >&2; exit 1; }

work=$(mktemp -d)
start_xvfb
trap 'stop_wine; stop_xvfb; rm -rf "$work"' EXIT
make_prefix

# le32 VALUE: four little-endian bytes as printf escapes.
le32() {
  local v=$(( $1 & 0xFFFFFFFF ))
  printf '\\x%02x\\x%02x\\x%02x\\x%02x' $((v & 255)) $((v >> 8 & 255)) $((v >> 16 & 255)) $((v >> 24))
}
# write_run FILE TARGET KP TI TD SAMP 'SAMPLE EXPRESSION IN i': a run whose
# lines lie where the rules of the layer meet: on the frame and the axis,
# on the grid, at every slope.
write_run() {
  local file=$1 bytes i
  bytes='M'$(printf '\\x00%.0s' $(seq 127))
  for value in "$2" "$3" "$4" "$5" "$6"; do bytes+=$(le32 "$value"); done
  for i in $(seq 0 255); do bytes+=$(printf '\\x%02x' $(( ($7) & 255 ))); done
  bytes+=$(le32 2560)$(le32 "$2")$(le32 128)
  printf "$bytes" > "$file"
}

mkdir "$work/runs"
"$pidgen" "$work/runs" >/dev/null
"$pidgen" --edge "$work/runs" >/dev/null
write_run "$work/runs/ON_AXIS.PID" 0 100 10 10 10 '(i * (i % 17)) % 100 + 2'
write_run "$work/runs/ON_FRAME.PID" 100 50 0 0 -2 'i'
write_run "$work/runs/FRAME_FOOT.PID" -16 50 0 0 0 '0'
write_run "$work/runs/ON_GRID.PID" 20 50 0 0 3 '(i / 8) % 2 ? 20 : 40 + i % 5'
cd "$work"
pages=(START)
for run in runs/*.PID; do pages+=("$(basename "$run" .PID)"); done

# Comparisons: three periods and two targets; then every colour and target
# pattern, runs without a time axis, and curve numbers moved apart.
mkdir "$work/tuning"
"$pidgen" --tuning "$work/tuning" >/dev/null
declare -A compared=(
  [TUNING]="tuning/KP80.PID tuning/KP120.PID $(echo tuning/PID_*.PID)"
  [EIGHT]="runs/P_ONLY.PID runs/PI_STEP.PID runs/PID_FAST.PID runs/PID_SLOW.PID runs/STOPPED.PID
           runs/EXTREMES.PID runs/GAPS.PID runs/ON_FRAME.PID")
pages+=(TUNING EIGHT)

failed=()
for page in "${pages[@]}"; do
  run=()
  if [ -n "${compared[$page]:-}" ]; then
    read -ra run <<<"$(echo ${compared[$page]})"
    timeout 120 "$WINE" "$gdicompare" -c "$page.cells" "$page.bmp" "${run[@]}"
    "$pidpage" --compare "$page.png" "${run[@]}"
  else
    [ "$page" = START ] || run=("runs/$page.PID")
    timeout 120 "$WINE" "$gdipage" -c "$page.cells" "${run[@]}" "$page.bmp"
    "$pidpage" "${run[@]}" "$page.png"
  fi
  if "$pagediff" "$page.bmp" "$page.png" "$page.cells" "$page.diff.png" > "$page.report"; then
    echo "ok   $page"
  else
    echo "FAIL $page: pixels outside the text cells differ (gdi = real GDI, ours = our layer):"
    head -40 "$page.report"
    failed+=("$page")
  fi
done
echo "default font of the real GDI: $(head -1 START.cells | iconv -f CP932 -t UTF-8 2>/dev/null || head -1 START.cells)"
if [ ${#failed[@]} -gt 0 ]; then
  keep=${PIDVIEW_E2E_KEEP:-/tmp/pidview-wine-conformance}
  rm -rf "$keep" && cp -r "$work" "$keep"
  echo "differing pages: ${failed[*]} (pages, cells and diff images kept in $keep)"
  exit 1
fi
