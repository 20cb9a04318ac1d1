#!/usr/bin/env bash
# The first path a user walks: double-click the tray icon, tick "Analog
# Inputs", watch live meters of both simulated cards, choose when an input is
# monitored, close the window with its close box, and find the box cleared
# and the window's state written to "Zudovodiv.ini".
source "$(dirname "$0")/e2e_lib.sh" "$@"

e2e_start
PROBE wait-tray-icon 1 20000 || fail "no tray icon appeared"
e2e_double_click_tray
PROBE wait-window Zentra 10000 || fail "a double click on the tray icon did not open the control window"
pass "the tray icon opens the control window"

e2e_click_child Zentra "Analog Inputs" || fail "no Analog Inputs box"
PROBE wait-window "Analog Input" 10000 || fail "the analog input window did not open"
sleep 1
strips=$(PROBE list-texts "Analog Input" | grep -c $'\t &Analog Ausgang\t' || true)
[ "$strips" = 2 ] || fail "expected one strip per card (2), found $strips"
pass "one strip per simulated card"

e2e_shot_window "Analog Input" meters_a
sleep 1
e2e_shot_window "Analog Input" meters_b
changed=$(compare -metric AE "$E2E_WORK/shots/meters_a.png" "$E2E_WORK/shots/meters_b.png" \
          /dev/null 2>&1 || true)
[ "${changed%% *}" -gt 0 ] 2>/dev/null || fail "the meters did not move (difference: $changed)"
pass "the meters move ($changed pixels changed in one second)"

# (The window opens at its narrowest, one strip wide; the button is clicked
# through its native window, wherever it is scrolled to.)
PROBE click "Analog Input" "bei Aufnahmen" || fail "no monitoring button"
sleep 0.5
PROBE list-texts "Analog Input" | grep $'\tbei Au&fnahmen\t' | grep -q ' checked' \
  || fail "the monitoring button did not become checked"
pass "a monitoring condition can be chosen"
e2e_shot analog_input

e2e_click_close_box "Analog Input"
e2e_wait_gone "Analog Input" 10 || fail "the close box did not close the window"
PROBE list-texts Zentra | grep $'\t Analog Inputs\t' | grep -q ' unchecked' \
  || fail "the control window's box stayed checked"
pass "closing the window clears its box in the control window"

ini=$(e2e_ini)
[ -f "$ini" ] || fail "no Zudovodiv.ini in the Windows directory"
section=$(tr -d '\r' <"$ini" | sed -n '/^\[Analog Input\]/,/^\[/p')
for key in pnChecks chkPeakMeter chkRouting Top Left Width Height Hints; do
  grep -q "^$key=" <<<"$section" || fail "key $key missing in [Analog Input]: $section"
done
pass "the window's section is written"
