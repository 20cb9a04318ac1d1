#!/usr/bin/env bash
# A source change the driver refuses, under Wine: the card refuses
# every change of its source, so choosing ADAT input shows the refusal box
# and the applications' playback stays checked; the trace shows the refused
# request and the restore.
source "$(dirname "$0")/../../tools/e2e/e2e_lib.sh" "$@"

e2e_scenario <<'INI'
[Driver]
TraceFile=trace.log
[Cards]
Count=1
[Card1]
RefuseSourceChange=1
INI
e2e_open_control_window
e2e_open_from_box "Analog Outputs" "Analog Output"
sleep 1

# A real click: the refusal box is modal and must not hold up the probe.
e2e_click_child "Analog Output" "Adat Input" || fail "no ADAT input button"
PROBE wait-window "Zentra Fehler" 5000 || fail "no refusal box"
text=$(PROBE message-box-text "Zentra Fehler")
grep -q "Kein Adat-Monitoring möglich." <<<"$text" || fail "unexpected refusal text: $text"
grep -q "Das Wiedergabegerät wird durch eine andere Anwendung benutzt." <<<"$text" \
  || fail "the refusal text lacks its second line: $text"
pass "the refusal box says why: $(tr '\n' ' ' <<<"$text")"
e2e_shot refusal_box
PROBE click "Zentra Fehler" "OK" || fail "no OK button in the refusal box"
e2e_wait_gone "Zentra Fehler" 5 || fail "the refusal box stayed"
sleep 0.5

texts=$(PROBE list-texts "Analog Output")
grep $'\t Anwender&programm\t' <<<"$texts" | head -1 | grep -q ' checked' \
  || fail "the applications' playback is not checked again: $(grep Anwender <<<"$texts")"
grep $'\t A&dat Input\t' <<<"$texts" | head -1 | grep -q ' unchecked' \
  || fail "ADAT input stayed checked"
pass "the previous source stays checked"

trace="$APP_DIR/trace.log"
grep -qE "^[0-9]+ msg out 0x[0-9A-F]{8} 0 0x400B 0x[0-9A-F]{6}04 0x00000000 [1-9][0-9]*$" "$trace" \
  || fail "no refused 0x400B with ADAT input in the trace"
refused=$(grep -nE " 0 0x400B 0x[0-9A-F]{6}04 " "$trace" | tail -1 | cut -d: -f1)
tail -n +"$refused" "$trace" | grep -qE "^[0-9]+ msg out 0x[0-9A-F]{8} 0 0x400B 0x[0-9A-F]{6}00 0x00000000 0$" \
  || fail "no restore of the applications' playback after the refusal"
sleep 1.5
grep -qE "^[0-9]+ msg in 0x[0-9A-F]{8} 2 0x4039 " "$trace" || fail "the ADAT metering was not stopped"
pass "the trace shows the refused request and the restore"
e2e_shot_window "Analog Output" after_refusal

# The refusal box up again, the user switches the window off in the control
# window (which a message box leaves usable): the window goes once the box
# is answered, its handler sends nothing more, the program runs on.
e2e_click_child "Analog Output" "Adat Input" || fail "no ADAT input button"
PROBE wait-window "Zentra Fehler" 5000 || fail "no refusal box the second time"
# The box opens in the middle of the screen, over the control window.
PROBE move Zentra 700 40 >/dev/null || fail "could not move the control window aside"
e2e_click_child Zentra "Analog Outputs" || fail "no Analog Outputs box"
sleep 0.5
PROBE click "Zentra Fehler" "OK" || fail "no OK button in the refusal box"
e2e_wait_gone "Zentra Fehler" 5 || fail "the refusal box stayed"
e2e_wait_gone "Analog Output" 10 || fail "the window switched off under its box stayed"
sleep 1
e2e_app_running || fail "the program ended (crashed) after the window was switched off under its box"
PROBE list-texts Zentra | grep $'\t Analog Outputs\t' | grep -q ' unchecked' \
  || fail "the Analog Outputs box is still checked"
refused=$(grep -nE " 0 0x400B 0x[0-9A-F]{6}04 " "$trace" | tail -1 | cut -d: -f1)
tail -n +"$((refused + 1))" "$trace" | grep -q " 0x400B " \
  && fail "the handler of the freed window sent another source change: $(tail -n +"$refused" "$trace" | grep 0x400B)"
PROBE send-message frmMain 0 0 0 >/dev/null || fail "the program no longer answers"
e2e_shot switched_off_under_box
pass "switched off under its refusal box: the window is gone, nothing more sent, the program runs on"
