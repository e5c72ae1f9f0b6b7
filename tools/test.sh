#!/usr/bin/env bash
# Installs what is missing, builds both trees and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh test
tools/build.sh plain
tools/build.sh sanitize
tools/build_windows.sh test
# The Debian package and the Windows zip, which the package tests check.
tools/package.sh deb zip
echo "== fuzzing (clang, 20 s a target)"
tools/fuzz.sh 20
echo "== unit and desktop tests (plain build)"
ctest --test-dir build --output-on-failure -j 2
echo "== unit tests (address and undefined-behaviour sanitizers)"
ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j 2 -L unit
