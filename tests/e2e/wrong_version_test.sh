#!/usr/bin/env bash
# A driver with the wrong kernel module version: exactly one message box
# with the wrong-version text, then the program ends without an icon.
source "$(dirname "$0")/../../tools/e2e/e2e_lib.sh" "$@"

e2e_scenario <<'INI'
[Driver]
State=-27
[Cards]
Count=2
States=1,-22
INI
e2e_start
PROBE wait-window "Zentra Initialisierungsfehler" 20000 || fail "no message box"
e2e_shot wrong_version
text=$(PROBE message-box-text "Zentra Initialisierungsfehler")
expected=$'Der Zentra Treiber konnte nicht initialisiert werden. \nFalsche Version des Moduls Zentra.VXD\nKeine Audiofunktionen auf diesem Gerät verfügbar.'
[ "$(tr -d '\r' <<<"$text")" = "$expected" ] || fail "message text was: $text"
pass "wrong-version text and caption"
PROBE tray-icon-count | grep -qx 0 || fail "a tray icon was added"
PROBE click "Zentra Initialisierungsfehler" OK || fail "could not press OK"
e2e_wait_exit 15 || fail "the program did not end"
PROBE window-exists "Zentra Initialisierungsfehler" >/dev/null 2>&1 && fail "a second message appeared"
pass "the program ended after one message"
