#!/usr/bin/env bash
# The Wine soak: each mixer window and the settings dialog switched on and
# off CYCLES times (default 200) through the control window's boxes, on
# CARDS simulated cards (default 2), the windows metering while they are
# open. Before a window's cycles, after its first cycle (caches filled) and
# after the last one it prints what a leak would show:
#   windows  the program's windows, top-level and children (USER objects)
#   gdi      the live objects in the program's GDI handle table, by kind
#   cache    the GDI objects the widget backend holds (fonts, brushes, pens,
#            regions of repaint requests not yet painted), and what the heaps
#            of the process hold in use (kB, blocks)
#   rss      the resident memory of the program's Linux process (kB)
#   guires   GetGuiResources (GDI, USER), which Wine answers with 0
# and for each window whether the figures after the last cycle equal those
# after half the cycles (the first cycles may still fill caches: a colour or
# font first shown late, Wine's record of each 16-bit selector the first
# time it is handed out, until all 8192 have been used: about 1200 cycles
# of the analog output window on two cards): windows, GDI objects and the
# backend's objects exactly,
# the heaps within HEAP_SLACK_KB (default 256), the resident memory within
# RSS_SLACK_KB (default 2048) as Wine's and the C library's allocators
# settle.
# BOXES (comma-separated box captions) cycles only those.
# Not part of the CI run.
#   tools/soak/wine_soak.sh [dist folder] [work folder]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
CYCLES=${CYCLES:-200}
WAIT_MS=${WAIT_MS:-100}
CARDS=${CARDS:-2}
RSS_SLACK_KB=${RSS_SLACK_KB:-2048}
HEAP_SLACK_KB=${HEAP_SLACK_KB:-256}
source "$root/tools/e2e/e2e_lib.sh" "${1:-$root/dist}" "${2:-$root/build/wine-soak}"
e2e_scenario <<INI
[Cards]
Count=$CARDS
INI

e2e_start
PROBE wait-tray-icon 1 20000 || fail "no tray icon appeared"
e2e_double_click_tray || fail "no tray icon to double-click"
PROBE wait-window Zentra 10000 >/dev/null || fail "the control window did not come up"
app_pid=$(e2e_linux_pid "$E2E_EXE") || fail "the program's Linux process was not found"
sleep 1

# One line of figures of the program (status 1 when the program does not answer).
figures() {
  local counts cache rss guires
  # (gui-counts says "gdi unknown" when it cannot read the handle table.)
  counts=$(PROBE gui-counts "$E2E_EXE") || [ -n "$counts" ] || return 1
  cache=$(PROBE backend-resources Zentra) || return 1
  guires=$(PROBE gui-resources "$E2E_EXE") || return 1
  rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$app_pid/status")
  echo "$counts | cache: $cache | rss $rss | guires: ${guires#gdi }"
}
# The figures compared exactly (windows, GDI, backend objects) and the
# numbers after "rss" and "heap-kb".
exact() { sed -e 's/ | rss [0-9]*//' -e 's/ heap-kb.*|/ |/' <<<"$1"; }
number_after() { sed "s/.* $1 \(-\?[0-9]*\).*/\1/" <<<"$2"; }
# What grew from half the cycles to the last (empty: nothing).
growth() {  # middle after
  local grew="" heap rss
  [ "$(exact "$1")" = "$(exact "$2")" ] || grew="objects"
  heap=$(( $(number_after heap-kb "$2") - $(number_after heap-kb "$1") ))
  [ "$heap" -le "$HEAP_SLACK_KB" ] || grew="$grew heap +${heap} kB"
  rss=$(( $(number_after rss "$2") - $(number_after rss "$1") ))
  [ "$rss" -le "$RSS_SLACK_KB" ] || grew="$grew rss +${rss} kB"
  echo "$grew"
}

echo "soak: $CYCLES cycles per window, $CARDS cards, ${WAIT_MS} ms after each click"
start_figures=$(figures) || fail "no figures of the program"
echo "start:            $start_figures"
flat=yes
boxes=("Analog Inputs" "Analog Outputs" "Digital Inputs" "Digital Outputs" "ADAT Inputs"
       "ADAT Outputs" "Einstellungen")
[ -z "${BOXES:-}" ] || IFS=, read -r -a boxes <<<"$BOXES"
for box in "${boxes[@]}"; do
  before=$(figures) || fail "no figures before $box"
  start=$(date +%s)
  PROBE toggle-cycles Zentra "$box" 1 "$WAIT_MS" || fail "could not cycle $box"
  sleep 1
  warm=$(figures) || fail "no figures after the first cycle of $box"
  half=$((CYCLES / 2))
  [ "$half" -gt 1 ] || half=1
  [ "$half" -eq 1 ] ||
    PROBE toggle-cycles Zentra "$box" "$((half - 1))" "$WAIT_MS" || fail "could not cycle $box"
  sleep 1
  middle=$(figures) || fail "no figures after half the cycles of $box"
  PROBE toggle-cycles Zentra "$box" "$((CYCLES - half))" "$WAIT_MS" || fail "could not cycle $box"
  sleep 1
  after=$(figures) || fail "no figures after the cycles of $box"
  e2e_app_running || fail "the program ended while cycling $box"
  grew=$(growth "$middle" "$after")
  verdict=flat
  [ -z "$grew" ] || { verdict="GROWS:$grew"; flat=no; }
  printf '%s: %d cycles in %ds: %s\n' "$box" "$CYCLES" "$(($(date +%s) - start))" "$verdict"
  printf '  before:         %s\n  after 1 cycle:  %s\n  after %-10s%s\n  after %-10s%s\n' \
    "$before" "$warm" "$half:" "$middle" "$CYCLES:" "$after"
done
end_figures=$(figures) || fail "no figures at the end"
echo "end:              $end_figures"
e2e_app_running || fail "the program ended during the soak"
[ "$flat" = yes ] || fail "a figure grew in the second half of a window's cycles"
pass "soak finished, every figure flat in the second half of each window's cycles"
