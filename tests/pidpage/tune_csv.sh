#!/usr/bin/env bash
# pidpage --tune: the CSV header, a suggestion's row with what recomputes the
# rule, a saturated run's found limit, tau_c and a given limit, a withheld one
# that keeps its model and gives its reason in UTF-8 (status 0: a result), a
# refused file (status 1) and refused settings (status 2, one line);
# --tune-chart writes nothing for a withheld run and checks its output name
# as the page does.
# Usage: tune_csv.sh PIDPAGE EXAMPLES_DIR
set -uo pipefail
pidpage=$1 examples=$2
source "$(dirname "$0")/csv_check.sh"
cd "$work"
export LC_ALL=C # awk counts bytes

"$pidpage" --tune "$examples/PI_STEP.PID" "$examples/PID_FAST.PID" >out.csv 2>err.txt
check "status and quiet standard error" "0:" "$?:$(cat err.txt)"
check "header" 'file,gain,tau_s,theta_s,fit_rms_rpm,kp_pi_pct,ti_pi_ms,pi_overshoot_pct,pi_settling_s,kp_pid_pct,ti_pid_ms,td_pid_ms,pid_overshoot_pct,pid_settling_s,reason,warning,period_ms,theta_e_s,tau_c_s,output_limit,run_peak_output,pi_peak_output,pid_peak_output,tau2_s' \
  "$(sed -n 1p out.csv | tr -d '\r')"
check "every line ends in CR LF" 3 "$(grep -c $'\r$' out.csv)"
# The examples' motor: 3.2 (100 rpm per unit of the law), 1.2 s, no dead time;
# one lag; no PID row, and why; theta_e = theta + T/2 = tau_c; the peaks and
# their warning.
check "the example's model, settings, rule and peaks" \
  "3.2,1.2,0.00,0.000000,50,0.026,0.026,,31.8,yes,PID 提案なし: ,PI 提案: 出力のピーク" \
  "$(sed -n 2p out.csv | awk -F, '{printf "%.1f,%.1f,%.2f,%.6f,%s,%.3f,%.3f,%s,%.1f,%s,%s,%s", $2, $3, $4, $24, $17, $18, $19, $20, $21, ($6 != "" && $10 == "" && $22 > 5 * $21) ? "yes" : "no", substr($15, 1, 18), substr($16, 1, 29)}')"
check "a saturated run's limit, found (the drive's is 31.9)" "yes:PI 提案: 出力が上限" \
  "$(sed -n 3p out.csv | awk -F, '{printf "%s:%s", ($20 > 28 && $20 < 36) ? "yes" : "no", substr($16, 1, 26)}')"

"$pidpage" --tune --tau-c 3 --output-limit 31.875 "$examples/PI_STEP.PID" >out.csv 2>err.txt
check "tau_c = 3 theta_e and the limit given" "0:yes:31.875" \
  "$?:$(sed -n 2p out.csv | awk -F, '{d = $19 - 3 * $18; printf "%s:%s", (d < 1e-5 && d > -1e-5) ? "yes" : "no", $20}')"
for bad in "--tau-c 0.5" "--tau-c 11" "--tau-c x" "--output-limit 0" "--output-limit -2" "--output-limit 1e999"; do
  "$pidpage" --tune $bad "$examples/PI_STEP.PID" >/dev/null 2>err.txt
  check "$bad is refused in one line" "2:1" "$?:$(wc -l <err.txt)"
done
"$pidpage" --tau-c 2 "$examples/PI_STEP.PID" page.png 2>/dev/null
check "tau_c goes with the tuning modes only" "2:no" "$?:$([ -e page.png ] && echo yes || echo no)"

"$pidpage" --tune "$examples/P_ONLY.PID" missing.PID >out.csv 2>err.txt
check "a refused file: status 1, a row of its name alone, a reason" "1:missing.PID,,,,,,,,,,,,,,,,,,,,,,,:1" \
  "$?:$(sed -n 3p out.csv | tr -d '\r'):$(wc -l <err.txt)"
"$pidpage" --tune 2>/dev/null
check "no file is a usage error" 2 $?

# Kp 0: no model, no suggestion, its reason; no chart.
head -c 132 "$examples/PI_STEP.PID" >zero.PID
printf '\0\0\0\0' >>zero.PID
tail -c +137 "$examples/PI_STEP.PID" >>zero.PID
"$pidpage" --tune zero.PID >out.csv
check "a withheld row has no model or settings and says why" ",,,,,,,,,,,,,Kp が 0 以下です。" \
  "$(sed -n 2p out.csv | cut -d, -f2-15)"
"$pidpage" --tune-chart chart.png zero.PID 2>err.txt
check "no chart for a withheld suggestion" "1:no" "$?:$([ -e chart.png ] && echo yes || echo no)"
"$pidpage" --tune-chart chart.PID "$examples/PI_STEP.PID" 2>/dev/null
check "a .PID output name is refused" "2:no" "$?:$([ -e chart.PID ] && echo yes || echo no)"
"$pidpage" --tune-chart chart.png "$examples/PI_STEP.PID" "$examples/P_ONLY.PID" 2>/dev/null
check "one run only" 2 $?
"$pidpage" --tune-chart --tau-c 2 chart.png "$examples/PI_STEP.PID"
check "a suggestion's chart is a PNG" "0:PNG" "$?:$(head -c 4 chart.png | tail -c 3)"
[ "$failures" = 0 ]
