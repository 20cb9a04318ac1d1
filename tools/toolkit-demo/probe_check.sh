#!/usr/bin/env bash
# Checks zentra_probe against the toolkit demo under wine64 (probe_checks.sh)
# on a private Wine prefix and Xvfb display.
#   probe_check.sh <toolkit_demo.exe> <zentra_probe.exe> [work folder]
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
[ $# -ge 2 ] || { echo "usage: probe_check.sh <toolkit_demo.exe> <zentra_probe.exe> [work folder]"; exit 2; }
demo=$(realpath "$1")
probe=$(realpath "$2")
work=$(realpath -m "${3:-$root/build-h5-win64}")
source "$root/scripts/wine-env.sh"
source "$root/tools/toolkit-demo/probe_checks.sh"
trap wine_env_stop EXIT
wine_env_start "$work/wine/probe"
cd "$root/tools/toolkit-demo"
probe_checks "$demo" "$probe"
