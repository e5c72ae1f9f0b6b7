#!/usr/bin/env bash
# The private scheduler's folder goes away on exit even when the scheduler
# has already stopped (crashed, or stopped by the test itself).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
folder=$(mktemp)
trap 'rm -f "$folder"' EXIT
bash -c '
  set -euo pipefail
  source "$1/../../e2e/cups.sh"
  start_cups
  echo "$CUPS_DIR" >"$2"
  kill "$CUPSD_PID"
  wait "$CUPSD_PID" || true
' harness "$here" "$folder" || true
cups_dir=$(cat "$folder")
[ -n "$cups_dir" ] && [ ! -e "$cups_dir" ] || { echo "left behind: $cups_dir"; rm -rf "$cups_dir"; exit 1; }
