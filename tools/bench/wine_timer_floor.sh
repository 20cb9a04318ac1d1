#!/usr/bin/env bash
# Prints the least that metering can cost under Wine on this machine, to set
# wine_meter_cpu.sh's figures against: zentra_timer_floor runs the mixer
# windows' two multimedia timers (40 ms and 100 ms, 35 posted messages a
# second) in a window of its own, in its own prefix and display, and the
# CPU time of it, the Wine server and the X server is taken over that time.
#   timers  the messages are handled with nothing
#   paint   each message also fills one segment's rectangle through the
#           window's device context
#
# Usage: tools/bench/wine_timer_floor.sh [--mode timers|paint] [--seconds N] [--dist FOLDER]
root=$(cd "$(dirname "$0")/../.." && pwd)
dist="$root/dist"
seconds=10
mode=timers
while [ $# -gt 0 ]; do
  case "$1" in
    --mode) mode=$2; shift 2 ;;
    --seconds) seconds=$2; shift 2 ;;
    --dist) dist=$2; shift 2 ;;
    *) echo "usage: $0 [--mode timers|paint] [--seconds N] [--dist FOLDER]" >&2; exit 2 ;;
  esac
done
case "$mode" in timers|paint) ;; *) echo "unknown mode: $mode" >&2; exit 2 ;; esac
[ -f "$dist/zentra_timer_floor.exe" ] || { echo "no $dist/zentra_timer_floor.exe" >&2; exit 2; }

E2E_BUILD=sim  # the timer program is built for x86_64 only
source "$root/tools/e2e/e2e_lib.sh" "$dist" "$root/build/bench/wine_timer_floor"
source "$root/tools/bench/cpu_sample.sh"
cp "$dist/zentra_timer_floor.exe" "$APP_DIR/"
(cd "$APP_DIR" && exec "$WINE" explorer "/desktop=Zentra,${WINE_ENV_SCREEN:-1024x768}" \
   zentra_timer_floor.exe "$mode") >"$E2E_WORK/app.log" 2>&1 &
APP_PID=$!
PROBE wait-window "Timer Floor" 30000 || fail "the timer floor window did not open"
sleep 2  # let the desktop settle

floor_pid=$(e2e_linux_pid zentra_timer_floor.exe) || fail "the floor program's process was not found"
server_pid=$(e2e_linux_pid 'wineserver*') || fail "the Wine server was not found"
x_pid=$_wine_xvfb_pid
a0=$(cpu_ticks "$floor_pid"); s0=$(cpu_ticks "$server_pid"); x0=$(cpu_ticks "$x_pid")
t0=$(date +%s.%N)
sleep "$seconds"
a1=$(cpu_ticks "$floor_pid"); s1=$(cpu_ticks "$server_pid"); x1=$(cpu_ticks "$x_pid")
t=$(echo "$(date +%s.%N) - $t0" | bc)
echo "timer floor ($mode): 35 timer messages/s; $(printf '%.1f' "$t") s (wine64, Xvfb)"
echo "CPU of one core: program $(cpu_percent $((a1 - a0)) "$t")%" \
     " wineserver $(cpu_percent $((s1 - s0)) "$t")%  Xvfb $(cpu_percent $((x1 - x0)) "$t")%" \
     " together $(cpu_percent $((a1 - a0 + s1 - s0 + x1 - x0)) "$t")%"
