#!/usr/bin/env bash
# Time from process start to the first painted page under Xvfb, and peak
# memory, for the viewer and for a bare Qt window with a menu bar, in the
# same run. Usage: tools/measure_startup.sh [BUILD_DIR] [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${2:-10}
cmake --build "$build" --target pidview bare_qt_window >/dev/null
source tests/e2e/xvfb.sh
start_xvfb
export XDG_RUNTIME_DIR=$(mktemp -d)
python3 - "$runs" "$build/app/pidview" "$build/tools/startup/bare_qt_window" <<'PY'
import os, signal, statistics, subprocess, sys, time

runs = int(sys.argv[1])
env = dict(os.environ, PIDVIEW_REPORT_FIRST_PAINT="1")

def one(program):
    start = time.time_ns()
    child = subprocess.Popen([program], stderr=subprocess.PIPE, env=env, text=True)
    painted = None
    for line in child.stderr:
        if line.startswith("first-paint "):
            painted = int(line.split()[1])
            break
    child.send_signal(signal.SIGTERM)
    _, _, usage = os.wait4(child.pid, 0)
    child.returncode = 0
    if painted is None:
        sys.exit(f"{program}: no first paint")
    return (painted - start) / 1e6, usage.ru_maxrss / 1024

results = {}
for program in sys.argv[2:]:
    one(program)  # warm the caches once
for _ in range(runs):
    for program in sys.argv[2:]:
        results.setdefault(program, []).append(one(program))
for program, values in results.items():
    times = [t for t, _ in values]
    rss = [m for _, m in values]
    print(f"{os.path.basename(program):16s} first paint median {statistics.median(times):6.1f} ms "
          f"(min {min(times):.1f}, max {max(times):.1f}), peak RSS median {statistics.median(rss):.1f} MiB "
          f"over {len(values)} runs")
viewer, bare = (statistics.median([t for t, _ in results[p]]) for p in sys.argv[2:])
print(f"ratio viewer / bare Qt: {viewer / bare:.2f} (goal: at most 1.5)")
PY
