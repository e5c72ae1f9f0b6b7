#!/usr/bin/env bash
# pidpage --tune: the CSV header, a suggestion's row, a withheld one that
# keeps its model and gives its reason in UTF-8 (status 0: a result), and a
# refused file (status 1); --tune-chart writes nothing for a withheld run
# and checks its output name as the page does.
# Usage: tune_csv.sh PIDPAGE EXAMPLES_DIR
set -uo pipefail
pidpage=$1 examples=$2
source "$(dirname "$0")/csv_check.sh"
cd "$work"
export LC_ALL=C # awk counts bytes

"$pidpage" --tune "$examples/PI_STEP.PID" "$examples/PID_FAST.PID" >out.csv 2>err.txt
check "status and quiet standard error with a withheld suggestion" "0:" "$?:$(cat err.txt)"
check "header" 'file,gain,tau_s,theta_s,fit_rms_rpm,kp_pi_pct,ti_pi_ms,pi_overshoot_pct,pi_settling_s,kp_pid_pct,ti_pid_ms,td_pid_ms,pid_overshoot_pct,pid_settling_s,reason,warning' \
  "$(sed -n 1p out.csv | tr -d '\r')"
check "every line ends in CR LF" 3 "$(grep -c $'\r$' out.csv)"
# The examples' motor: 3.2 (100 rpm per unit of the law), 1.2 s, no dead time.
check "the example's model, settings in ms and its warning" "3.19,1.203,0.000,755,200,786,210,10,PI 提案: 始動時の出力が今回の 12.6 倍" \
  "$(sed -n 2p out.csv | awk -F, '{printf "%.2f,%.3f,%.3f,%s,%s,%s,%s,%s,%s", $2, $3, $4, $6, $7, $10, $11, $12, substr($16, 1, 50)}')"
check "a withheld row keeps its model, has no settings and says why" "1.69,,,,,,,,,,モデルの誤差 (RMS 485 rpm)" \
  "$(sed -n 3p out.csv | awk -F, '{printf "%.2f,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s", $2, $6, $7, $8, $9, $10, $11, $12, $13, $14, substr($15, 1, 32)}')"

"$pidpage" --tune "$examples/P_ONLY.PID" missing.PID >out.csv 2>err.txt
check "a refused file: status 1, a row of its name alone, a reason" "1:missing.PID,,,,,,,,,,,,,,,:1" \
  "$?:$(sed -n 3p out.csv | tr -d '\r'):$(wc -l <err.txt)"
"$pidpage" --tune 2>/dev/null
check "no file is a usage error" 2 $?

"$pidpage" --tune-chart chart.png "$examples/PID_FAST.PID" 2>err.txt
check "no chart for a withheld suggestion" "1:no" "$?:$([ -e chart.png ] && echo yes || echo no)"
"$pidpage" --tune-chart chart.PID "$examples/PI_STEP.PID" 2>/dev/null
check "a .PID output name is refused" "2:no" "$?:$([ -e chart.PID ] && echo yes || echo no)"
"$pidpage" --tune-chart chart.png "$examples/PI_STEP.PID" "$examples/P_ONLY.PID" 2>/dev/null
check "one run only" 2 $?
"$pidpage" --tune-chart chart.png "$examples/PI_STEP.PID"
check "a suggestion's chart is a PNG" "0:PNG" "$?:$(head -c 4 chart.png | tail -c 3)"
[ "$failures" = 0 ]
