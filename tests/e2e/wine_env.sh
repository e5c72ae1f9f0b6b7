# Sourced by the Wine tests: picks the Windows build and the Wine loader that
# can run it here, and makes a fresh Wine prefix in a temporary folder, removed
# with everything the prefix's server started when the sourcing script exits.
# Sets WINE, WINDOWS_BUILD and WINEPREFIX; exits 77 (skipped) when no Wine
# can run a Windows build here.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
export WINEDEBUG=-all
# A Japanese ANSI code page (932) for the program's texts.
unset LC_ALL
export LANG=ja_JP.UTF-8 LC_MESSAGES=C

pick_wine() {
  if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
    echo "wine_env.sh: the ja_JP.UTF-8 locale is missing (tools/deps.sh test makes it)" >&2
    exit 1
  fi
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    WINE=/usr/lib/wine/wine
    WINDOWS_BUILD=${PIDVIEW_WINDOWS_BUILD:-$ROOT/build-windows}
  elif [ -x /usr/lib/wine/wine64 ] && [ -d "$ROOT/build-windows64" ]; then
    # No 32-bit Wine (the kernel runs no 32-bit programs, or its i386
    # packages could not be installed): the same sources built for 64-bit
    # Windows meet the same GDI.
    echo "wine_env.sh: no 32-bit Wine here; using the 64-bit build under wine64"
    WINE=/usr/lib/wine/wine64
    WINDOWS_BUILD=${PIDVIEW_WINDOWS_BUILD:-$ROOT/build-windows64}
  else
    echo "wine_env.sh: no Wine that runs a Windows build here; skipped" >&2
    exit 77
  fi
}

# Every process of the prefix ends with it; then the folder goes.
stop_wine() {
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    "$(dirname "$WINE")/wineserver" -k >/dev/null 2>&1 || true
    "$(dirname "$WINE")/wineserver" -w >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
  fi
}

make_prefix() {
  # The first start of a prefix sets it up; done here so that the timed
  # steps of a test do not pay for it. A set-up that failed (seen once on a
  # loaded machine: no kernel32.dll) is tried again in a new prefix.
  local attempt
  for attempt in 1 2; do
    WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/pidview-wine.XXXXXX")
    export WINEPREFIX
    timeout 300 "$WINE" wineboot --init >/dev/null 2>&1 || true
    "$(dirname "$WINE")/wineserver" -w >/dev/null 2>&1 || true
    [ -f "$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ] && return 0
    echo "wine_env.sh: setting up the Wine prefix failed (attempt $attempt)" >&2
    stop_wine
  done
  return 1
}
