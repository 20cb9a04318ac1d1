#!/usr/bin/env bash
# Prints how long the Wine build takes to construct and show a mixer window
# on four simulated cards: the time the control window needs to handle the
# click on the window's box (the window is created and shown inside it),
# measured ten times.
# Usage: tools/bench/wine_mixer_open.sh [dist folder] [box caption] [window caption]
# (default: the "Analog Inputs" box and the "Analog Input" window).
root=$(cd "$(dirname "$0")/../.." && pwd)
box=${2:-Analog Inputs}
window=${3:-Analog Input}
source "$root/tests/e2e/e2e_lib.sh" "${1:-$root/dist}" "$root/build/bench/wine_mixer_open"
e2e_start_on_cards 4
times=()
for i in $(seq 1 10); do
  t=$(PROBE timed-click Zentra "$box") || fail "no box \"$box\""
  PROBE wait-window "$window" 10000 || fail "the window \"$window\" did not open"
  times+=("$t")
  PROBE click Zentra "$box" >/dev/null   # closes it again
  e2e_wait_gone "$window" 10 || fail "the window did not close"
done
printf '%s\n' "${times[@]}" | sort -n | awk -v name="$window" '
  { v[NR] = $1 } END {
    printf "%s window, 4 cards, wine64: construct+show  min %.1f ms  median %.1f ms  max %.1f ms  (%d runs)\n",
           name, v[1], v[int((NR + 1) / 2)], v[NR], NR }'
