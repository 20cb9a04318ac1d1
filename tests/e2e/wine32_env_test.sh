#!/usr/bin/env bash
# The 32-bit Wine prefix of wine-env.sh: Windows 98, a desktop with the
# notification area, a "Symbol" font that has the symbol encoding's glyphs,
# and each program's own exit code returned to the caller. Skipped (77) on a
# machine that cannot run 32-bit Windows programs.
# Usage: wine32_env_test.sh <dist folder> <work folder>
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/wine-env.sh"
wine32_available || { echo "SKIP: this machine cannot run 32-bit Windows programs"; exit 77; }
mkdir -p "$2" && work=$(cd "$2" && pwd)
i686-w64-mingw32-gcc-win32 -O2 -o "$work/probe.exe" "$root/tests/e2e/wine32_env_probe.c" -lgdi32 \
  || { echo "FAIL: the probe does not build"; exit 1; }
trap wine_env_stop EXIT
wine32_env_start "$work" || { echo "FAIL: no 32-bit prefix"; exit 1; }

status=0
for code in 0 3 37; do
  rc=0
  (cd "$work" && timeout 60 "$WINE32" probe.exe "$code" >"$work/probe.out" 2>"$work/probe.err") || rc=$?
  [ "$rc" -eq "$code" ] || { echo "FAIL: exit code $rc came back for $code"; status=1; }
done
printf '%s\n' "version 4.10 platform 1" "tray window yes" "symbol charset 2 glyphs 3 of 3" >"$work/want"
tr -d '\r' <"$work/probe.out" | diff -u "$work/want" - || { echo "FAIL: the prefix is not as expected"; status=1; }
[ $status -eq 0 ] && echo "PASS: the 32-bit prefix runs as Windows 98 with its desktop and Symbol font"
exit $status
