#!/usr/bin/env bash
# The shipped program's start-up under 32-bit Wine in Windows 98 mode, for
# each state the driver can be in: no driver at all (the launcher finds no
# Zentra.DRV), a kernel module that is not loaded (-17), the wrong version
# (-27), no kernel audio devices on the driver and card 1 (-19/-19), and a
# card that failed (-22 on card 2) while the driver is ready. Each start
# shows its messages, answered with OK, and ends with exit code 0 (no crash
# on the way out), or, for the card, goes on to the tray icon.
source "$(dirname "$0")/../../tools/e2e/e2e_lib.sh" "$@"

BOX="Zentra Initialisierungsfehler"
DRV="$(wine_windows_dir)/system/Zentra.DRV"

# Starts the program with the given scenario (stdin).
start_with() { e2e_scenario; e2e_start; }

# Waits for the message box, checks its text (a fixed string it holds) and
# answers it with OK.
answer_box() {  # text-part timeout-ms
  PROBE wait-window "$BOX" "$2" >/dev/null || fail "no \"$BOX\" box"
  local text; text=$(PROBE message-box-text "$BOX" | tr -d '\r')
  grep -qF -- "$1" <<<"$text" || fail "the box said: $text"
  e2e_shot "box_$(date +%s%N)"
  PROBE click "$BOX" OK >/dev/null || fail "could not press OK"
}

ends_with_exit_code_zero() {  # what
  e2e_wait_exit 20 || fail "$1: the program did not end"
  local code; code=$(e2e_exit_code) || fail "$1: no exit code"
  [ "$code" = 0 ] || fail "$1: the program ended with exit code $code (a crash on exit?)"
  PROBE window-exists "$BOX" >/dev/null 2>&1 && fail "$1: a second message appeared"
  [ "$(PROBE tray-icon-count)" = 0 ] || fail "$1: a tray icon was left"
  return 0
}

# No driver: the launcher runs, finds no Zentra.DRV and ends; the program
# stops waiting soon after and reports -18.
mv "$DRV" "$DRV.away"
started=$(date +%s%N)
printf '[Cards]\nCount=2\n' | start_with
answer_box "Kernel Driver Device konnte nicht geöffnet werden." 40000
ms=$(( ($(date +%s%N) - started) / 1000000 ))
ends_with_exit_code_zero "no driver"
mv "$DRV.away" "$DRV"
pass "no driver: the -18 message after $ms ms from the start, then exit code 0"

printf '[Driver]\nState=-17\n' | start_with
ends_with_exit_code_zero "-17"
pass "-17: the program ends silently with exit code 0"

printf '[Driver]\nState=-27\n[Cards]\nCount=2\nStates=1,-22\n' | start_with
answer_box "Falsche Version des Moduls Zentra.VXD" 20000
ends_with_exit_code_zero "-27"
pass "-27: one wrong-version message, then exit code 0"

printf '[Driver]\nState=-19\n[Cards]\nStates=-19,0\n' | start_with
answer_box "Kernel Audio Devices konnten nicht geöffnet werden." 20000
ends_with_exit_code_zero "-19/-19"
pass "-19 on the driver and card 1: one message, then exit code 0"

printf '[Cards]\nCount=2\nStates=1,-22\n' | start_with
answer_box "Die Playcounter der Zentra laufen nicht." 20000
PROBE wait-tray-icon 1 20000 || fail "start-up did not go on to the tray icon after the card's message"
PROBE window-exists "$BOX" >/dev/null 2>&1 && fail "a second message appeared for the card"
PROBE post-message frmMain 16 0 0 >/dev/null || fail "could not close the main window"
ends_with_exit_code_zero "card 2 at -22"
pass "-22 on card 2: one message, start-up goes on to the tray icon, closing ends with exit code 0"
