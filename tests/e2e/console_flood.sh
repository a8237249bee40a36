#!/usr/bin/env bash
# A program that logs a long computation: 100,000 numbered lines printed as fast as it can.
# Once it stops, its console shows the last lines, exactly as the console font draws them, and
# the log holds every line.
. "$(dirname "$0")/lib.sh"

start_program e2e_console_flood.exe
MAIN_PID=$APP_PID
check text_window_opens wait_until 20 window_exists - "TextWindow 0"
LOG=$E2E_WORK/KRTLIB00.LOG
EXPECTED=$E2E_WORK/expected.log
for ((i = 1; i <= 100000; i++)); do printf 'line %06d of the flood\r\n' "$i"; done > "$EXPECTED"

started=$SECONDS
last_line_logged() { [[ -f $LOG ]] && [[ $(tail -c 26 "$LOG") == *"line 100000 of the flood"* ]]; }
check the_last_line_is_logged wait_until 300 last_line_logged
e2e_log "100,000 lines logged after about $((SECONDS - started)) s"
check the_log_holds_all_100000_lines cmp -s "$EXPECTED" "$LOG"

# The reference: the last lines drawn in the console font by the probe, at the window's size.
read -r cl ct cr cb <<<"$(probe client - "TextWindow 0")"
lines=()
for ((i = 99960; i <= 100000; i++)); do lines+=("$(printf 'line %06d of the flood' "$i")"); done
REF=$E2E_WORK/reference.bmp
probe render-console $((cr - cl)) $((cb - ct)) "$(winepath -w "$REF" 2>/dev/null)" "${lines[@]}"
screen_shows_the_last_lines() {
  screenshot flood
  local differing
  differing=$(convert "$E2E_ARTIFACTS/flood.png" -crop "$((cr - cl))x$((cb - ct))+${cl}+${ct}" +repage png:- |
    compare -metric AE png:- "$REF" null: 2>&1)
  [[ $differing == 0 ]]
}
check the_last_screen_shows_the_last_lines wait_until 20 screen_shows_the_last_lines
convert "$REF" "$E2E_ARTIFACTS/reference.png" 2>/dev/null

probe exit-all
wait_exit "$MAIN_PID" 20
check exits_with_code_0 equals "$?" 0

e2e_finish
