#!/usr/bin/env bash
# Cross-builds the program for 32-bit Windows, warnings as errors:
# build-windows/app/pidview.exe (and gdipage.exe and gdicompare.exe, the real
# GDI's drawing of the page and of the comparison chart for the Wine tests).
# With "test", also builds the same sources for 64-bit Windows when this
# kernel runs no 32-bit programs, so that the Wine tests still have a GDI to
# ask.
set -euo pipefail
cd "$(dirname "$0")/.."

build_tree() { # build_tree DIR TOOLCHAIN
  # Configured again when made before warnings were an option or when its
  # configure failed (a cache and no Makefile).
  if ! grep -qx 'PIDVIEW_WERROR:BOOL=ON' "$1/CMakeCache.txt" 2>/dev/null || [ ! -f "$1/Makefile" ]; then
    cmake -S . -B "$1" -DCMAKE_TOOLCHAIN_FILE="cmake/$2" -DCMAKE_BUILD_TYPE=Release -DPIDVIEW_WERROR=ON >/dev/null
  fi
  cmake --build "$1" -j "$(nproc)"
}

build_tree build-windows mingw-i686.toolchain.cmake
if [ "${1:-}" = test ] && ! /usr/lib/wine/wine --version >/dev/null 2>&1 \
   && command -v x86_64-w64-mingw32-g++ >/dev/null; then
  build_tree build-windows64 mingw-x86_64.toolchain.cmake
fi
