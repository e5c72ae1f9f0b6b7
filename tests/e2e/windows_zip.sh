#!/usr/bin/env bash
# The Windows zip holds, in one folder, the 32-bit GUI program and the example
# runs, and nothing else.
# Usage: windows_zip.sh ZIP EXAMPLES_DIR
set -euo pipefail
zip=$1 examples=$2
if [ ! -f "$zip" ]; then
  echo "missing $zip (tools/package.sh zip builds it); skipped" >&2
  exit 77
fi
folder=$(basename "$zip" .zip)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

{
  echo "$folder/pidview.exe"
  for run in "$examples"/*.PID; do echo "$folder/examples/$(basename "$run")"; done
} | sort >"$work/expected"
unzip -Z1 "$zip" | grep -v '/$' | sort >"$work/contents"
diff -u "$work/expected" "$work/contents" || { echo "FAIL: the zip's files differ (above)"; exit 1; }
echo "ok: the zip holds pidview.exe and the examples, nothing else"

unzip -l "$zip"
kind=$(unzip -p "$zip" "$folder/pidview.exe" | file -b -)
[[ "$kind" == "PE32 executable (GUI) Intel 80386"* ]] || { echo "FAIL: pidview.exe is a '$kind'"; exit 1; }
echo "ok: pidview.exe is a 32-bit Windows GUI program"
for run in "$examples"/*.PID; do
  unzip -p "$zip" "$folder/examples/$(basename "$run")" | cmp -s - "$run" \
    || { echo "FAIL: $(basename "$run") differs from the repository's"; exit 1; }
done
echo "ok: the examples are the repository's"
