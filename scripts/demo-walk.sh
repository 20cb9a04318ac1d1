#!/usr/bin/env bash
# Walks the first path a user takes, on a display without a person in front
# of it, and keeps screenshots of each step: the tray icon, the control window
# opened by a double-click on it, and the analog input window with its meters.
# Expects DISPLAY, WINEPREFIX and WINE from scripts/wine-env.sh and the
# program started from the current folder (which holds zentra_probe.exe).
set -uo pipefail
shots="$1"
probe() { "$WINE" zentra_probe.exe "$@" | tr -d "\r"; }
shot() { import -display "$DISPLAY" -window root "$shots/$1.png" 2>/dev/null && echo "  $shots/$1.png"; }
centre() {  # "left top width height" -> "x y"
  read -r l t w h <<<"$1"
  echo "$((l + w / 2)) $((t + h / 2))"
}

probe wait-tray-icon 1 30000 || { echo "The tray icon did not appear."; shot no-tray-icon; exit 1; }
shot 1-tray-icon
read -r x y <<<"$(centre "$(probe tray-icon-rect 0)")"
xdotool mousemove "$x" "$y" click --repeat 2 --delay 80 1
probe wait-window Zentra 10000 || { echo "The control window did not open."; shot no-control-window; exit 1; }
sleep 0.5
shot 2-control-window
rect=$(probe rect Zentra "Analog Inputs") || exit 0
read -r x y <<<"$(centre "$rect")"
xdotool mousemove "$x" "$y" click 1
probe wait-window "Analog Input" 10000 || { echo "The analog input window did not open."; exit 0; }
sleep 1
shot 3-analog-input
sleep 1
shot 4-analog-input-a-second-later
