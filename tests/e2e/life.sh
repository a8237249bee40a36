#!/usr/bin/env bash
# The life example with real X input: Start, three quick clicks make a row of three cells
# (a blinker), "step" turns it upright and back, as the rules say and the screen shows; then
# "random" and "run" let generations pass, counted in the log, until "pause".
. "$(dirname "$0")/lib.sh"

BOARD="life(300%)[8bit]"
ALIVE=96,255,96 DEAD=16,32,48  # the palette's two colours

start_program life.exe
LIFE_PID=$APP_PID
check the_program_opens_its_board wait_until 20 window_exists - "$BOARD"
wait_until 20 window_exists - ButtonBox
wait_until 20 window_exists krtlib_mw0 KRTLIB
sleep 1.5  # the main window drops into place
check start_begins_at_generation_0 press_start logged "generation 0: 0 cells"
read_buttons
read -r L T _ _ <<<"$(probe client - "$BOARD")"
# Each cell is 3 x 3 pixels on screen; a click in its middle, pressed and released at once.
click_cell() { xdotool mousemove $((L + 3 * $1 + 1)) $((T + 3 * $2 + 1)) click 1; sleep 0.1; }
cells_are() {  # COLOUR X,Y...: those cells have the colour in screenshot "board"
  local colour=$1 cell; shift
  for cell in "$@"; do
    equals "$(pixel board $((L + 3 * ${cell%,*} + 1)) $((T + 3 * ${cell#*,} + 1)))" "$colour" || return 1
  done
}
board_shows() { screenshot board && cells_are "$@" 2>/dev/null; }

click_free_spot
click_cell 100 100
click_cell 101 100
click_cell 102 100
check three_clicks_bring_three_cells_to_life wait_until 10 board_shows "$ALIVE" 100,100 101,100 102,100
press_button 2  # step
check a_step_counts_them wait_until 10 logged "generation 1: 3 cells"
check and_stands_the_row_upright wait_until 10 board_shows "$ALIVE" 101,99 101,100 101,101
check leaving_its_ends_dead cells_are "$DEAD" 100,100 102,100
press_button 2
check a_second_step_lays_it_down wait_until 10 board_shows "$ALIVE" 100,100 101,100 102,100
check with_its_ends_dead_again cells_are "$DEAD" 101,99 101,101

press_button 4  # random
press_button 0  # run
rate_line() { tr -d '\r' < "$E2E_WORK/KRTLIB00.LOG" | grep -E '^generation [0-9]+: [0-9]+\.[0-9] generations a second$' | tail -1; }
rated_yet() { [[ -n $(rate_line) ]]; }
check running_prints_generations_a_second wait_until 20 rated_yet
sleep 0.5
guide_picture 0 0 1040 800
press_button 1  # pause
paused_line() { tr -d '\r' < "$E2E_WORK/KRTLIB00.LOG" | grep -E '^paused at generation [0-9]+: [0-9]+ cells$'; }
paused_yet() { [[ -n $(paused_line) ]]; }
check pause_says_where_it_stopped wait_until 10 paused_yet
rated=$(rate_line); rated=${rated#generation }; rated=${rated%%:*}
paused=$(paused_line); paused=${paused#paused at generation }; paused=${paused%%:*}
check generations_passed_while_running test "$paused" -ge "$rated" -a "$rated" -gt 0

main_window_key x
wait_exit "$LIFE_PID" 20
check x_ends_the_program_with_code_0 equals "$?" 0

e2e_finish
