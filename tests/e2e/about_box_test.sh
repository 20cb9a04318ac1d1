#!/usr/bin/env bash
# The about box, opened as a user does from a mixer window's system menu
# (" Info..." is its last item), found by its caption, read through its
# native windows and closed with its OK button.
source "$(dirname "$0")/../../tools/e2e/e2e_lib.sh" "$@"

e2e_start
PROBE wait-tray-icon 1 20000 || fail "no tray icon appeared"
PROBE send-message Zentra 1126 0 515 >/dev/null || fail "no control window"
PROBE wait-window Zentra 10000 || fail "the control window did not open"
PROBE click Zentra "Analog Inputs" || fail "no Analog Inputs box"
PROBE wait-window "Analog Input" 10000 || fail "the analog input window did not open"

# Open the system menu with Alt+Space and choose its last item.
PROBE activate "Analog Input" >/dev/null 2>&1 || true
xdotool key --clearmodifiers alt+space
sleep 0.5
e2e_shot system_menu
xdotool key Up Return
PROBE wait-window Info 10000 || fail "the about box did not open from the system menu"
e2e_shot about_box
texts=$(PROBE list-texts Info)
grep -q $'\tOK\t.* default' <<<"$texts" || fail "no default OK button: $texts"
pass "the about box opens from the system menu with its default OK button"

e2e_click_child Info OK || fail "could not press OK"
e2e_wait_gone Info 10 || fail "OK did not close the about box"
PROBE window-exists "Analog Input" >/dev/null || fail "the mixer window went away"
pass "OK closes the about box"
