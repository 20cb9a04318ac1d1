#!/usr/bin/env bash
# Checks that a Win32 executable is PE32 for i386 with subsystem version 4.0
# and imports no wide-character (...W) functions.
set -euo pipefail
exe="$1"
dump=$(i686-w64-mingw32-objdump -p "$exe")
grep -q "^architecture: i386" <<<"$(i686-w64-mingw32-objdump -f "$exe")" || { echo "$exe: not i386"; exit 1; }
grep -q "MajorSubsystemVersion	4" <<<"$dump" || { echo "$exe: subsystem version is not 4"; exit 1; }
grep -q "MinorSubsystemVersion	0" <<<"$dump" || { echo "$exe: subsystem minor version is not 0"; exit 1; }
wide=$(awk '/DLL Name:/{dll=$3} /^\t[0-9a-f]+\t/{print dll": "$NF}' <<<"$dump" \
       | grep -E ': [A-Za-z0-9_]+W$' | grep -v -i -E '^msvcrt' || true)
if [ -n "$wide" ]; then
  echo "$exe imports wide-character functions:"; echo "$wide"; exit 1
fi
dlls=$(grep "DLL Name:" <<<"$dump" | awk '{print $3}' | tr '\n' ' ')
echo "$exe: PE32 i386, subsystem 4.0, ANSI imports only ($dlls)"
