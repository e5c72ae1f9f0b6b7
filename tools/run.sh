#!/usr/bin/env bash
# Installs what is missing, builds, and starts the viewer.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh run
tools/build.sh plain
exec build/app/pidview "$@"
