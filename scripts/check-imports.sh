#!/usr/bin/env bash
# Checks that a Win32 executable is PE32 for i386 with subsystem version 4.0,
# imports no wide-character (...W) functions, and imports only functions that
# Windows 95/98 export (the allow-list, scripts/win98-exports.txt by default).
# Usage: check-imports.sh <exe> [allow-list]
set -euo pipefail
exe="$1"
allow="${2:-$(cd "$(dirname "$0")" && pwd)/win98-exports.txt}"
[ -r "$allow" ] || { echo "$allow: allow-list not readable"; exit 1; }
dump=$(i686-w64-mingw32-objdump -p "$exe")
grep -q "^architecture: i386" <<<"$(i686-w64-mingw32-objdump -f "$exe")" || { echo "$exe: not i386"; exit 1; }
grep -q "MajorSubsystemVersion	4" <<<"$dump" || { echo "$exe: subsystem version is not 4"; exit 1; }
grep -q "MinorSubsystemVersion	0" <<<"$dump" || { echo "$exe: subsystem minor version is not 0"; exit 1; }
# One "DLL: function" line per import, the DLL name in capitals.
imports=$(awk '/DLL Name:/{dll=toupper($3)} /^\t[0-9a-f]+\t/{print dll": "$NF}' <<<"$dump")
wide=$(grep -E ': [A-Za-z0-9_]+W$' <<<"$imports" | grep -v -E '^MSVCRT' || true)
if [ -n "$wide" ]; then
  echo "$exe imports wide-character functions:"; echo "$wide"; exit 1
fi
allowed=$(awk '/^[[:space:]]*(#|$)/{next} /^\[.*\]$/{dll=toupper(substr($0,2,length($0)-2)); next}
               {print dll": "$1}' "$allow" | sort -u)
outside=$(comm -23 <(sort -u <<<"$imports") <(cat <<<"$allowed") || true)
if [ -n "$outside" ]; then
  echo "$exe imports functions that Windows 98 does not export (not in $allow):"
  echo "$outside"; exit 1
fi
dlls=$(grep "DLL Name:" <<<"$dump" | awk '{print $3}' | tr '\n' ' ')
count=$(wc -l <<<"$imports")
echo "$exe: PE32 i386, subsystem 4.0, $count imports, ANSI only, all exported by Windows 98 ($dlls)"
