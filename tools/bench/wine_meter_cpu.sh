#!/usr/bin/env bash
# Prints what metering costs under Wine, as a ratio to the least it can cost
# on this machine at the same time. Each round, in one prefix and display:
#   program  the program runs on four simulated cards with the chosen mixer
#            windows open and metering;
#   floor    the timer floor runs instead: as many windows as mixer windows
#            were open, each with the same two periodic timers (40 ms, 100 ms)
#            whose callbacks post the same messages, handled with nothing;
#   quiet    the floor's windows without their timers: what the prefix costs
#            with a program that only waits (its desktop and services).
# Every process of the prefix (the program or the floor, the Wine server,
# winedevice.exe, explorer.exe, ...) and the X server is counted and named,
# from utime + stime of /proc/<pid>/stat. The rounds alternate; at the end
# the medians, with the spread (min to max), of each phase and of the ratio
# program / floor, the medians per process, and the program's paint figures
# (windowless controls painted -- the meters' segments --, window paints,
# repaint requests) with the CPU per repainted segment.
#
# Usage: tools/bench/wine_meter_cpu.sh [--window BOX[=CAPTION][@WIDTH]]... [--seconds N]
#                                       [--runs N] [--cards N] [--screen WxH] [--dist FOLDER] [--profile]
#   --window   a box of the control window to tick (default "Analog Inputs");
#              CAPTION is the caption of the window it opens (default: the
#              box's text without its plural s, "Analog Inputs" -> "Analog Input",
#              but "ADAT Inputs" and "ADAT Outputs" as they are);
#              WIDTH the outer width it is given, so that every card's strip
#              shows (default with four cards: the widest the window allows,
#              from the table below; else as it opens)
#   --seconds  how long each phase is measured (default 10)
#   --runs     rounds (default 5)
#   --cards    simulated cards (default 4)
#   --screen   size of the X screen and the Wine desktop (default 1024x768);
#              given, the windows are laid out side by side in rows from the
#              top left corner so that none covers another where they fit
#   --profile  after the rounds, one more program phase and one floor phase
#              under perf (every counted process): per process and module,
#              the share of one core each phase spends there, and the
#              difference, so that what the program adds above the floor is
#              seen module by module
# E2E_BUILD=sim measures the x86_64 build (default: the shipped program).
root=$(cd "$(dirname "$0")/../.." && pwd)
dist="$root/dist"
seconds=10
runs=5
cards=4
profile=no
windows=()
screen=""
while [ $# -gt 0 ]; do
  case "$1" in
    --window) windows+=("$2"); shift 2 ;;
    --seconds) seconds=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --cards) cards=$2; shift 2 ;;
    --dist) dist=$2; shift 2 ;;
    --screen) screen=$2; shift 2 ;;
    --profile) profile=yes; shift ;;
    *) echo "usage: $0 [--window BOX[=CAPTION][@WIDTH]]... [--seconds N] [--runs N] [--cards N]" \
            "[--screen WxH] [--dist FOLDER] [--profile]" >&2
       exit 2 ;;
  esac
done
[ ${#windows[@]} -gt 0 ] || windows=("Analog Inputs")
[ -z "$screen" ] || export WINE_ENV_SCREEN=$screen

source "$root/tools/e2e/e2e_lib.sh" "$dist" "$root/build/bench/wine_meter_cpu"
source "$root/tools/bench/cpu_sample.sh"
floor_exe="$E2E_DIST/zentra_timer_floor.exe"
[ "$E2E_BUILD" = product ] && floor_exe="$E2E_DIST/standin/zentra_timer_floor.exe"
[ -f "$floor_exe" ] || fail "no timer floor program $floor_exe"
# Its own folder: the floor takes the system's wave layer, not the stand-in's.
mkdir -p "$E2E_WORK/floor"
cp "$floor_exe" "$E2E_WORK/floor/"
results="$E2E_WORK/results"
rm -rf "$results"; mkdir -p "$results"

# The widest each mixer window may be made with four cards.
declare -A widest=(["Analog Input"]=564 ["Digital Input"]=560 ["Analog Output"]=796
                   ["Digital Output"]=592 ["ADAT Inputs"]=1272 ["ADAT Outputs"]=1272)
# The ADAT windows keep the plural in their captions.
declare -A caption_of=(["ADAT Inputs"]="ADAT Inputs" ["ADAT Outputs"]="ADAT Outputs")

open_windows() {
  captions=()
  local entry width box caption height
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
  [ -n "$screen" ] || return 0
  # Rows from the top left corner, each window right of the one before; a
  # window that does not fit beside it starts a new row below the tallest.
  local screen_width=${screen%x*} x=0 y=0 row_height=0 w h
  for caption in "${captions[@]}"; do
    read -r _ _ w h <<<"$(PROBE rect "$caption")"
    if [ $((x + w)) -gt "$screen_width" ] && [ "$x" -gt 0 ]; then
      x=0; y=$((y + row_height)); row_height=0
    fi
    PROBE move "$caption" "$x" "$y" || fail "could not move \"$caption\""
    x=$((x + w)); [ "$h" -le "$row_height" ] || row_height=$h
  done
}

# Measures every process of the run for the given seconds into
# $results/<phase>.<round> (per name) and prints the together figure.
measure() {  # phase round
  local before="$results/$1.$2.before" after="$results/$1.$2.after" t0 t
  cpu_snapshot "$before"
  t0=$(date +%s.%N)
  sleep "$seconds"
  cpu_snapshot "$after"
  t=$(echo "$(date +%s.%N) - $t0" | bc)
  cpu_by_name "$before" "$after" "$t" >"$results/$1.$2"
  echo "$t" >"$results/$1.$2.seconds"
  awk '$1 == "together" { print $2 }' "$results/$1.$2"
}

start_floor() {  # timers|quiet
  local count=${#windows[@]} mode=$1
  if [ "$E2E_BUILD" = product ]; then
    (cd "$E2E_WORK/floor" && exec "$E2E_WINE" zentra_timer_floor.exe "$mode" "$count") \
      >"$E2E_WORK/floor.log" 2>&1 &
  else
    (cd "$E2E_WORK/floor" && exec "$E2E_WINE" explorer "/desktop=Zentra,${WINE_ENV_SCREEN:-1024x768}" \
       zentra_timer_floor.exe "$mode" "$count") >"$E2E_WORK/floor.log" 2>&1 &
  fi
  floor_pid=$!
  PROBE wait-window "Timer Floor" 30000 >/dev/null || fail "the timer floor did not open"
}

stop_floor() {
  PROBE post-message "Timer Floor" 16 0 0 >/dev/null 2>&1 || true
  local i
  for i in $(seq 1 40); do PROBE process-exists zentra_timer_floor.exe >/dev/null 2>&1 || break; sleep 0.25; done
  kill "$floor_pid" 2>/dev/null || true
  settle
}

# Waits until every process of the prefix has ended (the desktop goes with
# the last program), so that the next phase starts a desktop of its own
# instead of landing on one that is closing.
settle() { timeout 60 wineserver -w 2>/dev/null || true; }

echo "metering: ${windows[*]}; $cards cards; $E2E_EXE ($E2E_BUILD build); $runs rounds of $seconds s per phase"
for round in $(seq 1 "$runs"); do
  rm -f "$(e2e_ini)"  # each round starts as the first: no window opens by itself
  e2e_start_on_cards "$cards"
  open_windows
  sleep 2  # let the windows settle (first paints, placement)
  if [ "$round" = 1 ]; then
    for caption in "${captions[@]}"; do e2e_shot_window "$caption" "${caption// /_}"; done
    e2e_shot all
  fi
  # The probe's runs (a Wine process each) stay outside the measured time.
  read -r w0 p0 i0 <<<"$(PROBE paint-statistics Zentra)" || fail "no paint figures"
  program=$(measure program "$round")
  read -r w1 p1 i1 <<<"$(PROBE paint-statistics Zentra)" || fail "no paint figures"
  t=$(cat "$results/program.$round.seconds")
  awk -v w=$((w1 - w0)) -v p=$((p1 - p0)) -v i=$((i1 - i0)) -v t="$t" \
    'BEGIN { printf "%.1f %.1f %.1f\n", w / t, p / t, i / t }' >"$results/paints.$round"
  PROBE post-message frmMain 16 0 0 >/dev/null || fail "could not end the program"
  e2e_wait_exit 20 || fail "the program did not end"
  settle

  start_floor timers
  sleep 2
  floor=$(measure floor "$round")
  stop_floor
  start_floor quiet
  sleep 2
  idle=$(measure quiet "$round")
  stop_floor
  awk -v r="$round" -v a="$program" -v f="$floor" -v i="$idle" 'BEGIN {
    printf "round %d: program %.2f%%  floor %.2f%%  ratio %.2f  quiet %.2f%%\n", r, a, f, (f > 0 ? a / f : 0), i }'
done

# Medians and spreads.
median_spread() {  # values on stdin
  sort -n | awk '{ v[NR] = $1 } END { printf "median %.2f (%.2f to %.2f)", v[int((NR + 1) / 2)], v[1], v[NR] }'
}
together() { awk '$1 == "together" { print $2 }' "$results/$1.$2"; }
echo "--- $runs rounds, shares of one core, every process of the prefix and the X server"
for phase in program floor quiet; do
  printf "%-8s %s%%\n" "$phase" "$(for r in $(seq 1 "$runs"); do together "$phase" "$r"; done | median_spread)"
done
printf "ratio    %s  (program / floor)\n" \
  "$(for r in $(seq 1 "$runs"); do echo "$(together program "$r") $(together floor "$r")" \
       | awk '{ print ($2 > 0 ? $1 / $2 : 0) }'; done | median_spread)"
for phase in program floor quiet; do
  echo "per process, $phase (median %):"
  for r in $(seq 1 "$runs"); do cat "$results/$phase.$r"; done \
    | awk '$1 != "together" { print $1 }' | sort -u | while read -r name; do
    m=$(for r in $(seq 1 "$runs"); do
          awk -v n="$name" '$1 == n { v = $2 } END { print v + 0 }' "$results/$phase.$r"; done | median_spread)
    echo "  $name $m"
  done | sort -k3 -rn | awk '$3 + 0 >= 0.01 || NR <= 6'
done
w=$(cat "$results"/paints.* | awk '{ print $1 }' | median_spread)
p=$(cat "$results"/paints.* | awk '{ print $2 }' | median_spread)
echo "painted: windowless controls/s $w; window paints/s $p"
printf "CPU per repainted segment (program phase, all processes): %s us\n" \
  "$(for r in $(seq 1 "$runs"); do
       echo "$(together program "$r") $(awk '{ print $1 }' "$results/paints.$r")" \
         | awk '{ print ($2 > 0 ? 1e4 * $1 / $2 : 0) }'; done | median_spread)"
printf "CPU per repainted segment above the floor: %s us\n" \
  "$(for r in $(seq 1 "$runs"); do
       echo "$(together program "$r") $(together floor "$r") $(awk '{ print $1 }' "$results/paints.$r")" \
         | awk '{ print ($3 > 0 ? 1e4 * ($1 - $2) / $3 : 0) }'; done | median_spread)"

[ "$profile" = yes ] || exit 0
command -v perf >/dev/null || fail "--profile needs perf"
# Samples per process and module, as the share of one core over the phase.
profile_rate=2999
profile_phase() {  # phase
  cpu_snapshot "$results/$1.pids"
  perf record -q -F "$profile_rate" -p "$(awk '{ print $1 }' "$results/$1.pids" | paste -sd,)" \
    -o "$results/$1.perf" -- sleep "$seconds" >/dev/null 2>&1 || fail "perf could not record"
  perf report -q -i "$results/$1.perf" --stdio -n --sort comm,dso 2>/dev/null \
    | awk -v f="$profile_rate" -v s="$seconds" 'NF >= 4 {
        dso = $4; for (k = 5; k <= NF; ++k) dso = dso " " $k
        if (dso ~ /^\[JIT\]/) dso = "[JIT] (code of the exe itself)"
        printf "%s|%s|%.3f\n", $3, dso, 100 * $2 / f / s }' >"$results/$1.profile"
}
rm -f "$(e2e_ini)"
e2e_start_on_cards "$cards"
open_windows
sleep 2
profile_phase program
PROBE post-message frmMain 16 0 0 >/dev/null || fail "could not end the program"
e2e_wait_exit 20 || fail "the program did not end"
settle
start_floor timers
sleep 2
profile_phase floor
stop_floor
echo "--- profile ($seconds s each, share of one core): program  floor  added  process|module"
# The program's process and the floor's are set side by side as "program".
awk -F'|' '
  { name = $1 }
  name ~ /^ZentraManager/ || name ~ /^zentra_timer/ { name = "program" }
  FILENAME ~ /program.profile$/ { a[name "|" $2] += $3 } FILENAME ~ /floor.profile$/ { b[name "|" $2] += $3 }
  END {
    for (k in a) keys[k]; for (k in b) keys[k]
    for (k in keys) if (a[k] + b[k] >= 0.02) printf "%6.2f %6.2f %+6.2f  %s\n", a[k], b[k], a[k] - b[k], k
  }' "$results/program.profile" "$results/floor.profile" | sort -k3 -gr
