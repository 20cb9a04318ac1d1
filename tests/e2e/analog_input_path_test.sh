#!/usr/bin/env bash
# The first path a user walks: double-click the tray icon, tick "Analog
# Inputs", watch live meters of both simulated cards, choose when an input is
# monitored, close the window with its close box, and find the box cleared
# and the window's state written to "Zudovodiv.ini". The simulated driver
# traces every call, and the trace shows the window's conversation.
source "$(dirname "$0")/../../tools/e2e/e2e_lib.sh" "$@"

e2e_scenario <<'INI'
[Driver]
TraceFile=trace.log
INI
e2e_open_control_window
pass "the tray icon opens the control window"

e2e_open_from_box "Analog Inputs" "Analog Input"
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

trace="$APP_DIR/trace.log"
[ -s "$trace" ] || fail "no driver trace in $trace"
for slot in 0 6; do
  opens=$(grep -cE "^[0-9]+ open in $slot 0x[0-9A-F]{8} 0$" "$trace" || true)
  [ "$opens" -ge 2 ] || fail "expected two control opens on record slot $slot, found $opens"
  grep -qE "^[0-9]+ msg in 0x[0-9A-F]{8} $slot 0x4034 0x[0-9A-F]{8} 0x00000000 0 [0-9a-f]{8}$" "$trace" \
    || fail "no 0x4034 (input state) with its block on slot $slot"
  grep -qE "^[0-9]+ msg in 0x[0-9A-F]{8} $slot 0x4038 0x00000000 0x00000000 0$" "$trace" \
    || fail "no 0x4038 (metering start) on slot $slot"
  # The level polls of the card: the time between two of them, in the middle.
  polls=$(grep -E "^[0-9]+ msg in 0x[0-9A-F]{8} $slot 0x403A 0x[0-9A-F]{8} 0x00000000 0 [0-9a-f]{16}$" \
          "$trace" | cut -d' ' -f1)
  count=$(wc -l <<<"$polls")
  [ "$count" -ge 10 ] || fail "only $count level polls (0x403A with two peaks) on slot $slot"
  median=$(e2e_median_gap <<<"$polls")
  [ "$median" -ge 70 ] && [ "$median" -le 160 ] \
    || fail "level polls on slot $slot come every $median ms, not about every 100 ms"
  pass "the trace shows slot $slot opened, its state read, metering started and $count polls every ~$median ms"
done
