#!/usr/bin/env bash
# pidpage --figures: the CSV header, a row per file in the order given, a
# quoted name, empty fields for figures a run lacks, and a row of the name
# alone, a line on standard error and status 1 for each file that is refused.
# Usage: figures_csv.sh PIDPAGE EXAMPLES_DIR
set -uo pipefail
pidpage=$1 examples=$2
source "$(dirname "$0")/csv_check.sh"

odd='run, "fast".PID'
cp "$examples/PID_FAST.PID" "$work/$odd"
cd "$work"
"$pidpage" --figures "$odd" "$examples/P_ONLY.PID" missing.PID /dev/null >out.csv 2>err.txt
check "status with refused files" 1 $?
check "header" 'file,target_rpm,kp_pct,ti_ms,td_ms,sampling_ms,rise_s,peak_rpm,peak_s,overshoot_pct,settling_s,steady_error_rpm,iae_rpm_s' \
  "$(sed -n 1p out.csv | tr -d '\r')"
check "every line ends in CR LF" 5 "$(grep -c $'\r$' out.csv)"
check "a quoted name, figures to 1 us, 0.001 % and 0.001 rpm s" \
  '"run, ""fast"".PID",6000,150,300,40,20,0.830000,8400,2.060000,40.000,2.800000,0,5376.000' "$(sed -n 2p out.csv | tr -d '\r')"
check "no rise or settling time below the target" \
  "$examples/P_ONLY.PID,4500,80,0,0,50,,3200,1.200000,0.000,,1300,17575.000" "$(sed -n 3p out.csv | tr -d '\r')"
check "refused files keep their rows" 'missing.PID,,,,,,,,,,,,|/dev/null,,,,,,,,,,,,' "$(sed -n '4,5p' out.csv | tr -d '\r' | paste -sd'|')"
check "a reason per refused file" 'pidpage: missing.PID: cannot open: No such file or directory|pidpage: /dev/null: cannot open: not a regular file' "$(paste -sd'|' err.txt)"

"$pidpage" --figures "$examples/PI_STEP.PID" >/dev/null 2>err.txt
check "status and quiet standard error when every file is a run" "0:" "$?:$(cat err.txt)"
"$pidpage" --figures 2>/dev/null
check "no file is a usage error" 2 $?
[ "$failures" = 0 ]
