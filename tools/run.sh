#!/usr/bin/env bash
# Installs what is missing, builds the viewer (only it: the test command
# builds the tests, benchmarks and tools) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh run
tools/build.sh plain pidview
exec build/app/pidview "$@"
