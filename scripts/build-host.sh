#!/usr/bin/env bash
# Builds the host library, tests, benchmarks and (with clang) fuzz targets in build/host.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/host"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZENTRA_WINE_TESTS=ON "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
