#!/usr/bin/env bash
# The files the package adds for the desktop: the desktop entry passes
# desktop-file-validate, and the manual pages render without a warning.
# Usage: dist_files.sh DIST_DIR
set -euo pipefail
dist=$1
failures=0
desktop-file-validate "$dist/pidview.desktop" && echo "ok: pidview.desktop is valid" \
  || { echo "FAIL: pidview.desktop"; failures=$((failures + 1)); }
for page in "$dist"/*.1; do
  # The pages name the Japanese menu items: they render in a UTF-8 locale.
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  if [ -z "$warnings" ]; then
    echo "ok: $(basename "$page") renders without warnings"
  else
    echo "FAIL: $(basename "$page"):"; echo "$warnings"; failures=$((failures + 1))
  fi
  for section in NAME SYNOPSIS DESCRIPTION OPTIONS 'EXIT STATUS' FILES 'SEE ALSO' BUGS; do
    grep -q "^\.SH \"\?$section\"\?$" "$page" || { echo "FAIL: $(basename "$page") has no $section"; failures=$((failures + 1)); }
  done
done
[ "$failures" = 0 ]
