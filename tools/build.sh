#!/usr/bin/env bash
# Configures and builds one build tree: tools/build.sh [plain|sanitize]
set -euo pipefail
cd "$(dirname "$0")/.."
kind=${1:-plain}
case "$kind" in
plain) dir=build; flags=() ;;
sanitize) dir=build-asan; flags=(-DPIDVIEW_SANITIZE=ON -DPIDVIEW_BENCH=OFF) ;;
*) echo "usage: $0 [plain|sanitize]" >&2; exit 2 ;;
esac
if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${flags[@]}" >/dev/null
fi
cmake --build "$dir" -j "$(nproc)"
