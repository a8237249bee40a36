#!/usr/bin/env bash
# The point-chain editor, the whole story with real X input: the sample picture is dropped on
# the main window, Start, a point is dragged with the mouse, "r+" three times, "edit" and
# "num +", "write"; the log file, the clipboard and the screen show the chain; "break"; X.
. "$(dirname "$0")/lib.sh"

SAMPLE=$(cd "$(dirname "$0")/../../examples" && pwd)/flyeye.bmp
start_program pointchain.exe
EDITOR_PID=$APP_PID
check editor_opens_its_windows wait_until 20 window_exists - ButtonBox
wait_until 20 window_exists - "TextWindow 0"
wait_until 20 window_exists krtlib_mw0 KRTLIB
sleep 1.5  # the main window drops into place

check the_sample_is_dropped_on_the_main_window drop_files KRTLIB "$SAMPLE"
IMAGE0="000 flyeye.bmp(100%)"
check dropping_opens_image_000 wait_until 20 window_exists - "$IMAGE0"

# Image 000 opens where the system puts new windows, over the button box: move it aside,
# clear of the main window.
read -r cx cy <<<"$(caption_point - "$IMAGE0")"
click_free_spot
xdotool mousemove $((cx + 40)) "$cy" click 1
sleep 0.6
drag_caption_aside "$cx" "$cy"

# Start from the main window's menu bar key.
read -r mx my <<<"$(caption_point krtlib_mw0 KRTLIB)"
click_free_spot
xdotool mousemove "$mx" "$my" click 1
sleep 0.6
xdotool key s
check start_opens_tavimora wait_until 20 window_exists - "tavimora(100%)"
sleep 1
read -r il it _ _ <<<"$(probe client - "tavimora(100%)")"

# Drag the first point, (100, 300), by (50, 20), pressing 5 pixels right of it.
click_free_spot
drag_mouse $((il + 105)) $((it + 300)) 50 20

# Buttons, by their places in the box.
read_buttons
check button_box_has_twelve_buttons equals "${#BUTTONS[@]}" 12
for _ in 1 2 3; do press_button 1; done  # r+
press_button 6                            # edit
press_button 9                            # num +
screenshot chain_edited
guide_picture 0 0 870 715  # the picture of the editor in the README and the guide
press_button 10                           # write

LOG=$E2E_WORK/KRTLIB00.LOG
expected=$'150 320 43\r\n325 210 42\r\n500 100 40\r\n\r\n\r\n150, 320,\r\n325, 210,\r\n500, 100,\r\n'
log_holds_chain() { [[ -f $LOG && "$(cat "$LOG"; echo .)" == "$expected." ]]; }
check write_puts_the_chain_in_the_log wait_until 10 log_holds_chain
sleep 1  # the copy follows the last line; reading the clipboard meanwhile could hold it open
clipboard_holds_chain() { [[ "$(clipboard_bytes; echo .)" == "$expected." ]]; }
check write_puts_the_chain_on_the_clipboard clipboard_holds_chain

# The third point dragged out past the window's right edge and released out there: it stops on
# the image's last column, and the release ends the drag, so the next "write" is heard.
drag_mouse $((il + 500)) $((it + 100)) 200 0
press_button 10                           # write
expected=$'150 320 43\r\n325 210 42\r\n639 100 40\r\n\r\n\r\n150, 320,\r\n325, 210,\r\n639, 100,\r\n'
check a_drag_released_outside_ends_at_the_edge wait_until 10 log_holds_chain

# On screen: the selected (first) point's yellow circle of radius 43 about (150, 320), and the
# middle point's white one about (325, 210).
pixel_is() { equals "$(pixel chain_edited $(($1 + il)) $(($2 + it)))" "$3"; }
check first_point_circle_is_yellow pixel_is $((150 + 43)) 320 255,255,0
check middle_point_circle_is_white pixel_is 325 $((210 - 42)) 255,255,255
check middle_point_cross_is_white pixel_is 325 210 255,255,255

press_button 11  # break
image_gone() { window_gone - "$IMAGE0" && window_gone - "tavimora(100%)"; }
check break_destroys_both_images wait_until 10 image_gone

click_free_spot
xdotool mousemove "$mx" "$my" click 1
sleep 0.6
xdotool key x
wait_exit "$EDITOR_PID" 20
check x_ends_the_editor_with_code_0 equals "$?" 0

e2e_finish
