#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (build-fuzz/), checks that the
# clang-built page matches the reviewed images, and runs each target for
# SECONDS (default 20) from a fresh seed corpus. Fails on any finding and
# keeps the input that caused it in build-fuzz/findings/TARGET/.
#   tools/fuzz.sh [SECONDS_PER_TARGET]
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)
seconds=${1:-20}
case "$seconds" in '' | *[!0-9]*) echo "usage: $0 [SECONDS_PER_TARGET]" >&2; exit 2 ;; esac
dir=build-fuzz
targets=(fuzz_load_page fuzz_tuning fuzz_textout fuzz_resources)

# Configured every time: make knows no target that was added since the tree's
# last configuration.
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DPIDVIEW_WERROR=ON \
      -DPIDVIEW_FUZZ=ON -DPIDVIEW_TESTS=OFF -DPIDVIEW_BENCH=OFF >/dev/null
cmake --build "$dir" -j "$(nproc)" --target "${targets[@]}" fuzz_seed_resources pidgen pidpage >/dev/null

# Readable stacks in reports, where llvm-14 is installed.
if [ -x /usr/lib/llvm-14/bin/llvm-symbolizer ]; then
  export ASAN_SYMBOLIZER_PATH=/usr/lib/llvm-14/bin/llvm-symbolizer
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The page's code page 932 texts are compiled from converted copies under
# clang: its pages must match gcc's pixel for pixel.
if ! bash tests/picture/golden.sh "$dir/pidpage/pidpage" >"$work/golden.log" 2>&1; then
  cat "$work/golden.log"
  echo "fuzz: the clang-built page differs from the reviewed images" >&2
  exit 1
fi

# Seed corpora: real runs and the odd files; texts; the program's resources
# and some truncations of them. fuzz/corpus/TARGET holds inputs of past findings.
for target in "${targets[@]}"; do
  mkdir -p "$work/$target"
  if [ -d "fuzz/corpus/$target" ]; then cp fuzz/corpus/"$target"/* "$work/$target/"; fi
done
cp examples/*.PID tests/picture/golden/*.PID "$work/fuzz_load_page/"
"$dir/tools/pidgen" --edge "$work/fuzz_load_page" >/dev/null
head -c 415 examples/PI_STEP.PID >"$work/fuzz_load_page/short.PID"
cp "$work"/fuzz_load_page/*.PID tests/picture/golden/compare/*.PID "$work/fuzz_tuning/"
printf '\x20\x10\x05\x05\x01\x00\x00\x00\x00Kp  80 [%%] ' >"$work/fuzz_textout/ascii"
printf '\x40\x20\x02\x06\x00\x00\x00\x10\x00\x96\xda\x95\x57\x89\xf1\x93\x5d\x90\x94' >"$work/fuzz_textout/cp932"
printf '\x08\x08\x00\x00\x01\x00\x00\x00\x00\x81\x82\xff\xa0\xdf\x00\xfc\xfc\x81' >"$work/fuzz_textout/bad-bytes"
res="$dir/fuzz/pidview.res"
size=$(stat -c %s "$res")
cp "$res" "$work/fuzz_resources/pidview.res"
for n in 8 32 64 $((size / 2)) $((size - 1)); do
  head -c "$n" "$res" >"$work/fuzz_resources/pidview-$n.res"
done

failed=0
for target in "${targets[@]}"; do
  findings="$top/$dir/findings/$target"
  mkdir -p "$findings"
  log="$work/$target.log"
  # A suggestion's work is bounded: a second per input is far beyond it.
  limit=10
  [ "$target" = fuzz_tuning ] && limit=1
  if (cd "$work" && "$top/$dir/fuzz/$target" -max_total_time="$seconds" -timeout="$limit" -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$findings/" "$work/$target" >"$log" 2>&1); then
    status="no finding"
  else
    failed=1
    tail -n 60 "$log" >&2
    cp "$log" "$findings/last.log"
    input=$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$log" | tail -n 1)
    status="FINDING: input kept in ${input:-$findings}, log in $findings/last.log"
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  coverage=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -n 1)
  echo "$target: ${runs:-?} executions, ${rate:-?} exec/s, ${coverage:-no coverage line}, $status"
done
exit "$failed"
