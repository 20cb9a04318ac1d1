#!/usr/bin/env bash
# Runs the toolkit demo under wine64 in a Wine virtual desktop on its own
# Xvfb display: first the backend checks, then the demo window (and the about
# box, when built in) for screenshots. Stops everything it started.
#   run.sh [work folder] [screenshot folder]
# The demo is the one scripts/build-windows.sh built into dist/.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(realpath -m "${1:-$root/build/toolkit-demo}")
shots=$(realpath -m "${2:-$work/screenshots}")
exe="$root/dist/toolkit_demo.exe"
[ -f "$exe" ] || "$root/scripts/build-windows.sh" >/dev/null || exit 2
mkdir -p "$shots"
source "$root/scripts/wine-env.sh"
trap wine_env_stop EXIT
wine_env_start "$work/wine/run"
cd "$root/tools/toolkit-demo"

status=0
"$WINE" "$exe" --check demo.wnd || status=$?
echo "checks: exit $status"

# Windows shown inside one Wine virtual desktop, which draws their frames.
desktop() { "$WINE" explorer /desktop=Zentra,1024x768 "$@" >/dev/null 2>&1 & }
desktop "$exe" demo.wnd
sleep 4
import -window root "$shots/toolkit-demo.png"
desktop "$exe" --about
sleep 3
import -window root "$shots/about-box.png"
echo "screenshots in $shots"
exit $status
