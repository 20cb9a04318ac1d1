#!/usr/bin/env bash
# Cross-builds dist/ZentraManager.exe (i686, the product on the real Win32
# platform), dist/ZentraManagerSim.exe (x86_64, the real Win32 user
# interface on the simulated driver, for wine64) and, in dist/standin, the
# stand-in driver modules that run the unchanged product on simulated cards
# (winmm.dll beside the product, Zentra.DRV in the system folder) with the
# i686 probe; then checks the product's import table: ANSI functions only,
# Windows 4.0 subsystem, and only functions that Windows 98 exports.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dist="$root/dist"
mkdir -p "$dist"

build_variant() {  # toolchain variant folder
  cmake -S "$root" -B "$root/build/$3" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$1-mingw.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DZENTRA_BUILD_VARIANT="$2" -DZENTRA_DIST_DIR="$dist" >/dev/null
  cmake --build "$root/build/$3" -j"$(nproc)"
}

build_variant i686 product win32-product
build_variant x86_64 sim win64-sim
build_variant i686-posix standin win32-standin

"$root/scripts/check-imports.sh" "$dist/ZentraManager.exe"
echo "Built: $dist/ZentraManager.exe $dist/ZentraManagerSim.exe"
