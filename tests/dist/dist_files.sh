#!/usr/bin/env bash
# The files the package adds for the desktop, as `cmake --install` lays them
# out: the desktop entry and the AppStream metadata pass their validators,
# the file type names .PID runs (upper case: a daemon's .pid file is none)
# and the viewer is their default application; the icon files are the SVG's rendering; the
# manual pages render without a warning.
# Usage: dist_files.sh DIST_DIR BUILD_DIR
set -euo pipefail
dist=$1 build=$2
failures=0
check() { # check WHAT COMMAND...: one line for the outcome
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; failures=$((failures + 1)); fi
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
share=$work/prefix/share
cmake --install "$build" --prefix "$work/prefix" >/dev/null

check "pidview.desktop is valid" desktop-file-validate "$share/applications/pidview.desktop"
check "the AppStream metadata is valid" appstreamcli validate --no-net --no-color "$share"/metainfo/*.metainfo.xml

# The type and the default application as the desktop's own tool finds
# them, with nobody's settings in the way.
update-mime-database "$share/mime"
update-desktop-database "$share/applications"
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_DATA_DIRS=$share:/usr/share
: >"$work/A.PID" && cp "$dist/../examples/PID_FAST.PID" "$work/b.PID"
for run in A.PID b.PID; do
  type=$(xdg-mime query filetype "$work/$run")
  check "$run is of type application/x-pid-measurement (got '$type')" [ "$type" = application/x-pid-measurement ]
done
echo 1234 >"$work/sshd.pid"
type=$(xdg-mime query filetype "$work/sshd.pid")
check "a daemon's sshd.pid is not a run (got '$type')" [ "$type" != application/x-pid-measurement ]
default=$(xdg-mime query default application/x-pid-measurement)
check "the runs open in pidview.desktop (got '$default')" [ "$default" = pidview.desktop ]

check "the icon files are pidview.svg's rendering" "$dist/../tools/icons.sh" --check

for page in "$dist"/*.1; do
  # The pages name the Japanese menu items: they render in a UTF-8 locale.
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  check "$(basename "$page") renders without warnings${warnings:+: $warnings}" [ -z "$warnings" ]
  # No gap opened by justifying a line. The header and footer are columns,
  # as is the gap after a tagged paragraph's tag, 7 columns left of its text.
  gaps=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" 2>/dev/null | sed '1d;$d' | awk '
    { indent = match($0, /[^ ]/) - 1; if (indent < 0) next
      rest = substr($0, indent + 1); tag = index(rest, " ")
      if (tag > 0) { after = substr(rest, tag); text = match(after, /[^ ]/)
        if (indent + tag - 1 + text - 1 == indent + 7) rest = substr(after, text) }
      if (rest ~ /[^ ]    +[^ ]/) print }')
  check "$(basename "$page") has no wide gap inside a line${gaps:+: $gaps}" [ -z "$gaps" ]
  for section in NAME SYNOPSIS DESCRIPTION OPTIONS 'EXIT STATUS' FILES 'SEE ALSO' BUGS; do
    check "$(basename "$page") has $section" grep -q "^\.SH \"\?$section\"\?$" "$page"
  done
done
# One address for reports: the package's maintainer, the About box, both
# manual pages and the user's README.
address=$(sed -n 's/.*CPACK_PACKAGE_CONTACT ".*<\(.*\)>".*/\1/p' "$dist/../cmake/packaging.cmake")
for place in "$dist/../app/pidview.rc" "$dist"/*.1 "$dist/README.user.md"; do
  check "$(basename "$place") gives the address for reports, $address" grep -qF "$address" "$place"
done
[ "$failures" = 0 ]
