#!/usr/bin/env bash
# Start-up on two healthy simulated cards puts the icon into the notification
# area; a quit message does not end it; the end of the Windows session
# ends the program, saves the control window's state and removes the icon.
source "$(dirname "$0")/../../tools/e2e/e2e_lib.sh" "$@"

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

# A quit message, posted to the main window and to the program's thread,
# does not end the program: only its own shutdown does.
PROBE post-message frmMain 18 0 0 || fail "could not post WM_QUIT to the main window"
PROBE post-thread-message frmMain 18 0 0 || fail "could not post WM_QUIT to the program's thread"
sleep 1
e2e_app_running || fail "a quit message ended the program"
[ "$(PROBE tray-icon-count)" = 1 ] || fail "the tray icon went away after a quit message"
PROBE send-message frmMain 0 0 0 >/dev/null || fail "the main window no longer answers"
pass "a quit message keeps the program running with its icon"

PROBE send-message frmMain 22 1 0 || fail "could not send WM_ENDSESSION(1)"
e2e_wait_exit 15 || fail "the program did not end at the end of the session"
e2e_wait_tray 0 10 || fail "the tray icon stayed after the program ended"
pass "end of session ends the program and removes the icon"

ini=$(e2e_ini)
[ -f "$ini" ] && tr -d '\r' <"$ini" | grep -q '^\[Zentra\]' \
  || fail "the control window's state was not saved at the end of the session"
pass "the end of the session closes the control window and saves its state"
