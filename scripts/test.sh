#!/usr/bin/env bash
# The whole test suite: installs what is missing, builds the host and both
# Windows builds, and runs every test (host tests and the Wine end-to-end
# tests, label "wine").
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build-windows.sh"
"$root/scripts/build-host.sh"
cd "$root/build/host"
ctest --output-on-failure -j2 "$@"
