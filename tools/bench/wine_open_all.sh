#!/usr/bin/env bash
# Prints how long the Wine build takes to construct and show each of the six
# mixer windows and the settings dialog on four simulated cards, in one run
# of the program: for each, the time the control window needs to handle the
# click on its box (the window is created and shown inside it), measured
# RUNS times (default 10), the window closed again after each.
# Usage: tools/bench/wine_open_all.sh [dist folder] ["BOX=WINDOW CAPTION"]...
# (default: every mixer window and the settings dialog).
root=$(cd "$(dirname "$0")/../.." && pwd)
RUNS=${RUNS:-10}
source "$root/tools/e2e/e2e_lib.sh" "${1:-$root/dist}" "$root/build/bench/wine_open_all"
e2e_start_on_cards 4

# box caption = caption of the window it opens
windows=("${@:2}")
[ ${#windows[@]} -gt 0 ] ||
  windows=("Analog Inputs=Analog Input" "Analog Outputs=Analog Output"
           "Digital Inputs=Digital Input" "Digital Outputs=Digital Output"
           "ADAT Inputs=ADAT Inputs" "ADAT Outputs=ADAT Outputs"
           "Einstellungen=Zentra Einstellungen Karte #1")
echo "construct+show on 4 cards, $E2E_EXE ($E2E_BUILD build), $RUNS runs each (target: 300 ms)"
for entry in "${windows[@]}"; do
  box=${entry%%=*}
  window=${entry#*=}
  times=()
  for i in $(seq 1 "$RUNS"); do
    t=$(PROBE timed-click Zentra "$box") || fail "no box \"$box\""
    PROBE wait-window "$window" 10000 || fail "the window \"$window\" did not open"
    times+=("$t")
    PROBE click Zentra "$box" >/dev/null   # closes it again
    e2e_wait_gone "$window" 10 || fail "the window \"$window\" did not close"
  done
  printf '%s\n' "${times[@]}" | sort -n | awk -v name="$window" '
    { v[NR] = $1 } END {
      printf "%-28s min %6.1f ms  median %6.1f ms  max %6.1f ms  %s\n", name, v[1],
             v[int((NR + 1) / 2)], v[NR], v[int((NR + 1) / 2)] <= 300 ? "ok" : "OVER" }'
done
