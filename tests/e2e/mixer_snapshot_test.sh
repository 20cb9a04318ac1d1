#!/usr/bin/env bash
# Mixer snapshots under Wine on two cards, through the control window's
# system menu and the system's own file dialogs: the set-up the cards start
# with is saved (read only, nothing set), every value is then changed by
# loading another file, and loading the saved file brings every value back,
# seen in the driver trace and in the open Analog Output window.
source "$(dirname "$0")/../../tools/e2e/e2e_lib.sh" "$@"

e2e_scenario <<'INI'
[Driver]
TraceFile=trace.log
[Cards]
Count=2
[Card1]
AnalogInputState=0,1,2,0
DigitalInputState=1,1,1,0
AnalogOutputSource=4,5,6
DigitalOutputSource=1,0,0
Volume=0x11112222
Mute=0,65535
ChannelStatus=0x20
[Card2]
AnalogInputState=0,1,0,0
DigitalInputState=1,1,0,0
AnalogOutputSource=1,0,1
Volume=0x0000FFFF
Mute=0,0
ChannelStatus=0x20
INI
trace="$APP_DIR/trace.log"
keys=(AnalogInputMonitorDestination AnalogInputMonitoring DigitalInputSelect
      DigitalInputMonitorDestination DigitalInputMonitoring AnalogOutputSource
      AnalogOutputAdatLeft AnalogOutputAdatRight AnalogOutputVolumeLeft AnalogOutputVolumeRight
      AnalogOutputMuteLeft AnalogOutputMuteRight DigitalOutputSource DigitalOutputFormat
      DigitalOutputAudio)

# A snapshot file's text: the cards' values in the order of the keys.
snapshot_text() {  # "values of card 1" "values of card 2"
  printf '[Mischpult]\r\nVersion=1\r\nKarten=%s\r\n' "$#"
  local card=0 values i
  for values in "$@"; do
    card=$((card + 1))
    read -ra v <<<"$values"
    printf '[Karte %s]\r\n' "$card"
    for i in "${!keys[@]}"; do printf '%s=%s\r\n' "${keys[$i]}" "${v[$i]}"; done
  done
}
saved1="1 2 1 1 1 4 5 6 8738 4369 0 1 1 0 1"
saved2="1 0 1 1 0 1 0 1 65535 0 0 0 0 0 1"

# Chooses an item of the control window's system menu with the keyboard
# (Alt+Space, then up from the bottom: 1 the last item) and waits for the
# file dialog it opens; prints the dialog's caption.
choose_from_system_menu() {  # items-from-bottom shot-name
  local rect x y i caption
  rect=$(PROBE rect Zentra) || fail "no control window"
  read -r x y _ _ <<<"$rect"
  xdotool mousemove $((x + 60)) $((y + 10)) click 1  # the caption bar: the window is active
  sleep 0.3
  xdotool key alt+space
  sleep 0.5
  for i in $(seq 1 "$1"); do xdotool key Up; sleep 0.1; done
  e2e_shot "$2"
  xdotool key Return
  for i in $(seq 1 40); do
    for caption in "Speichern unter" "Save As" "Öffnen" "Open"; do
      PROBE window-exists "$caption" >/dev/null 2>&1 && { echo "$caption"; return 0; }
    done
    sleep 0.25
  done
  return 1
}
trace_mark() { wc -l <"$trace"; }
# The set messages of the trace after a mark, as "slot message dw1 result".
sets_after() {  # mark
  tail -n +"$(($1 + 1))" "$trace" |
    awk '$2 == "msg" && ($6 == "0x4035" || $6 == "0x400B" || $6 == "0x0011" || $6 == "0x4002" ||
                         $6 == "0x400E") { print $5, $6, $7, $9 }'
}

e2e_open_control_window
e2e_open_from_box "Analog Outputs" "Analog Output"
sleep 1.5

# Save.
mark=$(trace_mark)
dialog=$(choose_from_system_menu 2 menu_save) || fail "the save item opened no save dialog"
PROBE list-texts "$dialog" | grep -q $'\tMischpult.zmx\t' || fail "the save dialog does not offer Mischpult.zmx"
e2e_shot save_dialog
PROBE file-dialog "$dialog" "Tracking.zmx" || fail "could not answer the save dialog"
for i in $(seq 1 40); do [ -s "$APP_DIR/Tracking.zmx" ] && break; sleep 0.25; done
[ -s "$APP_DIR/Tracking.zmx" ] || fail "no Tracking.zmx in the program's folder"
sleep 0.5
PROBE window-exists "Zentra Mischpult" >/dev/null && fail "saving showed a message: $(PROBE message-box-text "Zentra Mischpult")"
expected=$(snapshot_text "$saved1" "$saved2")
[ "$(cat "$APP_DIR/Tracking.zmx")" = "$expected" ] \
  || fail "Tracking.zmx is not the cards' state: $(tr '\r\n' ' |' <"$APP_DIR/Tracking.zmx")"
[ -z "$(sets_after "$mark")" ] || fail "saving set something: $(sets_after "$mark" | head -3)"
ls "$APP_DIR" | grep -qE '\.(neu|alt)$' && fail "a temporary file was left: $(ls "$APP_DIR")"
pass "saved through the system menu and the save dialog: every value of both cards, nothing set"

# Every value changed, by loading another file.
changed1="2 1 2 2 2 2 2 7 1000 2000 1 0 3 1 0"
changed2="2 2 2 2 1 2 3 6 1001 2001 1 1 3 1 0"
snapshot_text "$changed1" "$changed2" >"$APP_DIR/Changed.zmx"
dialog=$(choose_from_system_menu 1 menu_load) || fail "the load item opened no open dialog"
PROBE file-dialog "$dialog" "Changed.zmx" || fail "could not answer the open dialog"
e2e_wait_gone "$dialog" 5 || fail "the open dialog stayed"
sleep 1.5
PROBE window-exists "Zentra Mischpult" >/dev/null && fail "loading showed a message: $(PROBE message-box-text "Zentra Mischpult")"
texts=$(PROBE list-texts "Analog Output")
[ "$(grep $'\t &Analog Input\t' <<<"$texts" | grep -c ' checked')" = 2 ] \
  || fail "the window does not show the analog input on both cards: $(grep 'Analog Input' <<<"$texts")"
e2e_shot_window "Analog Output" changed_state
pass "loading the changed file set both cards and the open window follows"

# Back to the saved set-up.
mark=$(trace_mark)
dialog=$(choose_from_system_menu 1 menu_load_again) || fail "the load item opened no open dialog"
PROBE file-dialog "$dialog" "Tracking.zmx" || fail "could not answer the open dialog"
e2e_wait_gone "$dialog" 5 || fail "the open dialog stayed"
sleep 1.5
PROBE window-exists "Zentra Mischpult" >/dev/null && fail "loading showed a message: $(PROBE message-box-text "Zentra Mischpult")"
sets=$(sets_after "$mark")
# The last write of each message to each device, as the driver took it (an
# output source's spare byte goes back as the driver has it: any).
while read -r slot message dw1; do
  last=$(awk -v s="$slot" -v m="$message" '$1 == s && $2 == m' <<<"$sets" | tail -1)
  [[ "$last" =~ ^$slot\ $message\ $dw1\ 0$ ]] \
    || fail "slot $slot $message: expected $dw1 taken, the trace has '${last:-nothing}'"
done <<'EXPECTED'
0 0x4035 0x00020100
1 0x4035 0x00010101
0 0x400B 0x[0-9A-F]{2}060504
0 0x0011 0x11112222
0 0x4002 0xFFFF0000
1 0x400B 0x[0-9A-F]{2}000001
1 0x400E 0x00000020
6 0x4035 0x00000100
7 0x4035 0x00000101
6 0x400B 0x[0-9A-F]{2}010001
6 0x0011 0x0000FFFF
6 0x4002 0x00000000
7 0x400B 0x[0-9A-F]{2}000000
7 0x400E 0x00000020
EXPECTED
pass "the trace shows every value of the saved set-up sent back and taken: $(wc -l <<<"$sets") writes"

texts=$(PROBE list-texts "Analog Output")
# One source checked per card (the strips' order among the children is the
# system's): ADAT input on card 1, the digital output on card 2.
checked=$(grep -E $'^Button\t (Anwender&programm|Di&gital Output|&Analog Input|Digital &Input|A&dat Input)\t' \
            <<<"$texts" | grep ' checked$' | cut -f2 | sort | tr '\n' '|')
[ "$checked" = " A&dat Input| Di&gital Output|" ] \
  || fail "the window does not show card 1 on ADAT input and card 2 on the digital output: $checked"
e2e_shot_window "Analog Output" restored_state
pass "the open Analog Output window shows the loaded set-up"
e2e_app_running || fail "the program ended"
