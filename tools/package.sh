#!/usr/bin/env bash
# Builds the packages a user installs: "deb" (the default) writes
# build/pidview_VERSION_ARCH.deb, "zip" writes the Windows program and the
# examples to build-windows/pidview-VERSION-win32.zip.
# Usage: tools/package.sh [deb] [zip]
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -gt 0 ] || set -- deb
for kind in "$@"; do
  case "$kind" in
  deb)
    tools/deps.sh build
    tools/build.sh plain
    (cd build && cpack -G DEB)
    ;;
  zip)
    tools/build_windows.sh
    (cd build-windows && cpack -G ZIP)
    ;;
  *) echo "usage: $0 [deb] [zip]" >&2; exit 2 ;;
  esac
done
