#!/usr/bin/env bash
# The fader under Wine, dragged with the real mouse: the knob follows the
# pointer, stops at both ends of its travel, and the fader's position (shown
# by the toolkit demo in a read-only box) follows the knob.
# The toolkit demo exists in the x86_64 build only.
E2E_BUILD=sim
source "$(dirname "$0")/../../tools/e2e/e2e_lib.sh" "$@"
title=$E2E_DEMO_TITLE
e2e_start_demo
PROBE wait-window "$title" 15000 >/dev/null || fail "the demo window did not appear"

# The demo's fader: groove 4 x 121 pixels, knob 18 x 26, 6 pixels kept free
# at each end, range 0..255, position 128 at the start. The knob's middle
# runs from 6 pixels below the groove's top (255) to 6 pixels above its
# bottom (0): a travel of 109 pixels.
groove=$(e2e_rect_by_size "$title" 4 121) || fail "no fader groove (4 x 121) in the demo window"
read -r groove_left groove_top _ _ <<<"$groove"
top_end=$((groove_top + 6))
bottom_end=$((groove_top + 121 - 6))

knob_rect() { e2e_rect_by_size "$title" 18 26; }
position() { PROBE list-texts "$title" | sed -n 's/^Edit\tPosition: \([0-9]*\)\t.*/\1/p'; }

# Waits until the fader shows that position and its knob's middle is at
# that height, centred on the groove; Wine handles the pointer's moves
# asynchronously.
expect_fader() {  # position knob-middle-y description
  local i pos="" l t w h
  for i in $(seq 1 20); do
    pos=$(position)
    read -r l t w h <<<"$(knob_rect)"
    [ "$pos" = "$1" ] && [ "$((t + h / 2))" = "$2" ] && [ "$((l + w / 2))" = "$((groove_left + 2))" ] &&
      { pass "$3 (position $pos, knob middle at $2)"; return 0; }
    sleep 0.15
  done
  fail "$3: position '$pos', knob at $l,$t ${w}x$h; wanted position $1, knob middle at $2"
}

# Moves the pointer in steps of 10 pixels (a real drag is many small moves).
drag_to() {  # y
  local y=$pointer_y step
  step=$(( $1 < y ? -10 : 10 ))
  while [ $(( ($1 - y) * step )) -gt 0 ]; do
    y=$((y + step))
    [ $(( ($1 - y) * step )) -lt 0 ] && y=$1
    xdotool mousemove "$pointer_x" "$y" sleep 0.02
  done
  pointer_y=$1
}

# Middle of the knob at position 128: 55 of the 109 pixels above the bottom end.
expect_fader 128 $((bottom_end - 55)) "start position"
e2e_shot_window "$title" fader-before || fail "no screenshot of the demo window"

read -r l t w h <<<"$(knob_rect)"
pointer_x=$((l + w / 2))
pointer_y=$((t + h / 2))
xdotool mousemove "$pointer_x" "$pointer_y" sleep 0.1 mousedown 1 sleep 0.1

# Up by 30 pixels: offset 85 of 109, position 255 * 85 / 109 = 198.9.
drag_to $((pointer_y - 30))
expect_fader 199 "$pointer_y" "the knob follows the pointer up while the button is held"
e2e_shot_window "$title" fader-raised

# Far beyond the top of the groove: the knob stops at the top end.
drag_to $((top_end - 80))
expect_fader 255 "$top_end" "dragged beyond the top, the knob stops at the end of its travel"
e2e_shot_window "$title" fader-top

# Back into the groove: the knob picks the pointer up again where it gripped.
# 20 pixels below the top end: offset 89, position 255 * 89 / 109 = 208.2.
drag_to $((top_end + 20))
expect_fader 208 "$pointer_y" "back inside the travel, the knob follows again"

# Far below the bottom: the knob stops at the bottom end.
drag_to $((bottom_end + 80))
expect_fader 0 "$bottom_end" "dragged beyond the bottom, the knob stops at the end of its travel"
xdotool mouseup 1 sleep 0.1
e2e_shot_window "$title" fader-bottom

# Released: moving the pointer no longer moves the knob.
xdotool mousemove "$pointer_x" $((bottom_end - 40)) sleep 0.3
expect_fader 0 "$bottom_end" "after the release the knob stays where it was let go"

# A second drag from the bottom end, released inside the travel.
xdotool mousemove "$pointer_x" "$bottom_end" sleep 0.1 mousedown 1 sleep 0.1
pointer_y=$bottom_end
# Up by 50 pixels: position 255 * 50 / 109 = 117.0.
drag_to $((bottom_end - 50))
xdotool mouseup 1 sleep 0.1
expect_fader 117 "$pointer_y" "a second drag moves the knob from where it was left"
e2e_shot_window "$title" fader-after
