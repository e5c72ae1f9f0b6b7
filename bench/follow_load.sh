#!/usr/bin/env bash
# File > 自動更新 under load, measured once through the real window under
# Xvfb: a folder of 10,000 runs, and one of them rewritten twenty times a
# second. Reports
# - the CPU the viewer takes over a quiet stretch with 自動更新 off and on,
# - how soon it shows its pixels again after an expose while the run is
#   rewritten, and its resident memory and descriptors over that time,
# - the time from a file's last write to its page on screen, for runs
#   written one at a time and for the rewritten run once it rests (goal:
#   within 2 s),
# - the same folder as a network one (PIDVIEW_REMOTE_FOLDERS=1: no change
#   notifications, the listing looked at once a second): the CPU of a quiet
#   stretch with 自動更新 on, and the time to a new run's page (goal:
#   within 3 s).
# A benchmark, not a test: it prints figures, and the goals beside them.
# Usage: bench/follow_load.sh [PIDVIEW] [LOAD_SECONDS] [QUIET_SECONDS] [RUNS]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
pidview=$(realpath "${1:-$top/build/app/pidview}")
load_seconds=${2:-60}
quiet_seconds=${3:-60}
runs=${4:-10000}
source "$top/tests/e2e/xvfb.sh"
work=$(mktemp -d)
export HOME=$work XDG_RUNTIME_DIR=$work
cleanup() {
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null
  [ -n "${writer:-}" ] && kill "$writer" 2>/dev/null
  stop_xvfb
  rm -rf "$work"
}
trap cleanup EXIT
start_xvfb

# The folder: the example runs over and over, written an hour ago.
mkdir "$work/bench"
python3 - "$top/examples" "$work/bench" "$runs" <<'PY'
import os, sys, time
examples = sorted(os.path.join(sys.argv[1], name) for name in os.listdir(sys.argv[1]) if name.endswith(".PID"))
images = [open(path, "rb").read() for path in examples]
hour_ago = time.time() - 3600
for i in range(int(sys.argv[3])):
    path = os.path.join(sys.argv[2], f"RUN{i:05d}.PID")
    open(path, "wb").write(images[i % len(images)])
    os.utime(path, (hour_ago, hour_ago))
PY
run=$work/bench/RUN00000.PID

start_viewer() {
  PIDVIEW_REPORT_PAINTS=1 "$pidview" "$run" 2>"$work/paints" & app=$!
  wid=$(timeout 20 xdotool search --sync --onlyvisible --name 'Ver1\.00' | head -1)
  xdotool windowfocus --sync "$wid"
  sleep 1
}
start_viewer
toggle_follow() { xdotool key alt+f; sleep 0.3; xdotool key u; sleep 0.5; }
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$app/stat"; }
rss_kib() { awk '/^VmRSS/ { print $2 }' "/proc/$app/status"; }
fds() { ls "/proc/$app/fd" | wc -l; }
hz=$(getconf CLK_TCK)

quiet_cpu() {
  local before=$(cpu_ticks)
  sleep "$quiet_seconds"
  echo "$(( ($(cpu_ticks) - before) * 1000 / hz ))"
}
echo "quiet for ${quiet_seconds} s, 自動更新 off: $(quiet_cpu) ms of CPU"
toggle_follow
echo "quiet for ${quiet_seconds} s, 自動更新 on over ${runs} runs: $(quiet_cpu) ms of CPU"

# The time from a last write to the paint after it.
paint_after() { # paint_after NANOSECONDS: the first paint's time after it, waiting up to 5 s
  for _ in $(seq 100); do
    awk -v t="$1" '$1 == "paint" && $2 > t { print $2; exit }' "$work/paints" | grep . && return
    sleep 0.05
  done
  echo never
}
since() { [ "$2" = never ] && echo never || echo "$(( ($2 - $1) / 1000000 ))"; } # since START END: ms
new_runs() { # new_runs COUNT: a run written whole COUNT times; the latencies
  latencies=()
  for i in $(seq "$1"); do
    cp "$top/examples/$( ((i % 2)) && echo P_ONLY || echo PID_SLOW).PID" "$work/bench/NEW$i.tmp"
    mv "$work/bench/NEW$i.tmp" "$work/bench/NEW$i.PID"
    written=$(date +%s%N)
    latencies+=("$(since "$written" "$(paint_after "$written")")")
    sleep 0.5
  done
}
new_runs 10
echo "a new run, last write to its page on screen (ms; goal: within 2000): ${latencies[*]}"

# The load: the run rewritten in place twenty times a second, two runs in
# turn, and last a third, so that its page is new whatever was on screen.
python3 - "$run" "$top/examples/PID_FAST.PID" "$top/examples/PI_STEP.PID" "$top/examples/P_ONLY.PID" \
  "$load_seconds" "$work/last_write" <<'PY' &
import sys, time
path, images, seconds = sys.argv[1], [open(p, "rb").read() for p in sys.argv[2:5]], float(sys.argv[5])
start = time.monotonic()
n = 0
while time.monotonic() - start < seconds:
    with open(path, "wb") as f:
        f.write(images[n % 2])
    n += 1
    time.sleep(max(0.0, start + n * 0.05 - time.monotonic()))
with open(path, "wb") as f:
    f.write(images[2])
open(sys.argv[6], "w").write(f"{time.time_ns()} {n + 1}\n")
PY
writer=$!
rss_start=$(rss_kib) fds_start=$(fds) rss_max=0 fds_max=0 cpu_start=$(cpu_ticks)
probes=()
while kill -0 "$writer" 2>/dev/null; do
  probes+=($(python3 "$top/bench/expose_probe.py" "$wid" 700 430 5 0.3))
  rss=$(rss_kib) fds_now=$(fds)
  [ "$rss" -gt "$rss_max" ] && rss_max=$rss
  [ "$fds_now" -gt "$fds_max" ] && fds_max=$fds_now
done
writer=
read -r last_write writes < "$work/last_write"
cpu_load=$(( ($(cpu_ticks) - cpu_start) * 1000 / hz ))
shown=$(paint_after "$last_write")
sorted=$(printf '%s\n' "${probes[@]}" | sort -n)
echo "rewritten ${writes} times in ${load_seconds} s: ${cpu_load} ms of CPU"
echo "expose to pixels on screen, ${#probes[@]} probes (ms): median $(echo "$sorted" | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'), max $(echo "$sorted" | tail -1)"
echo "resident memory: $rss_start KiB at the start, at most $rss_max KiB, $(rss_kib) KiB at the end"
# A listing of the folder holds one descriptor while it runs.
echo "descriptors: $fds_start at the start, at most $fds_max, $(fds) at the end"
echo "the rewritten run, last write to its page on screen: $(since "$last_write" "$shown") ms (goal: within 2000)"

# The folder as a network one.
kill "$app"; wait "$app" 2>/dev/null || true
export PIDVIEW_REMOTE_FOLDERS=1
start_viewer
toggle_follow
echo "quiet for ${quiet_seconds} s, 自動更新 on over ${runs} runs in a network folder: $(quiet_cpu) ms of CPU"
new_runs 5
echo "a new run in a network folder, its write to its page on screen (ms; goal: within 3000): ${latencies[*]}"
