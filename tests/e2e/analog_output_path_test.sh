#!/usr/bin/env bash
# The analog output window on four simulated cards under Wine: a fader pair
# dragged with the real mouse reaches the driver as one volume with equal
# words; choosing ADAT input greys out the control window's digital boxes and
# meters two ADAT record pairs; the applications' playback gives the boxes
# back. The driver trace shows what reached the driver.
source "$(dirname "$0")/../../tools/e2e/e2e_lib.sh" "$@"

e2e_scenario <<'INI'
[Driver]
TraceFile=trace.log
[Cards]
Count=4
[Card1]
Volume=0x20062006
INI
e2e_open_control_window

e2e_open_from_box "Analog Outputs" "Analog Output"
sleep 1
strips=$(PROBE list-texts "Analog Output" | grep -c $'\t Anwender&programm\t' || true)
[ "$strips" = 4 ] || fail "expected one strip per card (4), found $strips"
pass "one strip per simulated card"

# Widest: every strip shows (197 pixels a card and 8 more).
PROBE resize "Analog Output" 2000 478 || fail "could not size the window"
sleep 1
read -r _ _ width _ <<<"$(PROBE rect "Analog Output")"
[ "$width" = 796 ] || fail "the widest window is $width pixels wide, not 796"
pass "the window widens to 796 pixels for four cards and no further"
e2e_shot_window "Analog Output" four_cards

trace="$APP_DIR/trace.log"
# The knobs (18 x 26 child windows without text), leftmost first: the first
# card's left fader.
knob=$(PROBE list-windows | awk -v caption='"Analog Output"' '
    /^[^ ]/ { inside = index($0, caption) > 0; next }
    inside && $2 == "\"\"" && $NF == "18x26" { split($(NF - 1), at, ","); print at[1], at[2] }' |
  sort -n | head -1)
[ -n "$knob" ] || fail "no fader knob (18 x 26) in the window"
read -r kx ky <<<"$knob"
x=$((kx + 9)); y=$((ky + 13))
before=$(grep -c " 0x0011 " "$trace" || true)
xdotool mousemove "$x" "$y" sleep 0.1 mousedown 1 sleep 0.1
for step in 1 2 3 4 5; do xdotool mousemove "$x" $((y - 8 * step)) sleep 0.05; done
xdotool mouseup 1 sleep 0.5
sets=$(grep -E "^[0-9]+ msg out 0x[0-9A-F]{8} 0 0x0011 " "$trace" | tail -n +$((before + 1)))
[ -n "$sets" ] || fail "dragging the fader sent no volume (0x0011) to the first card"
last=$(tail -1 <<<"$sets" | cut -d' ' -f7)
[ "${last:2:4}" = "${last:6:4}" ] || fail "the linked pair's volume has different words: $last"
[ "$last" != 0x20062006 ] && [ "$last" != 0x00000000 ] || fail "the volume did not change: $last"
pass "the dragged fader sends its pair's volume with equal words ($last, $(wc -l <<<"$sets") requests)"
e2e_shot_window "Analog Output" fader_moved

PROBE click "Analog Output" "Adat Input" || fail "no ADAT input button"
sleep 1.5
boxes=$(PROBE list-texts Zentra)
for box in "Digital Inputs" "Digital Outputs"; do
  grep $'\t '"$box"$'\t' <<<"$boxes" | grep -q ' disabled' || fail "the $box box stays enabled with ADAT input"
done
for box in "ADAT Inputs" "ADAT Outputs"; do
  grep $'\t '"$box"$'\t' <<<"$boxes" | grep -q ' enabled' || fail "the $box box is not enabled with ADAT input"
done
pass "ADAT input greys out the digital boxes of the control window"
# (The probe clicks the button of one of the strips; the trace tells which.)
slot=$(grep -E "^[0-9]+ msg out 0x[0-9A-F]{8} [0-9]+ 0x400B 0x[0-9A-F]{6}04 0x00000000 0$" "$trace" |
       tail -1 | cut -d' ' -f5)
[ -n "$slot" ] || fail "no accepted 0x400B with ADAT input"
adat=$((slot + 2))  # the card's ADAT pair 1-2: channels 1 and 2 as designed
opens=$(grep -cE "^[0-9]+ open in $adat 0x[0-9A-F]{8} 0$" "$trace" || true)
[ "$opens" = 2 ] || fail "expected two metering opens on ADAT pair 1-2 (slot $adat), found $opens"
sleep 1
polls=$(grep -cE "^[0-9]+ msg in 0x[0-9A-F]{8} $adat 0x403A " "$trace" || true)
[ "$polls" -ge 5 ] || fail "only $polls level requests on the ADAT record pair"
pass "card $((slot / 6 + 1)) meters its ADAT channels ($polls level requests on slot $adat)"
e2e_shot analog_output_adat

PROBE click "Analog Output" "Anwenderprogramm" || fail "no program button"
sleep 1.5
boxes=$(PROBE list-texts Zentra)
for box in "Digital Inputs" "Digital Outputs" "ADAT Inputs" "ADAT Outputs"; do
  grep $'\t '"$box"$'\t' <<<"$boxes" | grep -q ' enabled' || fail "the $box box stays disabled"
done
pass "the applications' playback gives every box back"

e2e_click_close_box "Analog Output"
e2e_wait_gone "Analog Output" 10 || fail "the close box did not close the window"
section=$(tr -d '\r' <"$(e2e_ini)" | sed -n '/^\[Analog Output\]/,/^\[/p')
for key in pnChecks chkPlaybackSel chkPeakMeter chkLink12 chkLink34 chkLink56 chkLink78 Width; do
  grep -q "^$key=" <<<"$section" || fail "key $key missing in [Analog Output]: $section"
done
pass "the window's section is written with the link boxes"
