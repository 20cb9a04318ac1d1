#!/usr/bin/env bash
# A shell that restarts forgets the program's icon and then sends the
# registered message "TaskbarCreated" to the top-level windows: the program
# adds its icon again, and the icon opens the control window as before.
source "$(dirname "$0")/../../tools/e2e/e2e_lib.sh" "$@"

e2e_start
PROBE wait-tray-icon 1 20000 || fail "no tray icon appeared"

# The shell forgets the icon (as a restarted one has).
PROBE tray-forget Zentra || fail "could not remove the icon of the control window"
e2e_wait_tray 0 10 || fail "the icon did not go away"
pass "the notification area lost the icon"

# Wine's explorer keeps a tooltip tool of the icon forgotten from outside,
# so from here on the probe's count is one higher than the icons shown: the
# icon that came back is found by its count rising and checked by a
# double-click on it.
sent=$(PROBE send-registered frmMain TaskbarCreated) || fail "could not send TaskbarCreated"
[ "$sent" -ge 2 ] || fail "TaskbarCreated reached only $sent window(s) of the program"
back=0
for _ in $(seq 1 20); do
  back=$(PROBE tray-icon-count); [ "$back" -ge 1 ] && break; sleep 0.5
done
[ "$back" -ge 1 ] || fail "the icon did not come back after TaskbarCreated"
e2e_shot icon_back
pass "TaskbarCreated sent to $sent windows brings the icon back"

e2e_double_click_tray || fail "no icon to double-click"
PROBE wait-window Zentra 10000 >/dev/null || fail "the icon added again does not open the control window"
e2e_shot control_window
pass "the icon added again opens the control window"

# A notice while the icon is there changes nothing.
PROBE send-registered frmMain TaskbarCreated >/dev/null || fail "could not send TaskbarCreated again"
sleep 1
e2e_app_running || fail "the program ended on a second TaskbarCreated"
now=$(PROBE tray-icon-count)
[ "$now" = "$back" ] || fail "a second TaskbarCreated changed the icon count from $back to $now"
pass "a notice while the icon is there leaves one icon"

PROBE send-message frmMain 22 1 0 >/dev/null || fail "could not send WM_ENDSESSION(1)"
e2e_wait_exit 15 || fail "the program did not end at the end of the session"
e2e_wait_tray 0 10 || fail "the icon added again stayed after the program ended"
pass "the icon added again is removed at the end"
