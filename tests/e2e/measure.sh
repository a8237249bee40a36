#!/usr/bin/env bash
# The measure example with real X input: the sample picture dropped on the main window, Start,
# then a line, a box and a circle picked on the copy with the mouse.  The printed length and
# angle, size and mean colour (counted here from the picture file, with its hue, saturation and
# value by their integer rules) and radius are checked in the log, and the drawings on screen.
# A right click cancels a measurement; Stop cancels one and ends the run.
. "$(dirname "$0")/lib.sh"

SAMPLE=$(cd "$(dirname "$0")/../../examples" && pwd)/flyeye.bmp

start_program measure.exe
MEASURE_PID=$APP_PID
check the_program_opens_its_boxes wait_until 20 window_exists - ButtonBox
wait_until 20 window_exists krtlib_mw0 KRTLIB
sleep 1.5  # the main window drops into place
check the_sample_is_dropped_on_the_main_window drop_files KRTLIB "$SAMPLE"
check it_opens_as_image_000 wait_until 20 window_exists - "000 flyeye.bmp(100%)"
check start_opens_the_copy press_start window_exists - "copy(100%)"
sleep 1
read_buttons
read -r IL IT _ _ <<<"$(probe client - "copy(100%)")"
click_at() { xdotool mousemove $((IL + $1)) $((IT + $2)); sleep 0.2; xdotool click "${3:-1}"; sleep 0.4; }

press_button 0  # line
click_at 100 100
click_at 180 160
check the_line_is_100_long_at_minus_36_87_degrees \
  wait_until 10 logged "line (100, 100)-(180, 160): length 100.00, angle -36.87 degrees"

press_button 1  # box
click_at 380 120
click_at 459 179
box_line() {
  convert "$SAMPLE" -crop 80x60+380+120 +repage -depth 8 txt:- | awk '
    NR > 1 { split($2, c, /[(),]/); r += c[2]; g += c[3]; b += c[4]; n++ }
    END {
      R = int((r + n / 2) / n); G = int((g + n / 2) / n); B = int((b + n / 2) / n)
      max = R; if (G > max) max = G; if (B > max) max = B
      min = R; if (G < min) min = G; if (B < min) min = B
      S = max - min; H = 0
      if (S > 0) {
        if (max == R && min == B) H = int(60 * (G - B) / S)
        else if (max == G && min == B) H = int(60 * (G - R) / S) + 60
        else if (max == G && min == R) H = int(60 * (B - R) / S) + 120
        else if (max == B && min == R) H = int(60 * (B - G) / S) + 180
        else if (max == B && min == G) H = int(60 * (R - G) / S) + 240
        else H = int(60 * (R - B) / S) + 300
      }
      printf "box (380, 120)-(459, 179): 80 x 60, mean RGB (%d, %d, %d), HSV (%d, %d, %d)\n", R, G, B, H, S, max
      printf "%d,%d,%d\n", R, G, B > "/dev/stderr"
    }' 2>"$E2E_WORK/mean.txt"
}
expected_box=$(box_line)
check the_box_prints_its_size_and_mean_colour wait_until 10 logged "$expected_box"

press_button 2  # circle
click_at 250 330
click_at 280 370
check the_circle_has_radius_50 wait_until 10 logged "circle (250, 330): radius 50"

press_button 0  # line, cancelled by a right click
click_at 300 400 3
cancelled() { [[ $(tr -d '\r' < "$E2E_WORK/KRTLIB00.LOG" | grep -c '^cancelled$') == "$1" ]]; }
check a_right_click_cancels wait_until 10 cancelled 1

# The drawings, in yellow; the swatch right of the box in the mean colour.
sleep 0.5
screenshot drawn
at() { pixel drawn $((IL + $1)) $((IT + $2)); }
check the_line_ends_are_drawn equals "$(at 100 100) $(at 180 160)" "255,255,0 255,255,0"
check the_box_corners_are_drawn equals "$(at 380 120) $(at 459 179)" "255,255,0 255,255,0"
check the_swatch_has_the_mean_colour equals "$(at 470 128)" "$(cat "$E2E_WORK/mean.txt")"
check the_circle_is_drawn equals "$(at 300 330) $(at 250 280)" "255,255,0 255,255,0"
guide_picture 0 0 1280 900

press_button 1  # box, then Stop while it waits
click_at 100 300
main_window_key c
check stop_cancels_and_ends_the_run wait_until 10 logged stopped
check with_the_box_cancelled cancelled 2
main_window_key x
wait_exit "$MEASURE_PID" 20
check x_ends_the_program_with_code_0 equals "$?" 0

e2e_finish
