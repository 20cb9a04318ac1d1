#!/usr/bin/env bash
# Prints what metering costs in the Wine build: the program runs on four
# simulated cards in its own prefix and display, the chosen mixer windows are
# opened from the control window and meter for a while; then the CPU time of
# the program, the Wine server and the X server (utime + stime from
# /proc/<pid>/stat) over that time, and the program's own paint figures
# (windowless controls painted -- the meters' segments, not the meters
# beneath them --, window paints -- WM_PAINTs and the direct paints of
# collected repaint requests -- and repaint requests) with the CPU per
# repainted control.
#
# Usage: tools/bench/wine_meter_cpu.sh [--window BOX[=CAPTION][@WIDTH]]... [--seconds N]
#                                       [--cards N] [--screen WxH] [--dist FOLDER]
#   --window   a box of the control window to tick (default "Analog Inputs");
#              CAPTION is the caption of the window it opens (default: the
#              box's text without its plural s, "Analog Inputs" -> "Analog Input",
#              but "ADAT Inputs" and "ADAT Outputs" as they are);
#              WIDTH the outer width it is given, so that every card's strip
#              shows (default with four cards: the widest the window allows,
#              from the table below; else as it opens)
#   --seconds  how long to measure (default 10)
#   --cards    simulated cards (default 4)
#   --screen   size of the X screen and the Wine desktop (default 1024x768);
#              given, the windows are laid out side by side in rows from the
#              top left corner so that none covers another where they fit
root=$(cd "$(dirname "$0")/../.." && pwd)
dist="$root/dist"
seconds=10
cards=4
windows=()
screen=""
while [ $# -gt 0 ]; do
  case "$1" in
    --window) windows+=("$2"); shift 2 ;;
    --seconds) seconds=$2; shift 2 ;;
    --cards) cards=$2; shift 2 ;;
    --dist) dist=$2; shift 2 ;;
    --screen) screen=$2; shift 2 ;;
    *) echo "usage: $0 [--window BOX[=CAPTION][@WIDTH]]... [--seconds N] [--cards N] [--screen WxH]" \
            "[--dist FOLDER]" >&2
       exit 2 ;;
  esac
done
[ ${#windows[@]} -gt 0 ] || windows=("Analog Inputs")
[ -z "$screen" ] || export WINE_ENV_SCREEN=$screen

source "$root/tests/e2e/e2e_lib.sh" "$dist" "$root/build/bench/wine_meter_cpu"
source "$root/tools/bench/cpu_sample.sh"
e2e_start_on_cards "$cards"

# The widest each mixer window may be made with four cards.
declare -A widest=(["Analog Input"]=564 ["Digital Input"]=560 ["Analog Output"]=796
                   ["Digital Output"]=592 ["ADAT Inputs"]=1272 ["ADAT Outputs"]=1272)
# The ADAT windows keep the plural in their captions.
declare -A caption_of=(["ADAT Inputs"]="ADAT Inputs" ["ADAT Outputs"]="ADAT Outputs")
captions=()
for entry in "${windows[@]}"; do
  width=""
  if [[ "$entry" == *@* ]]; then width=${entry##*@}; entry=${entry%@*}; fi
  box=${entry%%=*}
  caption=${entry#*=}
  [ "$caption" != "$entry" ] || caption=${caption_of[$box]:-${box%s}}
  [ -n "$width" ] || { [ "$cards" = 4 ] && width=${widest[$caption]:-}; }
  PROBE click Zentra "$box" >/dev/null || fail "the control window has no box \"$box\""
  PROBE wait-window "$caption" 10000 || fail "\"$box\" did not open a window \"$caption\""
  if [ -n "$width" ]; then
    read -r _ _ _ height <<<"$(PROBE rect "$caption")"
    PROBE resize "$caption" "$width" "$height" || fail "could not size \"$caption\""
  fi
  captions+=("$caption")
done
if [ -n "$screen" ]; then
  # Rows from the top left corner, each window right of the one before; a
  # window that does not fit beside it starts a new row below the tallest.
  screen_width=${screen%x*}
  x=0; y=0; row_height=0
  for caption in "${captions[@]}"; do
    read -r _ _ w h <<<"$(PROBE rect "$caption")"
    if [ $((x + w)) -gt "$screen_width" ] && [ "$x" -gt 0 ]; then
      x=0; y=$((y + row_height)); row_height=0
    fi
    PROBE move "$caption" "$x" "$y" || fail "could not move \"$caption\""
    x=$((x + w)); [ "$h" -le "$row_height" ] || row_height=$h
  done
fi
sleep 2  # let the windows settle (first paints, placement)
for caption in "${captions[@]}"; do
  echo "$caption: $(PROBE rect "$caption")"
  e2e_shot_window "$caption" "${caption// /_}"
done
e2e_shot all

app_pid=$(e2e_linux_pid "$E2E_EXE") || fail "the program's process was not found"
server_pid=$(e2e_linux_pid 'wineserver*') || fail "the Wine server was not found"
x_pid=$_wine_xvfb_pid
[ -n "$x_pid" ] || fail "no Xvfb of this run"

hz=$(getconf CLK_TCK)
# The probe's runs (a Wine process each, costly for the Wine server) stay
# outside the measured time: the paint figures are taken just before and
# just after it.
counts0=$(PROBE gui-counts "$E2E_EXE") || true
read -r w0 p0 i0 <<<"$(PROBE paint-statistics Zentra)" || fail "no paint figures"
a0=$(cpu_ticks "$app_pid"); s0=$(cpu_ticks "$server_pid"); x0=$(cpu_ticks "$x_pid")
t0=$(date +%s.%N)
sleep "$seconds"
a1=$(cpu_ticks "$app_pid"); s1=$(cpu_ticks "$server_pid"); x1=$(cpu_ticks "$x_pid")
t1=$(date +%s.%N)
read -r w1 p1 i1 <<<"$(PROBE paint-statistics Zentra)" || fail "no paint figures"
counts1=$(PROBE gui-counts "$E2E_EXE") || true
echo "program before: $counts0"
echo "program after:  $counts1"

awk -v hz="$hz" -v t="$(echo "$t1 - $t0" | bc)" -v cards="$cards" -v wins="${captions[*]}" -v exe="$E2E_EXE" \
    -v a=$((a1 - a0)) -v s=$((s1 - s0)) -v x=$((x1 - x0)) \
    -v w=$((w1 - w0)) -v p=$((p1 - p0)) -v i=$((i1 - i0)) 'BEGIN {
  pa = 100 * a / hz / t; ps = 100 * s / hz / t; px = 100 * x / hz / t
  printf "windows: %s; %d cards; %.1f s of metering (%s, Xvfb)\n", wins, cards, t, exe
  printf "CPU of one core: program %.2f%%  wineserver %.2f%%  Xvfb %.2f%%  together %.2f%%\n",
         pa, ps, px, pa + ps + px
  printf "painted: %.0f windowless controls/s  %.0f window paints/s  %.0f repaint requests/s\n",
         w / t, p / t, i / t
  if (i > 0)
    printf "CPU per repaint request (all three): %.1f us\n", 1e6 * (a + s + x) / hz / i
  if (w > 0)
    printf "CPU per repainted control (all three): %.1f us  (program alone %.1f us)\n",
           1e6 * (a + s + x) / hz / w, 1e6 * a / hz / w
}'
