#!/usr/bin/env bash
# The ADAT input window on three simulated cards: it opens from the control
# window's box, can be widened to show all 24 channels (958 pixels) and made
# no narrower than 174, its meters move, and the driver trace shows twelve
# level requests (0x403A) per poll, one on the even handle of each ADAT pair.
source "$(dirname "$0")/../../tools/e2e/e2e_lib.sh" "$@"

e2e_scenario <<'INI'
[Cards]
Count=3
[Driver]
TraceFile=trace.log
INI
e2e_open_control_window

e2e_open_from_box "ADAT Inputs" "ADAT Inputs"
PROBE list-texts Zentra | grep $'\t ADAT Inputs\t' | grep -q ' checked' || fail "the box is not checked"
pass "the box opens the ADAT input window"

read -r _ _ w h <<<"$(PROBE rect "ADAT Inputs")"
[ "$h" = 289 ] || fail "the window is $h high, not 289"
PROBE resize "ADAT Inputs" 3000 600 || fail "cannot resize"
read -r _ _ w h <<<"$(PROBE rect "ADAT Inputs")"
[ "$w" = 958 ] && [ "$h" = 289 ] || fail "widened to ${w}x$h, expected 958x289"
pass "the window widens to 958 pixels for three cards, its height stays 289"
sleep 0.5
e2e_shot_window "ADAT Inputs" wide_a
sleep 1
e2e_shot_window "ADAT Inputs" wide_b
changed=$(compare -metric AE "$E2E_WORK/shots/wide_a.png" "$E2E_WORK/shots/wide_b.png" /dev/null 2>&1 || true)
[ "${changed%% *}" -gt 0 ] 2>/dev/null || fail "the meters did not move (difference: $changed)"
pass "the meters move ($changed pixels changed in one second)"
e2e_shot adat_inputs_three_cards

PROBE resize "ADAT Inputs" 20 20 || fail "cannot resize"
read -r _ _ w h <<<"$(PROBE rect "ADAT Inputs")"
[ "$w" = 174 ] && [ "$h" = 289 ] || fail "narrowed to ${w}x$h, expected 174x289"
pass "the window is no narrower than 174 pixels"

e2e_click_close_box "ADAT Inputs"
e2e_wait_gone "ADAT Inputs" 10 || fail "the close box did not close the window"
PROBE list-texts Zentra | grep $'\t ADAT Inputs\t' | grep -q ' unchecked' || fail "the box stayed checked"
pass "closing the window clears its box"

trace="$APP_DIR/trace.log"
[ -s "$trace" ] || fail "no driver trace in $trace"
slots="2 3 4 5 8 9 10 11 14 15 16 17"
for slot in $slots; do
  opens=$(grep -cE "^[0-9]+ open in $slot 0x[0-9A-F]{8} 0$" "$trace" || true)
  [ "$opens" = 2 ] || fail "expected two control opens on ADAT record slot $slot, found $opens"
done
closes=$(grep -cE "^[0-9]+ close in 0x[0-9A-F]{8} 0$" "$trace" || true)
[ "$closes" = 24 ] || fail "expected 24 closes, found $closes"
# The first handle opened on each slot (the even one) carries every message.
even=$(awk '$2 == "open" && $3 == "in" && !seen[$4]++ { print $5 }' "$trace" | sort)
used=$(awk '$2 == "msg" && $3 == "in" { print $4 }' "$trace" | sort -u)
[ "$even" = "$used" ] || fail "messages went to other handles than the even ones: $used"
for msg in 0x4038 0x4039; do
  n=$(grep -cE "^[0-9]+ msg in 0x[0-9A-F]{8} [0-9]+ $msg 0x00000000 0x00000000 0$" "$trace" || true)
  [ "$n" = 12 ] || fail "expected twelve $msg, found $n"
done
# The polls: each one runs through the twelve pairs in table order.
polls=$(e2e_poll_runs "$trace" 0x403A)
count=$(wc -l <<<"$polls")
[ "$count" -ge 10 ] || fail "only $count polls"
bad=$(grep -vxc "$slots" <<<"$polls" || true)
[ "$bad" = 0 ] || fail "$bad polls did not request the twelve pairs in order: $(grep -vx "$slots" <<<"$polls" | head -3)"
pass "the trace shows 24 handles, start and stop on the twelve even ones, and $count polls of twelve 0x403A each"
