#!/usr/bin/env bash
# Tests the import check on the built product: it passes with the Windows 98
# allow-list, and fails naming the function when the list lacks one that the
# product imports, and when the list is empty.
# Usage: test-check-imports.sh <exe>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
exe="$1"
[ -f "$exe" ] || { echo "SKIP: $exe is not built"; exit 77; }
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
status=0

out=$(bash "$here/check-imports.sh" "$exe" 2>&1) || { echo "FAIL: the product fails the check:"; echo "$out"; status=1; }

for fn in GetTickCount WaitForSingleObject waveOutMessage; do
  grep -v -x "$fn" "$here/win98-exports.txt" >"$work/list.txt"
  if out=$(bash "$here/check-imports.sh" "$exe" "$work/list.txt" 2>&1); then
    echo "FAIL: passes without $fn on the list"; status=1
  elif ! grep -q ": $fn\$" <<<"$out"; then
    echo "FAIL: does not name $fn:"; echo "$out"; status=1
  fi
done

printf '[KERNEL32.DLL]\n' >"$work/empty.txt"
if bash "$here/check-imports.sh" "$exe" "$work/empty.txt" >/dev/null 2>&1; then
  echo "FAIL: passes with an empty list"; status=1
fi
[ $status -eq 0 ] && echo "PASS: the import check accepts the product and names what is not allowed"
exit $status
