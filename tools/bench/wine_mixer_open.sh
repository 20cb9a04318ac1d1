#!/usr/bin/env bash
# Prints how long the Wine build takes to construct and show one mixer window
# on four simulated cards (see wine_open_all.sh, which times them all).
# Usage: tools/bench/wine_mixer_open.sh [dist folder] [box caption] [window caption]
# (default: the "Analog Inputs" box and the "Analog Input" window).
root=$(cd "$(dirname "$0")/../.." && pwd)
exec bash "$root/tools/bench/wine_open_all.sh" "${1:-$root/dist}" \
  "${2:-Analog Inputs}=${3:-Analog Input}"
