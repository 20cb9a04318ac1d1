#!/usr/bin/env bash
# The long host soak: every mixer window and the settings dialog opened and
# closed ZENTRA_SOAK_CYCLES times (default 1000) through the control window,
# meters running; prints the figures per window. Not part of the CI run
# (the host suite runs a short version of the same test).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build="$root/build/host"
[ -x "$build/test_faults" ] || bash "$root/scripts/build-host.sh"
ZENTRA_SOAK_CYCLES=${ZENTRA_SOAK_CYCLES:-1000} \
  "$build/test_faults" --gtest_filter='Soak.*' | grep -E '^soak|OK|FAILED|Failure|cycle'
