#!/usr/bin/env bash
# The main window's "Image Window" dialogue, answered in the console as a user types: 320, 240
# and 32 open a 32-bit image titled 000(100%); a depth of 16 opens nothing.
. "$(dirname "$0")/lib.sh"

start_program frames.exe
check starts wait_until 20 window_exists - "TextWindow 0"
wait_until 20 window_exists krtlib_mw0 KRTLIB
sleep 1.5

menu_up() { [[ $(probe menus) != none ]]; }

# Right click on the main window, then the seventh row, "Image Window".
choose_image_window() {
  local cx cy
  read -r cx cy <<<"$(caption_point krtlib_mw0 KRTLIB)"
  click_free_spot
  xdotool mousemove "$cx" $((cy + 40)) click 3
  wait_until 10 menu_up
  xdotool key Down Down Down Down Down Return
  sleep 0.5
}

# Answers typed into the console, each followed by Return.
answer() {
  read -r cl ct _ _ <<<"$(probe client - "TextWindow 0")"
  click_free_spot
  xdotool mousemove $((cl + 100)) $((ct + 150)) click 1
  sleep 0.6
  local value
  for value in "$@"; do
    xdotool type "$value"
    xdotool key Return
    sleep 0.4
  done
}

choose_image_window
answer 320 240 32
check answers_320_240_32_open_000 wait_until 10 window_exists - "000(100%)"
size_is() { local r; r=($(probe client - "000(100%)")); equals "$((r[2] - r[0]))x$((r[3] - r[1]))" 320x240; }
check its_client_is_320_by_240 size_is
screenshot image_window_000

choose_image_window
answer 320 240 16
sleep 1
check depth_16_opens_nothing equals "$(probe count - "001(100%)")" 0

probe exit-all >/dev/null
e2e_finish
