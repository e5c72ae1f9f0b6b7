#!/usr/bin/env bash
# pidpage's whole process against two others, side by side in one hyperfine
# run: gnuplot (pngcairo) drawing the same samples at the same size, and a
# bare process that links pidpage's libraries and does nothing (the floor
# set by starting a process and loading them). Prints the medians and the
# ratios. A benchmark, not a test.
# Usage: bench/pidpage_vs_gnuplot.sh [PIDPAGE] [FILE.PID] [RUNS]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
pidpage=$(realpath "${1:-$top/build/pidpage/pidpage}")
bare=$(realpath "$(dirname "$pidpage")/../bench/bare_process")
run=$(realpath "${2:-$top/examples/PID_FAST.PID}")
runs=${3:-30}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
# The 256 sample bytes after the header and the parameters, as one line
# at the page's size.
cat >chart.gp <<GP
set terminal pngcairo size 800,540
set output 'gnuplot.png'
plot '$run' binary skip=148 format='%uchar' record=256 using 0:1 with lines
GP
hyperfine -N --warmup 5 --runs "$runs" --export-json times.json \
  -n pidpage "'$pidpage' '$run' pidpage.png" -n gnuplot "gnuplot chart.gp" -n bare "'$bare'" >/dev/null
python3 - times.json <<'PY'
import json, sys
medians = {r["command"]: r["median"] * 1000 for r in json.load(open(sys.argv[1]))["results"]}
for name, ms in medians.items():
    print(f"{name:8s} median {ms:6.2f} ms")
print(f"ratio pidpage / gnuplot: {medians['pidpage'] / medians['gnuplot']:.2f} (goal: at most 0.25)")
print(f"ratio pidpage / bare process: {medians['pidpage'] / medians['bare']:.2f} (goal: at most 2.5)")
PY
stat -c '%n: %s bytes' pidpage.png gnuplot.png
