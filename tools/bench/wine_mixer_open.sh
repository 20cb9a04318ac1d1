#!/usr/bin/env bash
# Prints how long the Wine build takes to construct and show the analog input
# window on four simulated cards: the time the control window needs to handle
# the click on "Analog Inputs" (the window is created and shown inside it),
# measured ten times. Usage: tools/bench/wine_mixer_open.sh [dist folder]
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tests/e2e/e2e_lib.sh" "${1:-$root/dist}" "$root/build/bench/wine_mixer_open"
e2e_scenario <<'INI'
[Cards]
Count=4
INI
e2e_start
PROBE wait-tray-icon 1 30000 || fail "no tray icon"
PROBE send-message Zentra 1126 0 515 >/dev/null
PROBE wait-window Zentra 10000 || fail "no control window"
times=()
for i in $(seq 1 10); do
  t=$(PROBE timed-click Zentra "Analog Inputs") || fail "no box"
  PROBE wait-window "Analog Input" 10000 || fail "the window did not open"
  times+=("$t")
  PROBE click Zentra "Analog Inputs" >/dev/null   # closes it again
  e2e_wait_gone "Analog Input" 10 || fail "the window did not close"
done
printf '%s\n' "${times[@]}" | sort -n | awk '
  { v[NR] = $1 } END {
    printf "analog input window, 4 cards, wine64: construct+show  min %.1f ms  median %.1f ms  max %.1f ms  (%d runs)\n",
           v[1], v[int((NR + 1) / 2)], v[NR], NR }'
