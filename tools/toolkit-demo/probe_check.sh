#!/usr/bin/env bash
# Checks zentra_probe against the toolkit demo under wine64: every command
# once, with the exit codes the end-to-end tests rely on.
#   probe_check.sh <toolkit_demo.exe> <zentra_probe.exe> [work folder]
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
[ $# -ge 2 ] || { echo "usage: probe_check.sh <toolkit_demo.exe> <zentra_probe.exe> [work folder]"; exit 2; }
demo=$(realpath "$1")
probe=$(realpath "$2")
work=$(realpath -m "${3:-$root/build-h5-win64}")
source "$root/scripts/wine-env.sh"
trap wine_env_stop EXIT
wine_env_start "$work/wine/probe"
cd "$root/tools/toolkit-demo"
failures=0
expect() {  # expected-exit description command...
  local want=$1 what=$2
  shift 2
  out=$("$WINE" "$probe" "$@" 2>/dev/null)
  local got=$?
  out=${out//$'\r'/}
  if [ "$got" = "$want" ]; then echo "PASS $what"; else echo "FAIL $what (exit $got, wanted $want)"; failures=$((failures + 1)); fi
}
contains() {  # text description
  if grep -qF -- "$1" <<<"$out"; then echo "PASS $2"; else echo "FAIL $2: $out"; failures=$((failures + 1)); fi
}
"$WINE" explorer /desktop=Zentra,1024x768 "$demo" demo.wnd >/dev/null 2>&1 &
title="Zentra Toolkit Demo"
expect 0 "wait-window finds the demo" wait-window "$title" 15000
expect 1 "window-exists: no such window" window-exists "Keins"
expect 2 "usage error" frobnicate "$title"
expect 0 "list-texts" list-texts "$title"
contains $'Button\t &Immer im Vordergrund\tvisible enabled unchecked' "check box listed with its state"
contains $'Edit\tKarte #1' "edit text listed"
contains "selected=1" "combo selection listed"
expect 0 "click the check box" click "$title" "Immer im Vordergrund"
expect 0 "list-texts again" list-texts "$title"
contains $'&Immer im Vordergrund\tvisible enabled checked' "model-driven check box is checked after the click"
expect 0 "rect of the window" rect "$title"
[[ "$out" =~ ^-?[0-9]+\ -?[0-9]+\ [0-9]+\ [0-9]+$ ]] && echo "PASS rect prints four numbers" || { echo "FAIL rect: $out"; failures=$((failures + 1)); }
expect 0 "rect of a child" rect "$title" "OK"
contains " 75 25" "OK button is 75 x 25"
expect 1 "click a missing child" click "$title" "Gibt es nicht"
expect 0 "click Info opens a message box" click "$title" "Info..."
expect 0 "message box appears" wait-window "Zentra Info" 5000
expect 0 "message-box-text" message-box-text "Zentra Info"
contains "Größe: 3" "message box text in UTF-8"
expect 0 "close the message box" close "Zentra Info"
sleep 1
expect 1 "message box gone" window-exists "Zentra Info"
expect 0 "mouse click on the check box" click "$title" "Immer im Vordergrund" --mouse
expect 0 "list-texts after mouse click" list-texts "$title"
contains $'&Immer im Vordergrund\tvisible enabled unchecked' "real mouse click toggles the box back"
expect 0 "close the demo" close "$title"
sleep 1
expect 1 "closed demo window is hidden" window-exists "$title"
echo "$failures probe check(s) failed"
[ "$failures" = 0 ]
