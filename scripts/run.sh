#!/usr/bin/env bash
# Runs Zentra Manager (the Wine build on the simulated driver, two cards)
# inside a Wine virtual desktop, which provides the notification area.
# Without a display it starts Xvfb, writes screenshots into out/screenshots
# and stops the program again.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build-windows.sh"

work="$root/build/run"
mkdir -p "$work/app"
cp "$root/dist/ZentraManagerSim.exe" "$root/dist/zentra_probe.exe" "$work/app/"
[ -f "$work/app/ZentraSim.ini" ] || cp "$root/docs/ZentraSim.example.ini" "$work/app/ZentraSim.ini"

source "$root/scripts/wine-env.sh"
headless=yes
[ -n "${DISPLAY:-}" ] && headless=no
trap wine_env_stop EXIT
trap 'exit 1' INT TERM
if [ "$headless" = no ]; then wine_env_start "$work" yes; else wine_env_start "$work"; fi

cd "$work/app"
"$WINE" explorer /desktop=Zentra,1024x768 ZentraManagerSim.exe &
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
