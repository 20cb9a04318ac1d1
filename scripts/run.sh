#!/usr/bin/env bash
# Runs Zentra Manager on two simulated cards: the shipped program,
# dist/ZentraManager.exe, unchanged, under 32-bit Wine in Windows 98 mode,
# with the stand-in driver modules (winmm.dll beside it, Zentra.DRV in the
# system folder) in place of the card's driver, inside the prefix's virtual
# desktop, which provides the notification area. RUN_BUILD=sim runs the
# x86_64 build on wine64 instead.
# Without a display it starts Xvfb, walks every window, writes screenshots
# into out/screenshots and closes the program again.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build-windows.sh"
build=${RUN_BUILD:-product}

work="$root/build/run"
mkdir -p "$work/app"
[ -f "$work/app/ZentraSim.ini" ] || cp "$root/docs/ZentraSim.example.ini" "$work/app/ZentraSim.ini"

source "$root/scripts/wine-env.sh"
headless=yes
[ -n "${DISPLAY:-}" ] && headless=no
trap wine_env_stop EXIT
trap 'exit 1' INT TERM
use_display=yes
[ "$headless" = yes ] && use_display=no

cd "$work/app"
if [ "$build" = product ]; then
  wine32_available || { echo "This machine cannot run 32-bit Windows programs (no 32-bit Wine)."; exit 1; }
  wine32_env_start "$work" "$use_display"
  cp "$root/dist/ZentraManager.exe" "$root/dist/standin/winmm.dll" "$root/dist/standin/zentra_probe.exe" .
  cp "$root/dist/standin/Zentra.DRV" "$(wine_windows_dir)/system/"
  export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winmm=n,b"
  export WINE="$WINE32"
  "$WINE" ZentraManager.exe &
else
  wine_env_start "$work" "$use_display"
  cp "$root/dist/ZentraManagerSim.exe" "$root/dist/zentra_probe.exe" .
  "$WINE" explorer /desktop=Zentra,1024x768 ZentraManagerSim.exe &
fi
app=$!

if [ "$headless" = no ]; then
  echo "Zentra Manager is running in the Wine desktop window: double-click its icon in the task bar."
  wait "$app" || true
  exit 0
fi

shots="$root/out/screenshots"
mkdir -p "$shots"
"$root/scripts/demo-walk.sh" "$shots" || true
echo "Screenshots are in $shots"
# Closing the hidden main window ends the program as the end of a session does.
"$WINE" zentra_probe.exe post-message frmMain 16 0 0 >/dev/null 2>&1 || true
for _ in $(seq 1 80); do kill -0 "$app" 2>/dev/null || break; sleep 0.25; done
if kill -0 "$app" 2>/dev/null; then
  echo "Zentra Manager did not end within 20 s; it is stopped."
else
  status=0
  wait "$app" || status=$?
  echo "Zentra Manager ended with exit code $status."
fi
