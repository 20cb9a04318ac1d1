#!/usr/bin/env bash
# Refusals of the simulated card that the digital output window must survive
# without changing the card: card 2's digital output refuses the read of its
# format (RefuseMessages=DigitalOut:0x400D), so it gets no format written at
# showing; card 1's analog output device will not close its control handle
# (RefuseClose=AnalogOut), so moving card 1's digital output away from the
# analog output fails and is undone: the driver is set back to the analog
# output, whose button stays checked. The trace shows the refusals as
# non-zero results.
source "$(dirname "$0")/../../tools/e2e/e2e_lib.sh" "$@"

e2e_scenario <<'INI'
[Driver]
TraceFile=trace.log
[Cards]
Count=2
[Card1]
DigitalOutputSource=1,0,0
ChannelStatus=0x20
RefuseClose=AnalogOut
[Card2]
ChannelStatus=0x88
RefuseMessages=DigitalOut:0x400D
INI
e2e_open_control_window
e2e_open_from_box "Digital Outputs" "Digital Output"
sleep 1.5
trace="$APP_DIR/trace.log"

grep -qE "^[0-9]+ msg out 0x[0-9A-F]{8} 7 0x400D 0x[0-9A-F]{8} 0x00000000 1( |$)" "$trace" \
  || fail "no refused 0x400D on slot 7 in the trace"
grep -qE "^[0-9]+ msg out 0x[0-9A-F]{8} 7 0x400E " "$trace" \
  && fail "a format was written to card 2, whose format read was refused: $(grep ' 7 0x400E ' "$trace")"
pass "card 2's refused format read: nothing written to it at showing"

# Wide enough for both cards' strips, so that card 1's buttons are the ones shown.
read -r _ _ _ height <<<"$(PROBE rect "Digital Output")"
PROBE resize "Digital Output" 340 "$height" >/dev/null || fail "could not widen the window"
sleep 0.5
before=$(wc -l <"$trace")
# Card 1's buttons are the leftmost of each caption's two; list-texts (which
# tells their states) lists them in the same order as list-windows.
card1_index() {  # caption: which of the buttons with it is card 1's
  PROBE list-windows | awk -v c="\"$1\"" 'index($0, c) && / visible / {
      n++; split($(NF - 1), at, ","); if (n == 1 || at[1] < best) { best = at[1]; i = n } }
    END { print i }'
}
card1_centre() {  # caption
  PROBE list-windows | awk -v c="\"$1\"" 'index($0, c) && / visible / {
      split($(NF - 1), at, ","); split($NF, wh, "x")
      print at[1] + int(wh[1] / 2), at[2] + int(wh[2] / 2) }' | sort -n | head -1
}
card1_state() {  # caption
  PROBE list-texts "Digital Output" | grep $'\t'"$1"$'\t' | sed -n "$(card1_index "$1")p"
}
read -r x y <<<"$(card1_centre " &Analog Input")"
[ -n "${y:-}" ] || fail "no analog input button"
xdotool mousemove "$x" "$y" click 1
sleep 1.5
tail -n +"$((before + 1))" "$trace" >"$E2E_WORK/change.log"
grep -qE "^[0-9]+ close out 0x[0-9A-F]{8} [1-9][0-9]*$" "$E2E_WORK/change.log" \
  || fail "no refused close of the analog output's handle in the trace"
last=$(grep -E " 1 0x400B " "$E2E_WORK/change.log" | tail -1)
grep -qE " 0x400B 0x[0-9A-F]{6}01 " <<<"$last" \
  || fail "the driver was not set back to the analog output: $last"
card1_state " Analog &Output" | grep -q ' checked' \
  || fail "card 1's analog output button is not checked again: $(card1_state " Analog &Output")"
card1_state " &Analog Input" | grep -q ' unchecked' || fail "card 1's analog input button stayed checked"
e2e_shot_window "Digital Output" after_refused_close
pass "a source change whose old handle will not close is undone: the driver and the button back on the analog output"
