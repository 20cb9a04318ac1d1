#!/usr/bin/env bash
# Start-up on two healthy simulated cards puts the icon into the notification
# area; the end of the Windows session ends the program and removes it.
source "$(dirname "$0")/e2e_lib.sh" "$@"

e2e_start
PROBE wait-tray-icon 1 20000 || fail "no tray icon appeared"
e2e_shot tray
pass "tray icon added"

PROBE window-exists "Zentra" >/dev/null 2>&1 && fail "the control window is visible after start"
pass "nothing but the icon is visible"

PROBE send-message frmMain 22 0 0 || fail "could not send WM_ENDSESSION(0)"
sleep 1
e2e_app_running || fail "WM_ENDSESSION with wParam 0 ended the program"
pass "end of session with wParam 0 keeps the program running"

PROBE send-message frmMain 22 1 0 || fail "could not send WM_ENDSESSION(1)"
e2e_wait_exit 15 || fail "the program did not end at the end of the session"
e2e_wait_tray 0 10 || fail "the tray icon stayed after the program ended"
pass "end of session ends the program and removes the icon"
