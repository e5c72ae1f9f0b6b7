#!/usr/bin/env bash
# pidpage --samples: the CSV header, one CR LF row per slot with its time,
# an empty slot's empty speed, empty times for a run without a time axis,
# and the statuses of a refused file and a wrong command line.
# Usage: samples_csv.sh PIDPAGE
set -uo pipefail
pidpage=$1
source "$(dirname "$0")/csv_check.sh"
# run FILE SAMPLING [MARK]: target 4500 rpm, slot 0 empty, slot 1 3000 rpm, the rest 0 rpm.
run() {
  python3 -c 'import struct, sys
sys.stdout.buffer.write(sys.argv[2].encode() + bytes(127) + struct.pack("<5i", 45, 80, 0, 0, int(sys.argv[1]))
                        + bytes([1, 30]) + bytes(254) + bytes(12))' "$2" "${3:-M}" > "$work/$1"
}
cd "$work"
run timed.PID 5
run untimed.PID 0
run backwards.PID -3
run refused.PID 5 X

"$pidpage" --samples timed.PID > timed.csv
check "status of a run" 0 $?
check "header, the empty slot, a slot, the last slot" 'time_s,speed_rpm,target_rpm|0.00,,4500|0.05,3000,4500|12.75,0,4500' \
  "$(sed -n '1,3p;$p' timed.csv | tr -d '\r' | paste -sd'|')"
check "257 lines, each ending in CR LF" 257:257 "$(wc -l < timed.csv):$(grep -c $'\r$' timed.csv)"
for name in untimed backwards; do
  check "no time axis ($name)" ',,4500|,3000,4500' "$("$pidpage" --samples $name.PID | sed -n '2,3p' | tr -d '\r' | paste -sd'|')"
done

"$pidpage" --samples refused.PID > out.csv 2>/dev/null
check "a refused file: status 1, nothing written" 1: "$?:$(cat out.csv)"
"$pidpage" --samples 2>/dev/null
check "no file is a usage error" 2 $?
"$pidpage" --samples timed.PID untimed.PID > /dev/null 2>&1
check "two files are a usage error" 2 $?
[ "$failures" = 0 ]
