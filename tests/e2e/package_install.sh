#!/usr/bin/env bash
# The Debian package as a user gets it: it holds the installed files and
# nothing from the build tree, its Depends line names the libraries, fonts,
# Qt's X11 plugin and translations the viewer needs, lintian finds no error
# in it, apt-get installs it, the system then types .PID runs and opens them
# in the viewer, the installed viewer's first paint is the installed
# pidpage's start page and it opens an installed example, and a purge leaves
# the system as it was found.
# With PIDVIEW_UPDATE_SCREENSHOT=1, also writes the viewer's window with that
# example to SCREENSHOT (the README's picture).
# Usage: package_install.sh DEB EXAMPLES_DIR SCREENSHOT
set -euo pipefail
deb=$(realpath "$1") examples=$2 screenshot=$3
here=$(cd "$(dirname "$0")" && pwd)
[ -f "$deb" ] || { echo "missing $deb (tools/package.sh builds it)" >&2; exit 1; }
work=$(mktemp -d)
installed=() app=
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null
  [ -z "${XVFB_PID:-}" ] || stop_xvfb
  # A failed run still takes away what it installed.
  if [ ${#installed[@]} -gt 0 ]; then
    apt-get purge -y -qq -o DPkg::Lock::Timeout=300 "${installed[@]}" >/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
pidview=/usr/bin/pidview pidpage=/usr/bin/pidpage
source "$here/viewer.sh"

# Contents: exactly the installed files.
{
  printf '%s\n' ./usr/bin/pidpage ./usr/bin/pidview ./usr/share/applications/pidview.desktop \
    ./usr/share/doc/pidview/README.md ./usr/share/doc/pidview/docs/pidview.png \
    ./usr/share/doc/pidview/copyright ./usr/share/doc/pidview/changelog.gz \
    ./usr/share/man/man1/pidpage.1.gz ./usr/share/man/man1/pidview.1.gz \
    ./usr/share/mime/packages/pidview.xml ./usr/share/metainfo/invalid.pidview.pidview.metainfo.xml \
    ./usr/share/icons/hicolor/scalable/apps/pidview.svg
  for size in 16 32 48 64 128 256; do echo "./usr/share/icons/hicolor/${size}x$size/apps/pidview.png"; done
  for run in "$examples"/*.PID; do echo "./usr/share/pidview/examples/$(basename "$run")"; done
} | sort >"$work/expected"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort >"$work/contents"
if diff -u "$work/expected" "$work/contents"; then
  pass "the package holds the programs, examples, desktop files, icons, manuals and documents, nothing else"
else
  fail "the package's files differ from the installed set (above)"
fi

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for needed in libc6 libqt6widgets6 libcups2 libfreetype6 libpng16-16 fonts-unifont fonts-ipafont-gothic qt6-qpa-plugins \
              qt6-translations-l10n; do
  grep -Eq "(^|, )$needed( |,|$)" <<<"$depends" && pass "depends on $needed" || fail "no dependency on $needed"
done
# Warnings stay in the log; an error fails.
lintian --fail-on error --pedantic --display-info "$deb" >"$work/lintian.log" 2>&1 && lint=passed || lint=failed
grep -v 'root privileges' "$work/lintian.log" || true
[ "$lint" = passed ] && pass "lintian finds no error" || fail "lintian finds errors (above)"
! grep -q 'hardening-' "$work/lintian.log" && pass "the programs have Debian's hardening" \
  || fail "lintian misses hardening (above)"

[ "$failures" = 0 ] || { echo "$failures failure(s) in the package itself"; exit 1; }
if [ "$(id -u)" != 0 ]; then
  echo "installing a package needs root; skipped" >&2
  exit 77
fi
status=$(dpkg-query -W -f='${db:Status-Status}' pidview 2>/dev/null || true)
if [ -n "$status" ] && [ "$status" != not-installed ]; then
  echo "a pidview package is already on this system ($status); it is left alone and this test skipped" >&2
  exit 77
fi

# Whatever apt-get would add besides pidview (dependencies missing here)
# goes again with it.
mapfile -t installed < <(apt-get install -s -o DPkg::Lock::Timeout=300 "$deb" | awk '$1 == "Inst" { print $2 }')
[ ${#installed[@]} -gt 0 ] || { fail "apt-get would install nothing"; exit 1; }
echo "apt-get installs: ${installed[*]}"
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq -o DPkg::Lock::Timeout=300 "$deb" >"$work/apt.log" 2>&1 \
  || { cat "$work/apt.log"; fail "apt-get install failed"; exit 1; }
[ "$(dpkg-query -W -f='${db:Status-Status} ${Version}' pidview)" = "installed 1.0" ] \
  && pass "installed with apt-get" || fail "not installed after apt-get"

version=$("$pidpage" --version) && [ "$version" = "pidpage 1.0" ] \
  && pass "installed pidpage --version says pidpage 1.0" || fail "installed pidpage --version: '$version'"

export HOME=$work XDG_RUNTIME_DIR=$work
# The mime and desktop databases were refreshed by their packages' triggers.
type=$(xdg-mime query filetype /usr/share/pidview/examples/PID_FAST.PID)
[ "$type" = application/x-pid-measurement ] && pass "an installed run is typed $type" || fail "an installed run is typed '$type'"
default=$(xdg-mime query default application/x-pid-measurement)
[ "$default" = pidview.desktop ] && pass "runs open in $default" || fail "runs open in '$default'"
start_xvfb
trap cleanup EXIT
start_viewer
expected_page "$work/start.png"
[ "$(wait_for_page "$work/start.png")" = 0 ] && pass "the installed viewer's first paint equals pidpage's start page" \
  || fail "first paint differs from pidpage ($(differing_pixels "$work/shot.png" "$work/start.png") pixels)"
# Read whole first: grep -q leaves at its match, and xprop's next write
# would end it with SIGPIPE, a failure under pipefail.
icons=$(xprop -id "$wid" _NET_WM_ICON)
grep -q 'Icon (48 x 48)' <<<"$icons" && pass "the window shows the installed icon" \
  || fail "no installed icon on the window (_NET_WM_ICON: $(grep -o 'Icon ([0-9]* x [0-9]*)' <<<"$icons" | tr '\n' ' '))"

example=/usr/share/pidview/examples/PID_FAST.PID
open_file "$example"
expected_page "$work/fast.png" "$example"
[ "$(wait_for_page "$work/fast.png")" = 0 ] && pass "the installed viewer opens an installed example" \
  || fail "page of the installed example differs ($(differing_pixels "$work/shot.png" "$work/fast.png") pixels)"
if [ "${PIDVIEW_UPDATE_SCREENSHOT:-}" = 1 ]; then
  mkdir -p "$(dirname "$screenshot")"
  import -window "$wid" "$work/window.png"
  # No time stamps in the kept picture, so an unchanged window gives the same file.
  convert "$work/window.png" -strip "$screenshot"
  echo "wrote $screenshot"
fi
kill "$app"; wait "$app" 2>/dev/null || true; app=
stop_xvfb; XVFB_PID=

DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq -o DPkg::Lock::Timeout=300 "${installed[@]}" >"$work/apt.log" 2>&1 \
  || { cat "$work/apt.log"; fail "apt-get purge failed"; }
installed=()
left=$(dpkg-query -W -f='${db:Status-Status}' pidview 2>/dev/null || true)
if [ "$left" = not-installed ] || [ -z "$left" ]; then
  pass "purged"
else
  fail "pidview still known to dpkg after the purge ($left)"
fi
for path in /usr/bin/pidview /usr/bin/pidpage /usr/share/pidview /usr/share/applications/pidview.desktop \
            /usr/share/doc/pidview /usr/share/icons/hicolor/scalable/apps/pidview.svg; do
  [ ! -e "$path" ] || fail "$path left after the purge"
done

[ "$failures" = 0 ] || { echo "$failures failure(s)"; exit 1; }
