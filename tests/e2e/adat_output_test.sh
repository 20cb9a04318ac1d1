#!/usr/bin/env bash
# The ADAT output window on two simulated cards: eight level requests
# (0x4009) per poll on the even playback handles, the peak meter box that
# takes the whole meter panel away and stops the driver's metering, and the
# window's section in "Zudovodiv.ini". Opening it clears a digital box.
source "$(dirname "$0")/../../tools/e2e/e2e_lib.sh" "$@"

e2e_scenario <<'INI'
[Cards]
Count=2
[Driver]
TraceFile=trace.log
INI
e2e_open_control_window

e2e_open_from_box "ADAT Outputs" "ADAT Outputs"
PROBE resize "ADAT Outputs" 3000 600 || fail "cannot resize"
read -r _ _ w h <<<"$(PROBE rect "ADAT Outputs")"
[ "$w" = 644 ] && [ "$h" = 289 ] || fail "widened to ${w}x$h, expected 644x289"
pass "the ADAT output window opens and widens to 644 pixels for two cards"
sleep 1.5
e2e_shot adat_outputs_two_cards

PROBE click "ADAT Outputs" "Peak Meter" || fail "no Peak Meter box"
sleep 0.5
read -r _ _ w h <<<"$(PROBE rect "ADAT Outputs")"
[ "$h" = 59 ] || fail "without the meters the window is $h high, not 59"
PROBE click "ADAT Outputs" "Peak Meter" || fail "no Peak Meter box"
sleep 0.5
read -r _ _ w h <<<"$(PROBE rect "ADAT Outputs")"
[ "$h" = 289 ] || fail "with the meters back the window is $h high, not 289"
pass "the peak meter box takes the meters away and brings them back"
sleep 1

e2e_click_close_box "ADAT Outputs"
e2e_wait_gone "ADAT Outputs" 10 || fail "the close box did not close the window"
PROBE list-texts Zentra | grep $'\t ADAT Outputs\t' | grep -q ' unchecked' || fail "the box stayed checked"
pass "closing the window clears its box"

ini=$(e2e_ini)
section=$(tr -d '\r' <"$ini" | sed -n '/^\[ADAT Outputs\]/,/^\[/p')
for key in pnChecks=1 chkPeakMeter=1 Top= Left= Width=644 Height=289 Hints=; do
  grep -q "^$key" <<<"$section" || fail "no $key in [ADAT Outputs]: $section"
done
pass "the window's section is written"

trace="$APP_DIR/trace.log"
[ -s "$trace" ] || fail "no driver trace in $trace"
slots="2 3 4 5 8 9 10 11"
for slot in $slots; do
  opens=$(grep -cE "^[0-9]+ open out $slot 0x[0-9A-F]{8} 0$" "$trace" || true)
  [ "$opens" = 2 ] || fail "expected two control opens on ADAT playback slot $slot, found $opens"
done
even=$(awk '$2 == "open" && $3 == "out" && !seen[$4]++ { print $5 }' "$trace" | sort)
used=$(awk '$2 == "msg" && $3 == "out" { print $4 }' "$trace" | sort -u)
[ "$even" = "$used" ] || fail "messages went to other handles than the even ones: $used"
# Metering started at opening and by the box, stopped by the box and the close.
for msg in 0x4007 0x4008; do
  n=$(grep -cE "^[0-9]+ msg out 0x[0-9A-F]{8} [0-9]+ $msg 0x00000000 0x00000000 0$" "$trace" || true)
  [ "$n" = 16 ] || fail "expected sixteen $msg (eight twice), found $n"
done
polls=$(e2e_poll_runs "$trace" 0x4009)
count=$(wc -l <<<"$polls")
[ "$count" -ge 10 ] || fail "only $count polls"
bad=$(grep -vxc "$slots" <<<"$polls" || true)
[ "$bad" = 0 ] || fail "$bad polls did not request the eight pairs in order"
pass "the trace shows start and stop on the eight even handles and $count polls of eight 0x4009 each"
