#!/usr/bin/env bash
# Ctrl+W in a program's text window puts source text on the clipboard; that text, pasted into
# a new user program, rebuilt and run, opens the same windows at the same places and sizes with
# the same titles and labels.  Told twice: for a program of the system's code page (932), and
# for a UTF-8 program whose names and labels hold three scripts, whose source is taken from the
# X clipboard as another program reads it and rebuilt as a UTF-8 program again.
. "$(dirname "$0")/lib.sh"
SOURCE=$(cd "$(dirname "$0")/../.." && pwd)

# The manifest of a UTF-8 program, as a resource object for a build by hand.
utf8_object() {
  printf '1 24 "%s"\n' "$SOURCE/cmake/krtlib_utf8.manifest" > "$E2E_WORK/utf8.rc"
  x86_64-w64-mingw32-windres -O coff -i "$E2E_WORK/utf8.rc" -o "$E2E_WORK/utf8.o" && echo "$E2E_WORK/utf8.o"
}

# story CHECK_PREFIX PROGRAM MORE: MORE is what the UTF-8 program adds to its names and labels.
story() {
  local prefix=$1 program=$2 more=$3
  local windows=("krt_iw|000(100%)" "krt_iw|say \"hi\" \\o/$more(200%)[8bit]" "krt_twi|TextWindow 0"
                 "krt_twi|TextWindow 2" "krt_ib|InputBox" "krt_bb|ButtonBox")
  # Every window's outer rectangle, and the labels of the boxes, one line each.
  layout() {
    local entry
    for entry in "${windows[@]}"; do echo "${entry#*|}: $(probe rect "${entry%%|*}" "${entry#*|}")"; done
    probe texts krt_ib InputBox
    probe texts krt_bb ButtonBox
  }
  all_open() { window_exists krt_bb ButtonBox && window_exists - "TextWindow 0" && window_exists krtlib_mw0 KRTLIB; }

  start_program "$program.exe"
  local first=$APP_PID
  check ${prefix}the_layout_opens wait_until 20 all_open
  sleep 1.5  # the main window's drop-in
  local original; original=$(layout)
  printf '%s\n' "$original" > "$E2E_ARTIFACTS/${prefix}original.txt"

  local log=$E2E_WORK/KRTLIB00.LOG  # made anew by each program's KRT_StartLog
  read -r cl ct cr cb <<<"$(probe client - "TextWindow 0")"
  click_free_spot
  xdotool mousemove $(((cl + cr) / 2)) $(((ct + cb) / 2)) click 1
  sleep 0.6
  xdotool key ctrl+w
  # The confirmation line, "クリップボードに..." in the program's code page, comes after the
  # clipboard is written and closed.
  local mark=$'\x83\x4e\x83\x8a\x83\x62\x83\x76'
  [[ -n $more ]] && mark=クリップ
  confirmed() { LC_ALL=C grep -qF "$mark" "$log" 2>/dev/null; }
  check ${prefix}ctrl_w_reports_and_confirms wait_until 20 confirmed
  screenshot ${prefix}report
  if [[ -n $more ]]; then
    # What another program reads: X's text, made from the clipboard's UTF-16.
    from_x() { xclip -selection clipboard -o > "$E2E_WORK/generated.txt" 2>/dev/null && grep -q KRTMAINWINDOW "$E2E_WORK/generated.txt"; }
    wait_until 5 from_x
  else
    clipboard_bytes > "$E2E_WORK/generated.txt"
  fi
  cp "$E2E_WORK/generated.txt" "$E2E_ARTIFACTS/${prefix}generated.txt"
  check ${prefix}the_source_starts_and_ends_as_generated \
    equals "$(head -1 "$E2E_WORK/generated.txt")|$(tail -1 "$E2E_WORK/generated.txt")" \
    $'\t// KRTLIB --- Automatic Source Generator|\tKRT_SetForeground(KRTMAINWINDOW);'

  probe exit-all >/dev/null
  wait_exit "$first" 20

  # The clipboard text as the body of a new program's UserProgramInit.
  {
    printf '#include "krtlib.h"\n\nvoid UserProgramInit(void)\n{\n'
    cat "$E2E_WORK/generated.txt"
    printf '}\n\nvoid UserProgramMain(void) {}\n'
  } > "$E2E_WORK/rebuilt.cpp"
  local manifest=
  [[ -n $more ]] && manifest=$(utf8_object)
  build_rebuilt() {
    x86_64-w64-mingw32-g++-posix -std=c++17 -Wall -Wextra -Werror -static -I"$SOURCE/include" \
      "$E2E_WORK/rebuilt.cpp" $manifest "$E2E_BUILD/libkrtlib.a" \
      -lgdiplus -lcomdlg32 -lshell32 -lgdi32 -luser32 -lole32 -mwindows -o "$E2E_BUILD/e2e_rebuilt.exe"
  }
  check ${prefix}the_generated_source_compiles build_rebuilt

  start_program e2e_rebuilt.exe
  check ${prefix}the_rebuilt_layout_opens wait_until 20 all_open
  sleep 1.5
  local rebuilt; rebuilt=$(layout)
  printf '%s\n' "$rebuilt" > "$E2E_ARTIFACTS/${prefix}rebuilt.txt"
  screenshot ${prefix}rebuilt
  check ${prefix}same_rectangles_titles_and_labels equals "$rebuilt" "$original"
  has_no_none() { [[ $original != *none* ]]; }
  check ${prefix}every_window_was_found has_no_none
  probe exit-all >/dev/null
  wait_exit "$APP_PID" 20
}

story "" e2e_layout ""
story utf8_ e2e_layout_utf8 " café ソ日本 Ωμ"
e2e_finish
