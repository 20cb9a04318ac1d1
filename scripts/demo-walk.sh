#!/usr/bin/env bash
# Walks the program the way a user looks around it, on a display without a
# person in front of it, and keeps one screenshot of each window, cropped to
# the window: the tray icon, the control window opened by a double-click on
# it, each of the six mixer windows with its meters running (opened through its
# box and closed again), and the four pages of the settings dialog.
# Expects DISPLAY, WINEPREFIX and WINE from scripts/wine-env.sh and the
# program started from the current folder (which holds zentra_probe.exe).
set -uo pipefail
shots="$1"
probe() { "$WINE" zentra_probe.exe "$@" | tr -d "\r"; }
shot() { import -display "$DISPLAY" -window root "$shots/$1.png" 2>/dev/null && echo "  $shots/$1.png"; }
shot_rect() {  # "left top width height" name
  local l t w h
  read -r l t w h <<<"$1"
  import -display "$DISPLAY" -window root -crop "${w}x${h}+${l}+${t}" +repage "$shots/$2.png" \
    2>/dev/null && echo "  $shots/$2.png"
}
shot_window() { local r; r=$(probe rect "$1") && shot_rect "$r" "$2"; }
centre() {  # "left top width height" -> "x y"
  read -r l t w h <<<"$1"
  echo "$((l + w / 2)) $((t + h / 2))"
}
click_box() {  # text of a box in the control window
  local rect x y
  rect=$(probe rect Zentra "$1") || return 1
  read -r x y <<<"$(centre "$rect")"
  xdotool mousemove "$x" "$y" click 1
}
gone() {  # caption: wait until the window is closed
  for _ in $(seq 1 40); do probe window-exists "$1" >/dev/null 2>&1 || return 0; sleep 0.25; done
  return 1
}

probe wait-tray-icon 1 30000 || { echo "The tray icon did not appear."; shot no-tray-icon; exit 1; }
read -r bl bt bw bh <<<"$(probe tray-icon-rect 0)"
shot_rect "$((bl - 120)) $((bt - 4)) $((bw + 120)) $((bh + 8))" 01-tray-icon
read -r x y <<<"$(centre "$bl $bt $bw $bh")"
xdotool mousemove "$x" "$y" click --repeat 2 --delay 80 1
probe wait-window Zentra 10000 || { echo "The control window did not open."; shot no-control-window; exit 1; }
sleep 0.5
shot_window Zentra 02-control-window

n=3
for entry in "Analog Inputs:Analog Input:analog-input" "Analog Outputs:Analog Output:analog-output" \
             "Digital Inputs:Digital Input:digital-input" "Digital Outputs:Digital Output:digital-output" \
             "ADAT Inputs:ADAT Inputs:adat-input" "ADAT Outputs:ADAT Outputs:adat-output"; do
  IFS=: read -r box caption name <<<"$entry"
  click_box "$box" || { echo "No box \"$box\"."; continue; }
  if probe wait-window "$caption" 10000 >/dev/null; then
    # As wide as the window goes (it keeps itself to its cards' strips).
    read -r _ _ _ h <<<"$(probe rect "$caption")"
    probe resize "$caption" 3000 "$h" >/dev/null 2>&1 || true
    sleep 1.5  # the meters show the simulated signal
    shot_window "$caption" "$(printf %02d $n)-$name"
  else
    echo "The window \"$caption\" did not open."
  fi
  n=$((n + 1))
  probe close "$caption" >/dev/null  # as its close box does
  gone "$caption" || echo "The window \"$caption\" did not close."
done

dialog="Zentra Einstellungen Karte #1"
click_box "Einstellungen" || exit 0
probe wait-window "$dialog" 10000 >/dev/null || { echo "The settings dialog did not open."; exit 0; }
# The four tabs, 107 pixels wide each, along the top of the 435 x 318 page control.
pages=$(probe list-windows | awk -v caption="\"$dialog\"" '
  /^[^ ]/ { inside = index($0, caption) > 0; next }
  inside && $2 == "\"\"" && $NF == "435x318" { split($(NF - 1), at, ","); print at[1], at[2]; exit }')
read -r pl pt <<<"$pages"
for page in 0 1 2 3; do
  name=(clock devices directsound other)
  [ -n "$pl" ] && xdotool mousemove $((pl + 107 * page + 53)) $((pt + 10)) click 1
  sleep 0.7
  shot_window "$dialog" "$(printf %02d $n)-settings-${name[$page]}"
  n=$((n + 1))
done
