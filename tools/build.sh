#!/usr/bin/env bash
# Configures and builds one build tree, warnings as errors:
#   tools/build.sh [plain|sanitize] [TARGET...]
# With targets, builds only those (and what they need).
set -euo pipefail
cd "$(dirname "$0")/.."
kind=${1:-plain}
case "$kind" in
plain) dir=build; flags=() ;;
sanitize) dir=build-asan; flags=(-DPIDVIEW_SANITIZE=ON -DPIDVIEW_BENCH=OFF) ;;
*) echo "usage: $0 [plain|sanitize] [TARGET...]" >&2; exit 2 ;;
esac
shift $(($# > 0 ? 1 : 0))
# A tree configured before warnings became an option is configured again, as
# is one whose configure failed (a cache and no Makefile).
if ! grep -qx 'PIDVIEW_WERROR:BOOL=ON' "$dir/CMakeCache.txt" 2>/dev/null || [ ! -f "$dir/Makefile" ]; then
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPIDVIEW_WERROR=ON "${flags[@]}" >/dev/null
fi
targets=()
[ $# -eq 0 ] || targets=(--target "$@")
cmake --build "$dir" -j "$(nproc)" "${targets[@]}"
