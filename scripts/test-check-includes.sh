#!/usr/bin/env bash
# Tests the include-direction check on small source trees of its own: it
# passes a tree whose includes go the allowed way (by layer path, beside the
# file, relative within the layer), and fails, naming file and line, on an
# upward include written from src/ ("mixer/mixer_window.h"), on the same
# written relative to the file ("../mixer/mixer_window.h", "./../mixer/..."),
# and on a relative include that leads out of src/.
# Usage: test-check-includes.sh
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
status=0

printf 'controls: toolkit\ntoolkit: \nmixer: controls toolkit\n' >"$work/rules.txt"
tree() {  # a fresh tree in $work/src
  rm -rf "$work/src"
  mkdir -p "$work/src/controls/detail" "$work/src/toolkit" "$work/src/mixer"
  echo '#pragma once' >"$work/src/toolkit/control.h"
  echo '#pragma once' >"$work/src/mixer/mixer_window.h"
  echo '#pragma once' >"$work/src/controls/slider.h"
  echo '#pragma once' >"$work/src/controls/detail/knob.h"
  printf '#include "controls/slider.h"\n#include "slider.h"\n#include "detail/knob.h"\n#include "../toolkit/control.h"\n#include "toolkit/control.h"\n' \
    >"$work/src/controls/slider.cpp"
  printf '#include "../slider.h"\n#include "./knob.h"\n' >"$work/src/controls/detail/knob.cpp"
  printf '#include "../controls/slider.h"\n#include "mixer_window.h"\n' >"$work/src/mixer/mixer_window.cpp"
}
check() { bash "$here/check-includes.sh" "$work/rules.txt" "$work/src" 2>&1; }

tree
out=$(check) || { echo "FAIL: a tree of allowed includes fails:"; echo "$out"; status=1; }

expect_failure() {  # file, line text, expected line number
  tree
  printf '%s\n' "$2" >>"$work/src/$1"
  local line; line=$(wc -l <"$work/src/$1")
  if out=$(check); then
    echo "FAIL: passes with $2 in $1"; status=1
  elif ! grep -q "^src/$1:$line: " <<<"$out"; then
    echo "FAIL: does not name src/$1:$line for $2:"; echo "$out"; status=1
  fi
}
expect_failure controls/slider.cpp '#include "mixer/mixer_window.h"'
expect_failure controls/slider.cpp '#include "../mixer/mixer_window.h"'
expect_failure controls/slider.cpp '#include "./../mixer/mixer_window.h"'
expect_failure controls/detail/knob.cpp '#include "../../mixer/mixer_window.h"'
expect_failure toolkit/control.h '#include "../controls/slider.h"'
expect_failure controls/slider.cpp '#include "../../outside.h"'

[ $status -eq 0 ] && echo "PASS: the include check resolves relative includes and names each upward one"
exit $status
