#!/usr/bin/env bash
# A user at the console: the example program's text window, its popup menu's Start Log,
# then Space, "help" and Return at the command prompt.  The screen shows the prompt, the typed
# line and the command list; the log holds exactly the same text.
. "$(dirname "$0")/lib.sh"

start_program frames.exe
MAIN_PID=$APP_PID
check text_window_opens wait_until 20 window_exists - "TextWindow 0"
wait_until 20 window_exists krtlib_mw0 KRTLIB
sleep 1.5
read -r cl ct cr cb <<<"$(probe client - "TextWindow 0")"
LOG=$E2E_WORK/KRTLIB00.LOG

# Start Log from the popup menu (the fifth row; one separator on the way).
click_free_spot
xdotool mousemove $((cl + 100)) $((ct + 120)) click 3
menu_up() { [[ $(probe menus) != none ]]; }
wait_until 10 menu_up
xdotool key Down Down Down Down Return
check start_log_from_the_menu_creates_the_file wait_until 10 test -e "$LOG"

# Space, help, Return.
xdotool mousemove $((cl + 120)) $((ct + 120)) click 1
sleep 0.6
xdotool key space
sleep 0.3
xdotool type help
xdotool key Return
expected=$'Cmd>help\r\nCommand list:exit help start ver color\r\n'
log_has_the_dialogue() { [[ "$(cat "$LOG"; echo .)" == "$expected." ]]; }
check log_holds_prompt_line_and_command_list wait_until 10 log_has_the_dialogue
sleep 0.3
screenshot console

# The prompt line and the list line (lines 2 and 3, under the two welcome lines) are drawn
# white on black; the line below them is empty.
white_in_line() {
  local line=$1 height=12
  convert "$E2E_ARTIFACTS/console.png" -crop "$((cr - cl))x${height}+${cl}+$((ct + line * height))" \
    -fill black +opaque white -format '%[fx:int(mean*w*h+0.5)]' info: 2>/dev/null
}
check prompt_line_is_drawn test "$(white_in_line 2)" -gt 20
check command_list_is_drawn test "$(white_in_line 3)" -gt 100
check nothing_below_the_list equals "$(white_in_line 4)" 0

# X in the console goes to the main window: Exit, exit code 0.
xdotool key x
wait_exit "$MAIN_PID" 20
check x_in_the_console_exits_with_code_0 equals "$?" 0
check log_kept_after_exit log_has_the_dialogue

e2e_finish
