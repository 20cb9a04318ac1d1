# The checks of zentra_probe against the toolkit demo: every command once,
# with the exit codes the end-to-end tests rely on. Sourced by probe_check.sh
# and by the Wine end-to-end test of the backend.
#   probe_checks <toolkit_demo.exe> <zentra_probe.exe>
# Needs WINE and a Wine prefix and X display set up, and demo.wnd in the
# current folder. Starts the demo in the Wine virtual desktop "Zentra" and
# closes it again; prints PASS or FAIL per check and returns 0 when all pass.
probe_checks() {
  local demo=$1 title="Zentra Toolkit Demo"
  _probe_exe=$2
  _probe_failures=0
  "$WINE" explorer /desktop=Zentra,1024x768 "$demo" demo.wnd >/dev/null 2>&1 &
  _probe_expect 0 "wait-window finds the demo" wait-window "$title" 15000
  _probe_expect 1 "window-exists: no such window" window-exists "Keins"
  _probe_expect 2 "usage error" frobnicate "$title"
  _probe_expect 0 "list-texts" list-texts "$title"
  _probe_contains $'Button\t &Immer im Vordergrund\tvisible enabled unchecked' "check box listed with its state"
  _probe_contains $'Edit\tKarte #1' "edit text listed"
  _probe_contains "selected=1" "combo selection listed"
  _probe_contains $'Edit\tPosition: 128\t' "fader position shown in the read-only box"
  _probe_expect 0 "click the check box" click "$title" "Immer im Vordergrund"
  _probe_expect 0 "list-texts again" list-texts "$title"
  _probe_contains $'&Immer im Vordergrund\tvisible enabled checked' "model-driven check box is checked after the click"
  _probe_expect 0 "rect of the window" rect "$title"
  if [[ "$_probe_out" =~ ^-?[0-9]+\ -?[0-9]+\ [0-9]+\ [0-9]+$ ]]; then
    echo "PASS rect prints four numbers"
  else
    echo "FAIL rect: $_probe_out"; _probe_failures=$((_probe_failures + 1))
  fi
  _probe_expect 0 "rect of a child" rect "$title" "OK"
  _probe_contains " 75 25" "OK button is 75 x 25"
  _probe_expect 1 "click a missing child" click "$title" "Gibt es nicht"
  _probe_expect 0 "click Info opens a message box" click "$title" "Info..."
  _probe_expect 0 "message box appears" wait-window "Zentra Info" 5000
  _probe_expect 0 "message-box-text" message-box-text "Zentra Info"
  _probe_contains "Größe: 3" "message box text in UTF-8"
  _probe_expect 0 "close the message box" close "Zentra Info"
  _probe_wait_gone "Zentra Info" "message box gone"
  # The probe sets Wine's cursor and injects the click. Under Wine such a
  # click is now and then lost while the X pointer stands elsewhere (Wine's
  # X11 driver follows the X pointer), so the X pointer is put on the box first.
  _probe_run rect "$title" "Immer im Vordergrund"
  local l t w h
  read -r l t w h <<<"$_probe_out"
  xdotool mousemove $((l + w / 2)) $((t + h / 2)) sleep 0.2
  _probe_expect 0 "mouse click on the check box" click "$title" "Immer im Vordergrund" --mouse
  _probe_wait_contains $'&Immer im Vordergrund\tvisible enabled unchecked' \
    "real mouse click, after the message box closed, toggles the box back" list-texts "$title"
  _probe_expect 0 "close the demo" close "$title"
  _probe_wait_gone "$title" "closed demo window is hidden"
  echo "$_probe_failures probe check(s) failed"
  [ "$_probe_failures" = 0 ]
}

_probe_run() {  # probe arguments...; sets _probe_out and _probe_status
  _probe_status=0
  _probe_out=$("$WINE" "$_probe_exe" "$@" 2>/dev/null) || _probe_status=$?
  _probe_out=${_probe_out//$'\r'/}
}

_probe_expect() {  # expected-exit description probe-arguments...
  local want=$1 what=$2
  shift 2
  _probe_run "$@"
  if [ "$_probe_status" = "$want" ]; then
    echo "PASS $what"
  else
    echo "FAIL $what (exit $_probe_status, wanted $want)"; _probe_failures=$((_probe_failures + 1))
  fi
}

_probe_contains() {  # text description
  if grep -qF -- "$1" <<<"$_probe_out"; then
    echo "PASS $2"
  else
    echo "FAIL $2: $_probe_out"; _probe_failures=$((_probe_failures + 1))
  fi
}

_probe_wait_contains() {  # text description probe-arguments...; up to 3 s
  local text=$1 what=$2 i
  shift 2
  for i in $(seq 1 12); do
    _probe_run "$@"
    grep -qF -- "$text" <<<"$_probe_out" && { echo "PASS $what"; return 0; }
    sleep 0.25
  done
  echo "FAIL $what: $_probe_out"; _probe_failures=$((_probe_failures + 1))
}

_probe_wait_gone() {  # caption description; up to 5 s
  local i
  for i in $(seq 1 20); do
    _probe_run window-exists "$1"
    [ "$_probe_status" = 1 ] && { echo "PASS $2"; return 0; }
    sleep 0.25
  done
  echo "FAIL $2 (exit $_probe_status, wanted 1)"; _probe_failures=$((_probe_failures + 1))
}
