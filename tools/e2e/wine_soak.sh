#!/usr/bin/env bash
# The Wine soak: each mixer window and the settings dialog switched on and
# off CYCLES times (default 200) through the control window's boxes, on two
# simulated cards, with the program's GDI and USER object counts
# (GetGuiResources) printed before and after each window's cycles.
# Not part of the CI run.
#   tools/e2e/wine_soak.sh [dist folder] [work folder]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
CYCLES=${CYCLES:-200}
WAIT_MS=${WAIT_MS:-100}
source "$root/tests/e2e/e2e_lib.sh" "${1:-$root/dist}" "${2:-$root/build/wine-soak}"

e2e_start
PROBE wait-tray-icon 1 20000 || fail "no tray icon appeared"
e2e_double_click_tray || fail "no tray icon to double-click"
PROBE wait-window Zentra 10000 >/dev/null || fail "the control window did not come up"
sleep 1
echo "start: $(PROBE gui-resources ZentraManagerSim.exe)"
for box in "Analog Inputs" "Analog Outputs" "Digital Inputs" "Digital Outputs" "ADAT Inputs" \
           "ADAT Outputs" "Einstellungen"; do
  before=$(PROBE gui-resources ZentraManagerSim.exe) || fail "program gone before $box"
  start=$(date +%s)
  PROBE toggle-cycles Zentra "$box" "$CYCLES" "$WAIT_MS" || fail "could not cycle $box"
  sleep 1
  after=$(PROBE gui-resources ZentraManagerSim.exe) || fail "program gone after $box"
  printf '%-16s %4d cycles %4ds | before: %-18s after: %s\n' "$box" "$CYCLES" \
    "$(($(date +%s) - start))" "$before" "$after"
done
e2e_app_running || fail "the program ended during the soak"
pass "soak finished"
