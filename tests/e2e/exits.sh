#!/usr/bin/env bash
# A user presses Exit (the X key on the main window) while the program is busy: printing with
# its log on, reading a line, at the command prompt, in a pick tool between its two clicks, with
# the save, colour or font dialog open, with a pause box up, spinning without ever looking at
# Stop, refreshing or loading pictures without looking at it, drawing with calls of its own, and
# while the main window waits for a request the program cannot serve yet.  Each time the process
# ends with code 0 and no exception, every line printed before the press is whole in the log,
# nothing else is left in the working folder, and, except for the spinning and drawing programs,
# the program's thread ended by itself instead of being ended by force.  Then Stop (the C key) where
# it has an effect: the run ends, a pick leaves no band behind, and a new Start runs again.
. "$(dirname "$0")/lib.sh"
rm -f "$E2E_ARTIFACTS/summary.txt"

# start_state NAME STATE: the program in a folder of its own, busy with STATE.
start_state() {
  NAME=$1
  DIR=$E2E_WORK/$NAME
  MARK=$E2E_WORK/$NAME.ended
  LOG=$DIR/KRTLIB00.LOG
  mkdir -p "$DIR"
  rm -f "$MARK"
  ( cd "$DIR" && EXITS_STATE=$2 EXITS_MARKER=$(winepath -w "$MARK" 2>/dev/null) \
      exec wine "$E2E_BUILD/e2e_exits.exe" ) >"$E2E_ARTIFACTS/$NAME.out" 2>"$E2E_ARTIFACTS/$NAME.err" &
  APP_PID=$!
  E2E_PIDS+=("$APP_PID")
  wait_until 30 log_has 'state ready'
}

log_has() { grep -qa "^$1" "$LOG" 2>/dev/null; }
status_is() { probe texts krtlib_mw0 KRTLIB | grep -q "^ *$1 *\$"; }

# press_main KEY: the key, typed into the main window after a click on its caption.
press_main() {
  local cx cy
  click_free_spot
  read -r cx cy <<<"$(caption_point krtlib_mw0 KRTLIB)"
  xdotool mousemove "$cx" "$cy" click 1
  sleep 0.3
  xdotool key "$1"
}

# press_until KEY COMMAND...: the key on the main window until the command succeeds, three
# times at most (a key typed while another thread's window is taking the focus can be lost).
press_until() {
  local key=$1 try; shift
  for try in 1 2 3; do
    press_main "$key"
    wait_until 10 "$@" && return 0
    e2e_log "  $key had no effect yet"
  done
  return 1
}

# Start from the main window, and wait until the program is in its state.
start_run() {
  press_until s log_has 'run 1' && wait_until 30 log_has "state $1"
}

# Every line of the log ends in CR LF, the numbered lines count up from 0001 without a gap and
# there are at least the 200 printed before the state began.  A prompt printed without a line
# feed (PROMPT) is the only thing allowed after the last line end.
log_lines_whole() {
  [[ -s $LOG ]] || { e2e_log "  no log"; return 1; }
  local prompt=${PROMPT:-}
  if [[ -n $prompt ]]; then
    [[ $(tail -c ${#prompt} "$LOG") == "$prompt" ]] || { e2e_log "  the log does not end with [$prompt]"; return 1; }
  fi
  [[ $(head -c -${#prompt} "$LOG" | tail -c 2 | od -An -tx1 | tr -d ' \n') == 0d0a ]] || { e2e_log "  the last line is cut"; return 1; }
  head -c -${#prompt} "$LOG" | awk '{ if ($0 !~ /\r$/) { printf "  line %d has no CR LF\n", NR > "/dev/stderr"; bad = 1; exit }
         sub(/\r$/, "")
         if ($0 ~ /^line/) { n++; want = sprintf("line %04d", n)
           if ($0 != want) { printf "  line %d is [%s], expected [%s]\n", NR, $0, want > "/dev/stderr"; bad = 1; exit } } }
       END { if (!bad && n < 200) { printf "  only %d numbered lines\n", n > "/dev/stderr"; bad = 1 } exit bad }'
}
no_unhandled() {
  ! grep -i 'unhandled' "$E2E_ARTIFACTS/$NAME.err" >&2
}
only_the_log_left() { equals "$(ls -A "$DIR")" KRTLIB00.LOG; }
ended_by_itself() { [[ -e $MARK ]]; }

# exit_and_check [forced]: X on the main window, then the checks.  A program that never looks
# at Stop or Exit is ended by force; every other one ends its thread by itself.
exit_and_check() {
  local t0 rc ms
  press_main x
  t0=$(date +%s%N)
  wait_exit "$APP_PID" 10
  rc=$?
  if ((rc == 124)) && [[ $(probe title krtlib_mw0 KRTLIB) == KRTLIB ]]; then
    e2e_log "  x had no effect yet"  # the main window is still there, not ending
    press_main x
    wait_exit "$APP_PID" 30
    rc=$?
  fi
  ms=$((($(date +%s%N) - t0) / 1000000))
  local summary="$NAME: exit code $rc, $ms ms after the press, thread ended by itself: $(ended_by_itself && echo yes || echo no)"
  e2e_log "$summary"
  echo "$summary" >>"$E2E_ARTIFACTS/summary.txt"
  check "${NAME}_ends_with_code_0" equals "$rc" 0
  check "${NAME}_without_an_unhandled_exception" no_unhandled
  check "${NAME}_log_lines_are_whole" log_lines_whole
  check "${NAME}_leaves_only_its_log" only_the_log_left
  if [[ ${1:-} == forced ]]; then
    check "${NAME}_is_ended_by_force" test ! -e "$MARK"
  else
    check "${NAME}_thread_ends_by_itself" ended_by_itself
  fi
}

dialog_up() { [[ $(probe count '#32770' -) -ge 1 ]]; }
menu_up() { [[ $(probe menus) != none ]]; }

canvas_rect() { read -r CL CT CR CB <<<"$(probe client krt_iw 'canvas(100%)')"; }
# canvas_shot NAME: the canvas as it is on screen.
canvas_shot() {
  screenshot "$1-screen"
  convert "$E2E_ARTIFACTS/$1-screen.png" -crop "$((CR - CL))x$((CB - CT))+$CL+$CT" +repage "$E2E_ARTIFACTS/$1.png"
}
same_canvas() { [[ $(compare -metric AE "$E2E_ARTIFACTS/$1.png" "$E2E_ARTIFACTS/$2.png" null: 2>&1) == 0 ]]; }
band_on_screen() { canvas_shot pick-band && ! same_canvas pick-before pick-band; }
band_gone() { canvas_shot pick-after && same_canvas pick-before pick-after; }

# pick_second_point: the first corner clicked at (20, 30) on the canvas, the mouse at (120, 90).
pick_second_point() {
  wait_until 10 status_is 'Click the first point' || return 1
  canvas_rect
  click_free_spot
  xdotool mousemove $((CL + 20)) $((CT + 30)) click 1
  wait_until 10 status_is 'Click the second point' || return 1
  xdotool mousemove $((CL + 120)) $((CT + 90))
}

# canvas_menu KEYS...: the canvas's own menu (right click) or, with ctrl, its tools menu.
canvas_menu() {
  local with=$1; shift
  canvas_rect
  click_free_spot
  xdotool mousemove $(((CL + CR) / 2)) $(((CT + CB) / 2)) click 1
  sleep 0.3
  [[ $with == ctrl ]] && xdotool keydown ctrl
  xdotool click 3
  [[ $with == ctrl ]] && xdotool keyup ctrl
  wait_until 10 menu_up || return 1
  xdotool key "$@"
}

# ---- Exit ----------------------------------------------------------------------------------

start_state exit_printing print
check exit_printing_reaches_its_state start_run print
exit_and_check

start_state exit_printing_deaf print-deaf
check exit_printing_deaf_reaches_its_state start_run print-deaf
exit_and_check

start_state exit_input_line inputline
start_run inputline
check exit_input_line_reaches_its_state wait_until 10 status_is 'Input text'
exit_and_check

start_state exit_command_prompt prompt
start_run prompt
check exit_command_prompt_reaches_its_state wait_until 10 status_is 'Input text'
PROMPT='Cmd>' exit_and_check

start_state exit_pick pick
start_run pick
check exit_pick_waits_for_the_second_point pick_second_point
exit_and_check

start_state exit_save_dialog dialog
wait_until 30 log_has 'state idle'
canvas_menu plain s
check exit_save_dialog_opens wait_until 20 window_exists '#32770' 'Save as'
xdotool type "$(winepath -w "$DIR" 2>/dev/null)\\shot.bmp"
exit_and_check

start_state exit_colour_dialog dialog
wait_until 30 log_has 'state idle'
canvas_menu ctrl Down Down Down Down Down Right Return
check exit_colour_dialog_opens wait_until 20 dialog_up
exit_and_check

start_state exit_font_dialog dialog
wait_until 30 log_has 'state idle'
canvas_menu ctrl Down Down Down Down Down Down Down Down Down Right Down Return
check exit_font_dialog_opens wait_until 20 dialog_up
exit_and_check

start_state exit_pause_box pause
start_run pause
check exit_pause_box_opens wait_until 20 window_exists '#32770' Pause
exit_and_check

start_state exit_spinning spin
check exit_spinning_reaches_its_state start_run spin
exit_and_check forced

# Busy in library calls only (refreshes, loads), never looking at Stop or Exit: the thread ends
# at its next call.  Busy in drawing calls of its own: ended by force, the process still ends.
start_state exit_refreshing refresh
check exit_refreshing_reaches_its_state start_run refresh
exit_and_check

EXITS_PICTURE=$(winepath -w "$(cd "$(dirname "$0")/../../examples" && pwd)/flyeye.bmp" 2>/dev/null)
export EXITS_PICTURE
start_state exit_loading load
check exit_loading_reaches_its_state start_run load
exit_and_check

start_state exit_drawing_deaf draw-deaf
check exit_drawing_deaf_reaches_its_state start_run draw-deaf
exit_and_check forced

# The main window's "Text Window" asks the program's thread for a window while that thread is
# still busy in its initialisation: the main window waits for the request.
start_state exit_pending_request request
wait_until 30 log_has 'state request-wait'
read -r cx cy <<<"$(caption_point krtlib_mw0 KRTLIB)"
click_free_spot
xdotool mousemove "$cx" $((cy + 40)) click 3
wait_until 10 menu_up
xdotool key Down Down Down Down Down Down Return
check exit_pending_request_is_waited_for wait_until 20 log_has 'state request-pending 9005'
exit_and_check

# ---- Stop ----------------------------------------------------------------------------------

# second_run_and_exit: Start again gives a new run (the first one has ended); then Exit.
second_run_and_exit() {
  check "${NAME}_starts_a_second_run" press_until s log_has 'run 2'
  exit_and_check
}

start_state stop_printing print
start_run print
check stop_printing_ends_the_loop press_until c log_has 'print stopped'
second_run_and_exit

# Stop does not end a line input; the program sees it once the line is entered.
start_state stop_input_line inputline
start_run inputline
wait_until 10 status_is 'Input text'
press_main c
click_free_spot
read -r tx ty <<<"$(caption_point - 'TextWindow 0')"
xdotool mousemove "$tx" "$ty" click 1
sleep 0.3
xdotool type abc
xdotool key Return
check stop_input_line_still_takes_the_line wait_until 20 log_has 'input \[abc\] stop 1'
second_run_and_exit

start_state stop_pick pick
start_run pick
canvas_rect
wait_until 10 status_is 'Click the first point'
canvas_shot pick-before
pick_second_point
check stop_pick_shows_its_band wait_until 10 band_on_screen
check stop_pick_cancels_and_leaves_the_pixels press_until c log_has 'pick 1 pixels same'
check stop_pick_removes_the_band_from_the_screen wait_until 10 band_gone
check stop_pick_shows_the_idle_status wait_until 10 status_is '[0-9]*-bit color'
second_run_and_exit

start_state stop_spinning spin-poll
start_run spin-poll
check stop_spinning_ends_the_loop press_until c log_has 'spin stopped'
second_run_and_exit

e2e_finish
