#!/usr/bin/env bash
# Ctrl+W in a program's text window puts source text on the clipboard; that text, pasted into
# a new user program, rebuilt and run, opens the same windows at the same places and sizes with
# the same titles and labels.
. "$(dirname "$0")/lib.sh"
SOURCE=$(cd "$(dirname "$0")/../.." && pwd)

WINDOWS=("krt_iw|000(100%)" 'krt_iw|say "hi" \o/(200%)[8bit]' "krt_twi|TextWindow 0"
         "krt_twi|TextWindow 2" "krt_ib|InputBox" "krt_bb|ButtonBox")
# Every window's outer rectangle, and the labels of the boxes, one line each.
layout() {
  local entry
  for entry in "${WINDOWS[@]}"; do echo "${entry#*|}: $(probe rect "${entry%%|*}" "${entry#*|}")"; done
  probe texts krt_ib InputBox
  probe texts krt_bb ButtonBox
}
all_open() { window_exists krt_bb ButtonBox && window_exists - "TextWindow 0" && window_exists krtlib_mw0 KRTLIB; }

start_program e2e_layout.exe
FIRST=$APP_PID
check the_layout_opens wait_until 20 all_open
sleep 1.5  # the main window's drop-in
original=$(layout)
printf '%s\n' "$original" > "$E2E_ARTIFACTS/original.txt"

LOG=$E2E_WORK/KRTLIB00.LOG
read -r cl ct cr cb <<<"$(probe client - "TextWindow 0")"
click_free_spot
xdotool mousemove $(((cl + cr) / 2)) $(((ct + cb) / 2)) click 1
sleep 0.6
xdotool key ctrl+w
# The code page 932 confirmation line comes after the clipboard is written and closed.
confirmed() { LC_ALL=C grep -qF $'\x83\x4e\x83\x8a\x83\x62\x83\x76' "$LOG" 2>/dev/null; }
check ctrl_w_reports_and_confirms wait_until 20 confirmed
screenshot report
clipboard_bytes > "$E2E_WORK/generated.txt"
cp "$E2E_WORK/generated.txt" "$E2E_ARTIFACTS/"
check the_source_starts_and_ends_as_generated \
  equals "$(head -1 "$E2E_WORK/generated.txt")|$(tail -1 "$E2E_WORK/generated.txt")" \
  $'\t// KRTLIB --- Automatic Source Generator|\tKRT_SetForeground(KRTMAINWINDOW);'

probe exit-all >/dev/null
wait_exit "$FIRST" 20

# The clipboard text as the body of a new program's UserProgramInit.
{
  printf '#include "krtlib.h"\n\nvoid UserProgramInit(void)\n{\n'
  cat "$E2E_WORK/generated.txt"
  printf '}\n\nvoid UserProgramMain(void) {}\n'
} > "$E2E_WORK/rebuilt.cpp"
build_rebuilt() {
  x86_64-w64-mingw32-g++-posix -std=c++17 -Wall -Wextra -Werror -static -I"$SOURCE/include" \
    "$E2E_WORK/rebuilt.cpp" "$E2E_BUILD/libkrtlib.a" \
    -lgdiplus -lcomdlg32 -lshell32 -lgdi32 -luser32 -lole32 -mwindows -o "$E2E_BUILD/e2e_rebuilt.exe"
}
check the_generated_source_compiles build_rebuilt

start_program e2e_rebuilt.exe
check the_rebuilt_layout_opens wait_until 20 all_open
sleep 1.5
rebuilt=$(layout)
printf '%s\n' "$rebuilt" > "$E2E_ARTIFACTS/rebuilt.txt"
screenshot rebuilt
check same_rectangles_titles_and_labels equals "$rebuilt" "$original"
has_no_none() { [[ $original != *none* ]]; }
check every_window_was_found has_no_none

e2e_finish
