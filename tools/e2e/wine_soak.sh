#!/usr/bin/env bash
# The Wine soak: each mixer window and the settings dialog switched on and
# off CYCLES times (default 200) through the control window's boxes, on
# CARDS simulated cards (default 2), the windows metering while they are
# open. Before a window's cycles, after its first cycle (caches filled) and
# after the last one it prints what a leak would show:
#   windows  the program's windows, top-level and children (USER objects)
#   gdi      the live objects in the program's GDI handle table, by kind
#   cache    the GDI objects the widget backend holds (fonts, brushes, pens,
#            regions of repaint requests not yet painted)
#   rss      the resident memory of the program's Linux process (kB)
#   guires   GetGuiResources (GDI, USER), which Wine answers with 0
# and at the end whether every figure after the last cycle equals the one
# after the first (rss may move by RSS_SLACK_KB, default 2048, as heaps settle).
# Not part of the CI run.
#   tools/e2e/wine_soak.sh [dist folder] [work folder]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
CYCLES=${CYCLES:-200}
WAIT_MS=${WAIT_MS:-100}
CARDS=${CARDS:-2}
RSS_SLACK_KB=${RSS_SLACK_KB:-2048}
source "$root/tests/e2e/e2e_lib.sh" "${1:-$root/dist}" "${2:-$root/build/wine-soak}"
e2e_scenario <<INI
[Cards]
Count=$CARDS
INI

e2e_start
PROBE wait-tray-icon 1 20000 || fail "no tray icon appeared"
e2e_double_click_tray || fail "no tray icon to double-click"
PROBE wait-window Zentra 10000 >/dev/null || fail "the control window did not come up"
app_pid=$(e2e_linux_pid ZentraManagerSim.exe) || fail "the program's Linux process was not found"
sleep 1

# One line of figures of the program (status 1 when the program does not answer).
figures() {
  local counts cache rss guires
  # (gui-counts says "gdi unknown" when it cannot read the handle table.)
  counts=$(PROBE gui-counts ZentraManagerSim.exe) || [ -n "$counts" ] || return 1
  cache=$(PROBE backend-resources Zentra) || return 1
  guires=$(PROBE gui-resources ZentraManagerSim.exe) || return 1
  rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$app_pid/status")
  echo "$counts | cache: $cache | rss $rss | guires: ${guires#gdi }"
}
# The figures without the resident memory, to compare exactly.
exact() { sed 's/ | rss [0-9]*//' <<<"$1"; }
rss_of() { sed 's/.* | rss \([0-9]*\).*/\1/' <<<"$1"; }

echo "soak: $CYCLES cycles per window, $CARDS cards, ${WAIT_MS} ms after each click"
start_figures=$(figures) || fail "no figures of the program"
echo "start:            $start_figures"
flat=yes
for box in "Analog Inputs" "Analog Outputs" "Digital Inputs" "Digital Outputs" "ADAT Inputs" \
           "ADAT Outputs" "Einstellungen"; do
  before=$(figures) || fail "no figures before $box"
  start=$(date +%s)
  PROBE toggle-cycles Zentra "$box" 1 "$WAIT_MS" || fail "could not cycle $box"
  sleep 1
  warm=$(figures) || fail "no figures after the first cycle of $box"
  PROBE toggle-cycles Zentra "$box" "$((CYCLES - 1))" "$WAIT_MS" || fail "could not cycle $box"
  sleep 1
  after=$(figures) || fail "no figures after the cycles of $box"
  e2e_app_running || fail "the program ended while cycling $box"
  verdict=flat
  if [ "$(exact "$warm")" != "$(exact "$after")" ] ||
     [ $(( $(rss_of "$after") - $(rss_of "$warm") )) -gt "$RSS_SLACK_KB" ]; then
    verdict=GROWS
    flat=no
  fi
  printf '%s: %d cycles in %ds: %s\n' "$box" "$CYCLES" "$(($(date +%s) - start))" "$verdict"
  printf '  before:         %s\n  after 1 cycle:  %s\n  after %-3d:      %s\n' \
    "$before" "$warm" "$CYCLES" "$after"
done
end_figures=$(figures) || fail "no figures at the end"
echo "end:              $end_figures"
e2e_app_running || fail "the program ended during the soak"
[ "$flat" = yes ] || fail "a figure grew between the first and the last cycle"
pass "soak finished, every figure flat after the first cycle"
