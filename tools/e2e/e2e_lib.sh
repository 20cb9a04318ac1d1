# Common steps of the Wine end-to-end tests. A test script sources this with
#   source "$(dirname "$0")/../../tools/e2e/e2e_lib.sh" "$@"     (arguments: dist folder, work folder)
# and gets: the program copied into $APP_DIR, a private prefix and display,
# the probe ($PROBE ...), screenshots, and cleanup on exit.
#
# E2E_BUILD says which build runs (set it before sourcing):
#   product (default)  dist/ZentraManager.exe, the shipped program, unchanged, under 32-bit
#                      Wine in Windows 98 mode on the simulated cards of the stand-in driver
#                      modules (dist/standin: winmm.dll beside it, Zentra.DRV in the system
#                      folder); on a machine that cannot run 32-bit programs the test is
#                      skipped (exit 77)
#   sim                dist/ZentraManagerSim.exe, the x86_64 build on the simulated driver it
#                      links, under wine64 (and the toolkit demo)
set -euo pipefail
mkdir -p "$1" "$2"
E2E_DIST=$(cd "$1" && pwd)
E2E_WORK=$(cd "$2" && pwd)
E2E_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$E2E_ROOT/scripts/wine-env.sh"
E2E_BUILD=${E2E_BUILD:-product}

rm -rf "$E2E_WORK/app" "$E2E_WORK/wineprefix" "$E2E_WORK/wineprefix32" "$E2E_WORK/shots"
mkdir -p "$E2E_WORK/app" "$E2E_WORK/shots"
APP_DIR="$E2E_WORK/app"
APP_PID=""
e2e_stop() {
  [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null || true
  wine_env_stop
}
trap 'e2e_stop' EXIT
trap 'exit 1' INT TERM  # (the EXIT trap then stops what the test started)
if [ "$E2E_BUILD" = product ]; then
  if ! wine32_available; then
    echo "SKIP: this machine cannot run 32-bit Windows programs (no 32-bit Wine)"
    exit 77
  fi
  E2E_EXE=ZentraManager.exe
  E2E_WINE=$WINE32
  cp "$E2E_DIST/ZentraManager.exe" "$E2E_DIST/standin/winmm.dll" "$E2E_DIST/standin/zentra_probe.exe" \
     "$APP_DIR/"
  wine32_env_start "$E2E_WORK"
  # The stand-in driver module where the system's launcher finds it, and the
  # stand-in wave layer taken from the program's folder before the system's.
  cp "$E2E_DIST/standin/Zentra.DRV" "$(wine_windows_dir)/system/"
  export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winmm=n,b"
else
  E2E_EXE=ZentraManagerSim.exe
  E2E_WINE=$WINE
  cp "$E2E_DIST/ZentraManagerSim.exe" "$E2E_DIST/zentra_probe.exe" "$APP_DIR/"
  wine_env_start "$E2E_WORK"
fi

fail() { echo "FAIL: $*"; e2e_shot failure; exit 1; }
pass() { echo "PASS: $*"; }

# Writes the scenario file of the simulated cards (stdin).
e2e_scenario() { cat >"$APP_DIR/ZentraSim.ini"; }

# Starts the program inside a Wine virtual desktop (which has a task bar with
# a notification area) as large as the screen (WINE_ENV_SCREEN). The 32-bit
# prefix has its desktop in its registry, so the program is started itself
# and its exit code comes back (e2e_exit_code).
e2e_start() {
  rm -f "$E2E_WORK/exit-code"
  if [ "$E2E_BUILD" = product ]; then
    (cd "$APP_DIR" && "$E2E_WINE" "$E2E_EXE"; echo $? >"$E2E_WORK/exit-code") \
      >"$E2E_WORK/app.log" 2>&1 &
  else
    (cd "$APP_DIR" && exec "$WINE" explorer "/desktop=Zentra,${WINE_ENV_SCREEN:-1024x768}" \
       "$E2E_EXE") \
      >"$E2E_WORK/app.log" 2>&1 &
  fi
  APP_PID=$!
}

# The program's exit code once it has ended (product build only).
e2e_exit_code() {
  local i
  for i in $(seq 1 40); do
    [ -s "$E2E_WORK/exit-code" ] && { cat "$E2E_WORK/exit-code"; return 0; }
    sleep 0.25
  done
  return 1
}

# Runs the probe inside the same prefix and display.
# (Wine's console output ends lines with CR LF; the CRs are dropped.)
# With pipefail the status is the probe's.
PROBE() { (cd "$APP_DIR" && "$E2E_WINE" zentra_probe.exe "$@") | tr -d '\r'; }

# Is the program's process still alive in the prefix?
e2e_app_running() { PROBE process-exists "$E2E_EXE" >/dev/null 2>&1; }

e2e_wait_exit() {  # seconds
  local i
  for i in $(seq 1 $(( $1 * 4 ))); do
    e2e_app_running || return 0
    sleep 0.25
  done
  return 1
}

# Waits until the notification area holds that many icons. Each look is a
# fresh probe: one that keeps running stays joined to a desktop that may
# already be closing.
e2e_wait_tray() {  # count seconds
  local i
  for i in $(seq 1 $(( $2 * 2 ))); do
    local n; n=$(PROBE tray-icon-count 2>/dev/null)
    [ "$n" = "$1" ] && return 0
    sleep 0.5
  done
  return 1
}

e2e_shot() {  # name
  import -display "$DISPLAY" -window root "$E2E_WORK/shots/$1.png" 2>/dev/null || true
}

# Centre of a "left top width height" rectangle, as "x y".
e2e_centre() { local l t w h; read -r l t w h <<<"$1"; echo "$((l + w / 2)) $((t + h / 2))"; }

# The screen rectangle of a window's visible child with that text. Asked
# again for up to ten seconds: with two Wine tests side by side on a busy
# machine the program may not answer the probe's text queries in time, and
# one unanswered query is not a missing child.
e2e_child_rect() {  # window-caption child-text
  local i
  for i in $(seq 1 40); do
    PROBE rect "$1" "$2" && return 0
    sleep 0.25
  done
  return 1
}

# A real mouse click (xdotool) at the centre of a child window found by its text.
e2e_click_child() {  # window-caption child-text
  local rect x y
  rect=$(e2e_child_rect "$1" "$2") || return 1
  read -r x y <<<"$(e2e_centre "$rect")"
  xdotool mousemove "$x" "$y" click 1
}

# A real double click on the program's icon in the notification area.
e2e_double_click_tray() {
  local rect x y
  rect=$(PROBE tray-icon-rect 0) || return 1
  read -r x y <<<"$(e2e_centre "$rect")"
  xdotool mousemove "$x" "$y" click --repeat 2 --delay 80 1
}

# Starts the program, waits for its tray icon and opens the control window
# with a real double click on the icon, as a user does.
e2e_open_control_window() {
  e2e_start
  PROBE wait-tray-icon 1 20000 || fail "no tray icon appeared"
  e2e_double_click_tray
  PROBE wait-window Zentra 10000 || fail "a double click on the tray icon did not open the control window"
}

# Starts the program on that many simulated cards and opens the control
# window with its tray message: where the benchmarks measure from.
e2e_start_on_cards() {  # cards
  printf '[Cards]\nCount=%s\n' "$1" | e2e_scenario
  e2e_start
  PROBE wait-tray-icon 1 30000 || fail "no tray icon"
  PROBE send-message Zentra 1126 0 515 >/dev/null
  PROBE wait-window Zentra 10000 || fail "no control window"
}

# Ticks a box of the control window with a real click and waits for the
# window it opens.
e2e_open_from_box() {  # box caption, window caption
  e2e_click_child Zentra "$1" || fail "no $1 box"
  PROBE wait-window "$2" 10000 || fail "the $1 box did not open the window \"$2\""
}

# The median gap in milliseconds between successive trace lines (stdin: their
# time stamps, one per line, in order).
e2e_median_gap() {
  awk 'NR > 1 { print $1 - last } { last = $1 }' | sort -n \
    | awk '{ gap[NR] = $1 } END { print gap[int((NR + 1) / 2)] }'
}

# The polls of a trace as one line each: the slots that got the message, in
# order, a new poll starting at slot 2 (the first ADAT pair of card 1).
e2e_poll_runs() {  # trace, message
  awk -v msg="$2" '$2 == "msg" && $6 == msg { if ($5 == 2 && run != "") { print run; run = "" }
                                               run = run (run == "" ? "" : " ") $5 }
                   END { if (run != "") print run }' "$1"
}

# A real click on the close box of a window's caption bar.
e2e_click_close_box() {  # caption
  local l t w h
  read -r l t w h <<<"$(PROBE rect "$1")" || return 1
  xdotool mousemove $((l + w - 13)) $((t + 12)) click 1
}

e2e_wait_gone() {  # caption seconds
  local i
  for i in $(seq 1 $(( $2 * 4 ))); do
    PROBE window-exists "$1" >/dev/null 2>&1 || return 0
    sleep 0.25
  done
  return 1
}

# Screenshot of one window's rectangle.
e2e_shot_window() {  # caption name
  local l t w h
  read -r l t w h <<<"$(PROBE rect "$1")" || return 1
  import -display "$DISPLAY" -window root -crop "${w}x${h}+${l}+${t}" +repage \
    "$E2E_WORK/shots/$2.png" 2>/dev/null
}

# The Linux process id of a process of this run: the first word of its
# command line ends with the name (a shell pattern), and the prefix in its
# environment is this run's.
e2e_linux_pid() {  # name pattern
  local d first
  for d in /proc/[0-9]*; do
    first=$(tr '\0' '\n' <"$d/cmdline" 2>/dev/null | head -n 1) || continue
    first=${first##*[/\\]}
    [[ "$first" == $1 ]] || continue
    tr '\0' '\n' <"$d/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" \
      && { echo "${d#/proc/}"; return 0; }
  done
  return 1
}

# The program's INI file in the prefix's Windows directory.
e2e_ini() { echo "$(wine_windows_dir)/Zudovodiv.ini"; }

# The toolkit demo (tools/toolkit-demo) beside the program: a window with
# every kind of control, for the tests of the native widget backend.
E2E_DEMO_TITLE="Zentra Toolkit Demo"
e2e_copy_demo() {
  cp "$E2E_DIST/toolkit_demo.exe" "$E2E_ROOT/tools/toolkit-demo/demo.wnd" "$APP_DIR/"
}

# Shows the demo window inside a Wine virtual desktop, as e2e_start does
# with the program.
e2e_start_demo() {
  e2e_copy_demo
  (cd "$APP_DIR" && exec "$E2E_WINE" explorer /desktop=Zentra,1024x768 toolkit_demo.exe demo.wnd) \
    >"$E2E_WORK/demo.log" 2>&1 &
  APP_PID=$!
}

# Screen rectangle ("left top width height") of the child window of a
# top-level window that has no text and the given size, such as a panel
# without caption. Fails unless exactly one such child is there.
e2e_rect_by_size() {  # window-caption width height
  PROBE list-windows | awk -v caption="\"$1\"" -v size="$2x$3" '
    /^[^ ]/ { inside = index($0, caption) > 0; next }
    inside && $2 == "\"\"" && $NF == size {
      split($(NF - 1), at, ","); split($NF, wh, "x"); print at[1], at[2], wh[1], wh[2]; n++ }
    END { exit n == 1 ? 0 : 1 }'
}
