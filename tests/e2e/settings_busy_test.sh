#!/usr/bin/env bash
# A driver that may not be reconfigured now: OK in the settings dialog
# brings the "Fehler" box, and the dialog stays open with its edits.
source "$(dirname "$0")/../../tools/e2e/e2e_lib.sh" "$@"

DIALOG="Zentra Einstellungen Karte #1"

e2e_scenario <<'INI'
[Driver]
Reconfigurable=0
TraceFile=trace.log
INI
e2e_start
PROBE wait-tray-icon 1 20000 || fail "no tray icon appeared"
PROBE send-message Zentra 1126 0 515 >/dev/null || fail "no control window"
PROBE wait-window Zentra 10000 || fail "the control window did not open"
e2e_open_from_box "Einstellungen" "$DIALOG"

e2e_click_child "$DIALOG" "Ok" || fail "no OK button"
PROBE wait-window Fehler 10000 || fail "no \"Fehler\" box"
e2e_shot refused
text=$(PROBE message-box-text Fehler)
grep -q "können derzeit nicht geändert werden" <<<"$text" || fail "unexpected text: $text"
grep -q "Beenden Sie erst alle Anwendungen" <<<"$text" || fail "unexpected text: $text"
pass "a busy driver brings the \"Fehler\" box"

e2e_click_child Fehler OK || fail "no OK in the box"
e2e_wait_gone Fehler 10 || fail "the box did not close"
sleep 0.5
PROBE window-exists "$DIALOG" >/dev/null || fail "the dialog closed although the driver refused"
grep -qE '^[0-9]+ cmd reconfigurable 4 completed 00000000$' "$APP_DIR/trace.log" \
  || fail "the trace shows no refusing reconfigurable"
if grep -qE '^[0-9]+ cmd setconfig ' "$APP_DIR/trace.log"; then fail "setconfig was sent to a busy driver"; fi
pass "the dialog stays open and nothing is written"
