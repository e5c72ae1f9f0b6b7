#!/usr/bin/env bash
# The Windows zip holds, in one folder, the 32-bit GUI program with its icon,
# the example runs and the licence, and nothing else.
# Usage: windows_zip.sh ZIP EXAMPLES_DIR
set -euo pipefail
zip=$1 examples=$2
license=$(dirname "$0")/../../LICENSE
if [ ! -f "$zip" ]; then
  echo "missing $zip (tools/package.sh zip builds it); skipped" >&2
  exit 77
fi
folder=$(basename "$zip" .zip)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

{
  echo "$folder/pidview.exe"
  echo "$folder/LICENSE.txt"
  for run in "$examples"/*.PID; do echo "$folder/examples/$(basename "$run")"; done
} | sort >"$work/expected"
unzip -Z1 "$zip" | grep -v '/$' | sort >"$work/contents"
diff -u "$work/expected" "$work/contents" || { echo "FAIL: the zip's files differ (above)"; exit 1; }
echo "ok: the zip holds pidview.exe, the examples and the licence, nothing else"

unzip -l "$zip"
kind=$(unzip -p "$zip" "$folder/pidview.exe" | file -b -)
[[ "$kind" == "PE32 executable (GUI) Intel 80386"* ]] || { echo "FAIL: pidview.exe is a '$kind'"; exit 1; }
echo "ok: pidview.exe is a 32-bit Windows GUI program"
# Explorer shows the first icon group (resource type 14) of the program.
unzip -p "$zip" "$folder/pidview.exe" >"$work/pidview.exe"
i686-w64-mingw32-objdump -p "$work/pidview.exe" >"$work/headers"
grep -A2 'Entry: ID: 0x00000e,' "$work/headers" | grep -q ': PIDVIEW,' || { echo "FAIL: pidview.exe holds no icon group PIDVIEW"; exit 1; }
echo "ok: pidview.exe carries the program's icon"
unzip -p "$zip" "$folder/LICENSE.txt" | cmp -s - "$license" || { echo "FAIL: LICENSE.txt is not LICENSE"; exit 1; }
for run in "$examples"/*.PID; do
  unzip -p "$zip" "$folder/examples/$(basename "$run")" | cmp -s - "$run" \
    || { echo "FAIL: $(basename "$run") differs from the repository's"; exit 1; }
done
echo "ok: the examples and the licence are the repository's"
