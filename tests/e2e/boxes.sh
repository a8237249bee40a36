#!/usr/bin/env bash
# A user with the two boxes of a running program: clicks and keys press buttons and the program
# reads the counts; a value typed into the input box reaches the program; dragging the input
# box's right edge widens its edit column, and dragging its bottom edge changes nothing.
. "$(dirname "$0")/lib.sh"

start_program e2e_boxes.exe
check button_box_opens wait_until 20 window_exists krt_bb ButtonBox
check input_box_opens wait_until 20 window_exists krt_ib InputBox
wait_until 20 window_exists krtlib_mw0 KRTLIB
sleep 1.5  # the main window's drop-in
LOG=$E2E_WORK/KRTLIB00.LOG
probe post krtlib_mw0 KRTLIB 0x0111 1001 0 >/dev/null  # Start
log_has() { grep -q "$1" "$LOG" 2>/dev/null; }
check the_program_runs wait_until 10 log_has running

# The screen point in the middle of button i of the 3 x 2 grid (buttons 98 x 26, gaps of 4).
read -r bl bt _ _ <<<"$(probe client krt_bb ButtonBox)"
button_point() { echo $((bl + 4 + ($1 % 3) * 102 + 49)) $((bt + 4 + ($1 / 3) * 30 + 13)); }
click_button() {
  local x y; read -r x y <<<"$(button_point "$1")"
  xdotool mousemove "$x" "$y" click 1
  sleep 0.6  # two clicks on one spot within the double-click time would be one double click
}
presses_of() { awk -v b="$1" '$1 == "button" && $2 == b { sub("x", "", $3); n += $3 } END { print n + 0 }' "$LOG" | tr -d '\r'; }
# presses_are BUTTON N: read afresh at every poll (a count expanded once into the waited-for
# command would keep its first value, and the wait could only pass by luck).
presses_are() { [[ $(presses_of "$1") == "$2" ]]; }

click_free_spot
click_button 0
click_button 4
click_button 4
check a_click_is_read_as_one_press wait_until 10 presses_are 0 1
check two_clicks_are_read_as_two_presses wait_until 10 presses_are 4 2

# The click left the focus on the box: its keys press buttons.
xdotool key d
check key_d_presses_button_3 wait_until 10 presses_are 3 1

# A value typed into item 0 is committed by Tab and read by the program on button 5.
read -r il it _ _ <<<"$(probe client krt_ib InputBox)"
click_free_spot
xdotool mousemove $((il + 88 + 35)) $((it + 4 + 12)) click 1
sleep 0.3
xdotool key End BackSpace BackSpace BackSpace
xdotool type 42
xdotool key Tab
sleep 0.3
click_free_spot
click_button 5
check the_program_reads_the_committed_value wait_until 10 log_has 'item0=42'
screenshot boxes

# Drag the input box's right edge 30 pixels to the right.
edit_rect() { probe child-rects krt_ib InputBox | awk '$1 == "Edit" { print $2, $3, $4, $5; exit }'; }
label_rect() { probe child-rects krt_ib InputBox | awk '$1 == "Static" { print $2, $3, $4, $5; exit }'; }
read -r _ _ ew _ <<<"$(edit_rect)"
labels_before=$(label_rect)
drag() {
  click_free_spot
  xdotool mousemove "$1" "$2" mousedown 1
  sleep 0.2
  xdotool mousemove $(($1 + ($3 - $1) / 2)) $(($2 + ($4 - $2) / 2))
  sleep 0.1
  xdotool mousemove "$3" "$4"
  sleep 0.2
  xdotool mouseup 1
  xdotool mousemove_relative 1 1
  sleep 0.5
}
read -r wl wt wr wb <<<"$(probe rect krt_ib InputBox)"
drag $((wr - 2)) $(((wt + wb) / 2)) $((wr + 28)) $(((wt + wb) / 2))
read -r _ _ nw _ <<<"$(edit_rect)"
check right_edge_widens_the_edit_column_by_30 equals "$nw" $((ew + 30))
check the_label_column_keeps_its_width equals "$(label_rect)" "$labels_before"

# Drag its bottom edge 40 pixels down: the height stays.
read -r wl wt wr wb <<<"$(probe rect krt_ib InputBox)"
drag $(((wl + wr) / 2)) $((wb - 2)) $(((wl + wr) / 2)) $((wb + 38))
check bottom_edge_leaves_the_height equals "$(probe rect krt_ib InputBox)" "$wl $wt $wr $wb"
screenshot dragged

e2e_finish
