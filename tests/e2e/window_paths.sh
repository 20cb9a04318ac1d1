#!/usr/bin/env bash
# One path through every window, as a user takes it, on two simulated cards:
# the tray icon opens the control window; each of the six mixer windows is
# opened from its box, meters a moment and is closed with its close box; the
# settings dialog gets 48000 as Clock 1's default rate and is closed with
# Ok; then the hidden main window is closed (WM_CLOSE). Leaves the driver
# trace in $E2E_WORK/trace.log. The build is E2E_BUILD's (see e2e_lib.sh).
# Usage: window_paths.sh <dist folder> <work folder>
source "$(dirname "$0")/../../tools/e2e/e2e_lib.sh" "$@"

e2e_scenario <<'INI'
[Driver]
TraceFile=trace.log
[Cards]
Count=2
INI
e2e_open_control_window
pass "$E2E_BUILD: the tray icon opens the control window"

for entry in "Analog Inputs=Analog Input" "Analog Outputs=Analog Output" \
             "Digital Inputs=Digital Input" "Digital Outputs=Digital Output" \
             "ADAT Inputs=ADAT Inputs" "ADAT Outputs=ADAT Outputs"; do
  box=${entry%%=*}
  window=${entry#*=}
  e2e_open_from_box "$box" "$window"
  sleep 1.5
  e2e_shot_window "$window" "${box// /_}"
  e2e_click_close_box "$window" || fail "no close box on \"$window\""
  e2e_wait_gone "$window" 10 || fail "the close box did not close \"$window\""
  PROBE list-texts Zentra | grep $'\t '"$box"$'\t' | grep -q ' unchecked' \
    || fail "the \"$box\" box stayed checked after its window closed"
  pass "$E2E_BUILD: \"$window\" opened from its box, metered and closed"
done

DIALOG="Zentra Einstellungen Karte #1"
e2e_open_from_box "Einstellungen" "$DIALOG"
rect=$(e2e_child_rect "$DIALOG" 44100) || fail "no Clock 1 default edit showing 44100"
read -r x y <<<"$(e2e_centre "$rect")"
xdotool mousemove "$x" "$y" click 1
xdotool key --clearmodifiers End shift+Home
xdotool type --delay 40 48000
sleep 0.3
e2e_click_child "$DIALOG" "Ok" || fail "no Ok button"
e2e_wait_gone "$DIALOG" 10 || fail "Ok did not close the settings dialog"
pass "$E2E_BUILD: the settings dialog applied 48000 and closed"

PROBE post-message frmMain 16 0 0 || fail "could not close the main window"
e2e_wait_exit 20 || fail "the program did not end when its main window was closed"
if [ "$E2E_BUILD" = product ]; then
  code=$(e2e_exit_code) || fail "no exit code"
  [ "$code" = 0 ] || fail "the program ended with exit code $code"
fi
tr -d '\r' <"$(e2e_ini)" | grep -q '^\[Zentra\]' || fail "Zudovodiv.ini was not written"
pass "$E2E_BUILD: closing the main window ends the program (exit code 0) and writes Zudovodiv.ini"
cp "$APP_DIR/trace.log" "$E2E_WORK/trace.log"
