#!/usr/bin/env bash
# The system asks whether card 2 may be removed: the program writes the
# configuration record back, ends itself and removes its tray icon.
source "$(dirname "$0")/../../tools/e2e/e2e_lib.sh" "$@"

e2e_scenario <<'INI'
[Driver]
RemoveCard=2
RemoveCardAfterMs=6000
[Cards]
Count=2
INI
e2e_start
PROBE wait-tray-icon 1 20000 || fail "no tray icon appeared"
e2e_shot before_removal
e2e_wait_exit 30 || fail "the program did not end after the removal query"
e2e_wait_tray 0 10 || fail "the tray icon stayed"
pass "removal query for card 2 ended the program and removed the icon"
