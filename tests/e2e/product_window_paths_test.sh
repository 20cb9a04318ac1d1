#!/usr/bin/env bash
# The shipped program on two simulated cards: the path through every window
# (window_paths.sh) on dist/ZentraManager.exe under 32-bit Wine, then the
# same path on the x86_64 build. The driver sees the same conversation from
# both: every open, close, control message and configuration command in the
# same order with the same contents, times, handles and 16:16 addresses
# aside. The reads that timers repeat (peaks, input rate, source refresh)
# come as often as time allows and are left out of the comparison.
set -euo pipefail
dist=$1
work=$2
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$work"
status=0
E2E_BUILD=product bash "$here/window_paths.sh" "$dist" "$work/product" || status=$?
[ "$status" = 0 ] || exit "$status"   # 77: no 32-bit Wine here, skipped
E2E_BUILD=sim bash "$here/window_paths.sh" "$dist" "$work/sim"

# One line per call: what it was, on which slot, with which contents.
conversation() {
  awk '$2 == "open"  { print "open", $3, $4, $6; next }
       $2 == "close" { print "close", $3, $5; next }
       $2 == "msg" {
         if ($6 ~ /^0x(403A|4009|403F|400A)$/) next
         if (NF >= 10) print "msg", $3, $5, $6, $8, $9, $10   # dw1 is a block address
         else          print "msg", $3, $5, $6, $7, $8, $9
         next }
       $2 == "cmd" { $1 = ""; print substr($0, 2); next }
       { print "unknown line:", $0 }' "$1"
}
conversation "$work/product/trace.log" >"$work/product.conversation"
conversation "$work/sim/trace.log" >"$work/sim.conversation"
lines=$(wc -l <"$work/product.conversation")
[ "$lines" -gt 100 ] || { echo "FAIL: the product's trace holds only $lines calls"; exit 1; }
if ! diff -u "$work/sim.conversation" "$work/product.conversation" >"$work/conversation.diff"; then
  echo "FAIL: the product's driver conversation differs from the x86_64 build's:"
  head -n 60 "$work/conversation.diff"
  exit 1
fi
echo "PASS: the product and the x86_64 build hold the same conversation with the driver ($lines calls)"
