#!/usr/bin/env bash
# The settings dialog as a user meets it: tick " &Einstellungen" in the
# control window, look at each of the four pages, type 48000 as the default
# rate of Clock 1 and press OK; the driver trace shows the "setconfig"
# record with 48000 at byte 136 of the first card's block. Opened again,
# ">>" stacks the second card's dialog 24 pixels right of and below it.
source "$(dirname "$0")/../../tools/e2e/e2e_lib.sh" "$@"

DIALOG1="Zentra Einstellungen Karte #1"
DIALOG2="Zentra Einstellungen Karte #2"

e2e_scenario <<'INI'
[Driver]
TraceFile=trace.log
[Cards]
Count=2
INI
e2e_open_control_window

e2e_open_from_box "Einstellungen" "$DIALOG1"
pass "the settings box opens \"$DIALOG1\""

# The four tabs, 107 pixels wide each, along the top of the page control.
pages=$(e2e_rect_by_size "$DIALOG1" 435 318) || fail "no page control of 435 x 318"
read -r pl pt _ _ <<<"$pages"
click_tab() { xdotool mousemove $((pl + 107 * $1 + 53)) $((pt + 10)) click 1; sleep 0.5; }
for page in 0 1 2 3; do
  click_tab "$page"
  e2e_shot_window "$DIALOG1" "page_$page"
done
texts=$(PROBE list-texts "$DIALOG1")
for text in "Karte ist Master" "Alle Geräte synchron" " &Optimiertes Cursor Handling" \
            " Deaktiviere Meldungen zu Samplerate Konflikten" "Ü&bernehmen" "&Abbruch"; do
  grep -qF $'\t'"$text"$'\t' <<<"$texts" || fail "no control \"$text\" in the dialog: $texts"
done
pass "the four pages show their controls"

# Back to the Clock page; replace the first default rate by typing.
click_tab 0
rect=$(e2e_child_rect "$DIALOG1" 44100) || fail "no Clock 1 default edit showing 44100"
read -r x y <<<"$(e2e_centre "$rect")"
read -r el et ew eh <<<"$rect"
edit_has_red() {  # the edit's pixels hold pure red
  import -display "$DISPLAY" -window root -crop "$((ew - 4))x$((eh - 4))+$((el + 2))+$((et + 2))" +repage \
    "$E2E_WORK/edit.png" 2>/dev/null
  convert "$E2E_WORK/edit.png" -format %c histogram:info:- | grep -qi '#FF0000'
}
replace_text() { xdotool key --clearmodifiers End shift+Home; xdotool type --delay 40 "$1"; sleep 0.3; }
xdotool mousemove "$x" "$y" click 1
replace_text 44000
xdotool key Tab   # leaving the edit checks the rate
sleep 0.5
e2e_shot_window "$DIALOG1" clock_rejected
edit_has_red || fail "a rejected rate does not turn the edit red"
# The focus came back to the edit: typing goes into it again.
replace_text 48000
n=$(PROBE list-texts "$DIALOG1" | grep -c $'\t48000\t' || true)
[ "$n" = 2 ] || fail "the focus did not return to the rejected edit (48000 shown $n times)"
edit_has_red && fail "the edit stayed red after typing"
pass "44000 is rejected: the edit turns red and keeps the focus; typing turns it white"
e2e_shot_window "$DIALOG1" clock_48000
e2e_click_child "$DIALOG1" "Ok" || fail "no OK button"
e2e_wait_gone "$DIALOG1" 10 || fail "OK did not close the dialog"
PROBE list-texts Zentra | grep $'\t &Einstellungen\t' | grep -q ' unchecked' \
  || fail "the settings box stayed checked after OK"
pass "OK applies and closes the dialog, and the settings box is cleared"

trace="$APP_DIR/trace.log"
[ -s "$trace" ] || fail "no driver trace in $trace"
commands=$(grep -oE '^[0-9]+ cmd [a-z_]+' "$trace" | cut -d' ' -f3 | tr '\n' ' ')
grep -q 'getconfig reconfigurable setconfig getconfig' <<<"$commands" \
  || fail "the commands were not getconfig, reconfigurable, setconfig, getconfig: $commands"
record=$(grep -E '^[0-9]+ cmd setconfig 832 completed [0-9a-f]{1664}$' "$trace" | tail -1 | cut -d" " -f6)
[ -n "$record" ] || fail "no completed setconfig with its 832-byte record in the trace"
rate=${record:272:8}   # bytes 136..139, two hex digits a byte
[ "$rate" = "80bb0000" ] || fail "byte 136 holds $rate, not 48000 (80bb0000)"
pass "the trace shows setconfig with 48000 at byte 136"

# Again, and on to the second card.
e2e_open_from_box "Einstellungen" "$DIALOG1"
PROBE list-texts "$DIALOG1" | grep -q $'\t48000\t' || fail "the dialog does not show the applied 48000"
e2e_click_child "$DIALOG1" ">>" || fail "no >> button"
PROBE wait-window "$DIALOG2" 10000 || fail ">> did not open \"$DIALOG2\""
read -r l1 t1 _ _ <<<"$(PROBE rect "$DIALOG1")"
read -r l2 t2 _ _ <<<"$(PROBE rect "$DIALOG2")"
[ $((l2 - l1)) = 24 ] && [ $((t2 - t1)) = 24 ] \
  || fail "the second card's dialog is at +$((l2 - l1)),+$((t2 - t1)), not +24,+24"
PROBE list-texts "$DIALOG2" | grep $'\t>>\t' | grep -q 'disabled' \
  || fail "the last card's >> is not disabled"
e2e_shot next_card
pass ">> opens \"$DIALOG2\" 24 pixels right of and below, with >> disabled"

e2e_click_child "$DIALOG2" "Abbruch" || fail "no Abbruch on the second dialog"
e2e_wait_gone "$DIALOG2" 10 || fail "Abbruch did not close the second dialog"
PROBE window-exists "$DIALOG1" >/dev/null || fail "the first dialog went away with the second"
e2e_click_close_box "$DIALOG1"
e2e_wait_gone "$DIALOG1" 10 || fail "the close box did not close the dialog"
pass "Abbruch and the close box close the dialogs"
