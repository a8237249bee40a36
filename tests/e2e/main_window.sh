#!/usr/bin/env bash
# The main window as a user meets it: it drops into place, snaps to the screen edge when
# dragged with Ctrl, shows its popup menu, starts and stops the program with S and C, and
# ends with X.  Then ten instances run and an eleventh is refused.
. "$(dirname "$0")/lib.sh"

read -r W H CAPTION _ _ _ _ <<<"$(probe metrics)"
BOTTOM=$((H + CAPTION))

start_program frames.exe
MAIN_PID=$APP_PID
check starts wait_until 20 window_exists krtlib_mw0 KRTLIB
sleep 1.5  # the drop-in animation: 28 steps of 20 ms, then half a second

settled() {
  local r; r=($(probe rect krtlib_mw0 KRTLIB))
  local w=$((r[2] - r[0]))
  equals "${r[0]} ${r[3]}" "$(((W - w) / 2)) $BOTTOM"
}
check settles_centred_on_the_work_area_bottom settled

# Drag by the caption so that the left edge lands 5 pixels from the screen's left edge.
drag_left_edge_to() {
  local target=$1 ctrl=$2 r cx cy
  r=($(probe rect krtlib_mw0 KRTLIB))
  read -r cx cy <<<"$(caption_point krtlib_mw0 KRTLIB)"
  click_free_spot
  # Activate it with a click beside the drag point, and wait out the double-click time.
  xdotool mousemove $((cx + 30)) "$cy" click 1
  sleep 0.6
  [[ $ctrl == ctrl ]] && xdotool keydown ctrl
  xdotool mousemove "$cx" "$cy" mousedown 1
  sleep 0.2
  xdotool mousemove $((cx - r[0] + target - 20)) $((cy - 100))
  sleep 0.1
  xdotool mousemove $((cx - r[0] + target)) $((cy - 100))
  sleep 0.2
  xdotool mouseup 1
  [[ $ctrl == ctrl ]] && xdotool keyup ctrl
  xdotool mousemove_relative 1 1
  sleep 0.5
}
left_edge() { local r; r=($(probe rect krtlib_mw0 KRTLIB)); echo "${r[0]}"; }

drag_left_edge_to 5 plain
check drag_without_ctrl_stays_where_dropped equals "$(left_edge)" 5
drag_left_edge_to 5 ctrl
check drag_with_ctrl_snaps_to_the_left_edge equals "$(left_edge)" 0
screenshot snapped

# Right click: the popup menu appears at the cursor.
read -r cx cy <<<"$(caption_point krtlib_mw0 KRTLIB)"
xdotool mousemove $((cx)) $((cy + 40)) click 3
menu_up() { [[ $(probe menus) != none ]]; }
check right_click_shows_the_popup_menu wait_until 10 menu_up
screenshot popup_menu
menu_at_cursor() {
  local m; m=($(probe menus))
  equals "${m[0]}" "$cx"  # left-aligned at the cursor (moved up when it does not fit below)
}
check popup_menu_opens_at_the_cursor menu_at_cursor
xdotool key Escape
sleep 0.3

# S starts the example program, C stops it; it then reports its frames in a pause box.
click_free_spot
xdotool mousemove "$cx" "$cy" click 1
sleep 0.3
xdotool key s
sleep 1
xdotool key c
check stop_ends_the_run_with_a_report wait_until 10 window_exists '#32770' Pause
report=$(probe texts '#32770' Pause | grep Stopped)
frames=$(sed -n 's/Stopped after \([0-9]*\) frames.*/\1/p' <<<"$report")
check the_run_paced_frames_between_s_and_c test "${frames:-0}" -ge 10
xdotool key Return
sleep 0.3

# X ends the process with exit code 0.
click_free_spot
read -r cx cy <<<"$(caption_point krtlib_mw0 KRTLIB)"
xdotool mousemove "$cx" "$cy" click 1
sleep 0.3
xdotool key x
wait_exit "$MAIN_PID" 20
check x_ends_the_process_with_code_0 equals "$?" 0

# Ten instances, then an eleventh.
PIDS=()
for i in $(seq 0 9); do start_program frames.exe; PIDS+=("$APP_PID"); done
ten_up() { [[ $(probe count - KRTLIB) -ge 10 ]]; }
check ten_instances_run wait_until 60 ten_up
start_program frames.exe
ELEVENTH=$APP_PID
limit_box() { probe texts '#32770' KRTLIB | grep -qx 'Over instance limit!'; }
check eleventh_shows_over_instance_limit wait_until 20 limit_box
screenshot instance_limit
probe post '#32770' KRTLIB 0x0111 1 0 >/dev/null  # IDOK
wait_exit "$ELEVENTH" 20
check eleventh_exits_with_code_1 equals "$?" 1
probe exit-all >/dev/null
all_ended() { local p; for p in "${PIDS[@]}"; do kill -0 "$p" 2>/dev/null && return 1; done; return 0; }
check all_ten_end_on_exit wait_until 30 all_ended

e2e_finish
