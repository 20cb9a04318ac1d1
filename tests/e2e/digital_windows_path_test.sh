#!/usr/bin/env bash
# The digital windows as a user meets them on two simulated cards, the second
# without a signal on its digital input: the digital input window reads every
# card's measured rate once a second and shows "No Lock" for the second card;
# in the digital output window choosing AES/EBU and then S/PDIF sends the
# channel-status words 0x88 and 0x20. The driver trace shows what arrived.
source "$(dirname "$0")/../../tools/e2e/e2e_lib.sh" "$@"

e2e_scenario <<'INI'
[Driver]
TraceFile=trace.log
[Card1]
InputRate=48000
[Card2]
InputRate=0
INI
# Both strips of each window in view: the windows open as wide as stored.
mkdir -p "$(dirname "$(e2e_ini)")"
printf '[Digital Input]\r\nWidth=290\r\n[Digital Output]\r\nWidth=306\r\n' >"$(e2e_ini)"
e2e_open_control_window

# --- digital input --------------------------------------------------------------
e2e_open_from_box "Digital Inputs" "Digital Input"
strips=$(PROBE list-texts "Digital Input" | grep -c $'\t &Elektrisch\t' || true)
[ "$strips" = 2 ] || fail "expected one strip per card (2), found $strips"
pass "the digital input window shows one strip per card"
sleep 4.5
e2e_shot_window "Digital Input" digital_input
e2e_shot digital_input_desktop

PROBE click "Digital Input" "Elektrisch" || fail "no Electrical button"
sleep 0.5
PROBE list-texts "Digital Input" | grep $'\t &Elektrisch\t' | head -1 | grep -q ' checked' \
  || fail "the Electrical button did not become checked"
pass "the input can be switched to Electrical"

trace="$APP_DIR/trace.log"
[ -s "$trace" ] || fail "no driver trace in $trace"
grep -qE "^[0-9]+ msg in 0x[0-9A-F]{8} (1|7) 0x4035 0x00000102 0x00000000 0$" "$trace" \
  || fail "no 0x4035 with input select 2 on a digital input"
for slot in 1 7; do
  reads=$(grep -E "^[0-9]+ msg in 0x[0-9A-F]{8} $slot 0x403F 0x[0-9A-F]{8} 0x00000000 0 [0-9a-f]{8}$" \
          "$trace" | cut -d' ' -f1)
  count=$(grep -c . <<<"$reads" || true)
  [ "$count" -ge 3 ] || fail "only $count rate requests (0x403F) on slot $slot in 4.5 s"
  median=$(e2e_median_gap <<<"$reads")
  [ "$median" -ge 800 ] && [ "$median" -le 1300 ] \
    || fail "rate requests on slot $slot come every $median ms, not about every second"
  pass "the trace shows $count rate requests on slot $slot, every ~$median ms"
done
grep -E " 7 0x403F " "$trace" | tail -1 | grep -qE " 0 00000000$" \
  || fail "the second card's rate request did not answer 0 (no lock)"
grep -E " 1 0x403F " "$trace" | tail -1 | grep -qE " 0 80bb0000$" \
  || fail "the first card's rate request did not answer 48000"
pass "the driver answers 48000 Hz for card 1 and no lock for card 2"

e2e_click_close_box "Digital Input"
e2e_wait_gone "Digital Input" 10 || fail "the close box did not close the digital input window"

# --- digital output ----------------------------------------------------------------
e2e_open_from_box "Digital Outputs" "Digital Output"
sleep 1
strips=$(PROBE list-texts "Digital Output" | grep -c $'\t AES/&EBU\t' || true)
[ "$strips" = 2 ] || fail "expected one strip per card (2), found $strips"
PROBE list-texts "Digital Output" | grep $'\t Audio\t' | head -1 | grep -q 'disabled' \
  || fail "Audio is not disabled under S/PDIF"
before=$(wc -l <"$trace")
PROBE click "Digital Output" "AES/EBU" || fail "no AES/EBU button"
sleep 0.5
# (The probe clicks the first button it finds with the text, in either strip.)
aes=$(tail -n +"$before" "$trace" | grep -E "^[0-9]+ msg out 0x[0-9A-F]{8} (1|7) 0x400E 0x00000088 0x00000000 0$" \
      | head -1) || true
[ -n "$aes" ] || fail "choosing AES/EBU sent no 0x400E 0x88"
slot=$(cut -d' ' -f5 <<<"$aes")
PROBE list-texts "Digital Output" | grep $'\t Audio\t' | head -1 | grep -q 'enabled' \
  || fail "Audio is not enabled under AES/EBU"
pass "AES/EBU sends 0x400E 0x88 on slot $slot and enables Audio"
e2e_shot_window "Digital Output" digital_output_aes
before=$(wc -l <"$trace")
PROBE click "Digital Output" "S/PDIF" || fail "no S/PDIF button"
sleep 0.5
tail -n +"$before" "$trace" | grep -qE "^[0-9]+ msg out 0x[0-9A-F]{8} $slot 0x400E 0x00000020 0x00000000 0$" \
  || fail "choosing S/PDIF sent no 0x400E 0x20 on slot $slot"
pass "S/PDIF sends 0x400E 0x20"

# A source change: the digital output plays the analog input, metered there.
before=$(wc -l <"$trace")
PROBE click "Digital Output" "Analog Input" || fail "no Analog Input button"
sleep 1
set_line=$(tail -n +"$before" "$trace" | grep -E "^[0-9]+ msg out 0x[0-9A-F]{8} (1|7) 0x400B 0x00000002 0x00000000 0$" \
           | head -1) || true
[ -n "$set_line" ] || fail "choosing Analog Input sent no 0x400B 2"
input_slot=$(( $(cut -d' ' -f5 <<<"$set_line") - 1 ))
tail -n +"$before" "$trace" | grep -qE "^[0-9]+ msg in 0x[0-9A-F]{8} $input_slot 0x403A " \
  || fail "the analog input (slot $input_slot) is not metered after the change"
pass "the source change reaches the driver and the meters follow it"
e2e_shot_window "Digital Output" digital_output

e2e_click_close_box "Digital Output"
e2e_wait_gone "Digital Output" 10 || fail "the close box did not close the digital output window"
ini=$(e2e_ini)
for section in "Digital Input" "Digital Output"; do
  tr -d '\r' <"$ini" | grep -q "^\[$section\]" || fail "no [$section] in Zudovodiv.ini"
done
tr -d '\r' <"$ini" | sed -n '/^\[Digital Input\]/,/^\[/p' | grep -q '^chkInpSelRate=1' \
  || fail "chkInpSelRate missing in [Digital Input]"
tr -d '\r' <"$ini" | sed -n '/^\[Digital Output\]/,/^\[/p' | grep -q '^chkPlaybackSel=1' \
  || fail "chkPlaybackSel missing in [Digital Output]"
pass "both windows' sections are written"
