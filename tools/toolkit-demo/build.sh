#!/usr/bin/env bash
# Builds toolkit_demo.exe (x86_64, for wine64) from the toolkit, the control
# library and the native backend, into the folder given (default
# build-h5-win64/demo). Objects are kept there and rebuilt when older than
# their source.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=${1:-$root/build-h5-win64/demo}
mkdir -p "$out/obj"
cxx=x86_64-w64-mingw32-g++-posix
flags="-std=c++17 -O1 -g0 -Wall -Wextra -Wno-unused-parameter -I$root/src -DWINVER=0x0400 -D_WIN32_WINDOWS=0x0400 -D_WIN32_IE=0x0400 -DNOMINMAX -DWIN32_LEAN_AND_MEAN"
sources=$(ls "$root"/src/toolkit/*.cpp "$root"/src/toolkit/win32/*.cpp "$root"/src/controls/*.cpp \
  "$root"/src/platform/text_encoding.cpp "$root"/src/platform/platform.cpp \
  "$root"/tools/toolkit-demo/toolkit_demo.cpp; ls "$root"/src/app/about_box.cpp 2>/dev/null || true)
export cxx flags out root
echo "$sources" | xargs -P2 -I{} bash -c 'src={}; obj="$out/obj/$(echo "$src" | tr / _).o"; if [ ! -f "$obj" ] || [ "$src" -nt "$obj" ] || [ -n "$(find "$root/src" -name "*.h" -newer "$obj" | head -1)" ]; then $cxx $flags -c "$src" -o "$obj"; fi'
# The program's window descriptions, embedded as in the product.
cmake -DOUT="$out/embedded_resources.cpp" -DRESOURCE_DIR="$root/src/resources" \
      -P "$root/cmake/EmbedResources.cmake"
$cxx $flags -c "$out/embedded_resources.cpp" -o "$out/obj/embedded_resources.o"
$cxx -o "$out/toolkit_demo.exe" "$out"/obj/*.o -static -static-libgcc -static-libstdc++ \
  -luser32 -lgdi32 -lcomctl32 -lkernel32
echo "$out/toolkit_demo.exe"
