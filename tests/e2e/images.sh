#!/usr/bin/env bash
# A user with an image window: Ctrl and the wheel turned towards them zoom it in, Tab switches
# its smoothing on and off, "&Save as" writes it through the real dialog, and three pictures and
# a text file dragged onto the main window from outside (an X drag and drop) open as image
# windows 000 to 002.
. "$(dirname "$0")/lib.sh"

start_program e2e_images.exe
check the_picture_opens wait_until 20 window_exists krt_iw 'pic(100%)'
wait_until 20 window_exists krtlib_mw0 KRTLIB
sleep 1.5  # the main window's drop-in
title_is() { [[ $(probe title krt_iw "$1") == "$1" ]]; }

read -r pl pt pr pb <<<"$(probe client krt_iw 'pic(100%)')"
PX=$(((pl + pr) / 2)) PY=$(((pt + pb) / 2))
click_free_spot
xdotool mousemove "$PX" "$PY" click 1
sleep 0.6
xdotool keydown ctrl
xdotool click 5  # the wheel turned towards the user
xdotool keyup ctrl
check ctrl_wheel_towards_the_user_zooms_to_111 wait_until 10 title_is 'pic(111%)'

xdotool key Tab
check tab_adds_the_halftone_star wait_until 10 title_is 'pic(111%)*'
xdotool key Tab
check tab_again_removes_it wait_until 10 title_is 'pic(111%)'

# "&Save as" from the popup menu by its mnemonic; the name is typed without an extension.
xdotool mousemove "$PX" "$PY" click 3
sleep 0.7
xdotool key s
check the_save_dialog_opens wait_until 20 window_exists '#32770' 'Save as'
xdotool type "$(winepath -w "$E2E_WORK" 2>/dev/null)\\shot"
xdotool key Return
saved() { [[ -s $E2E_WORK/shot.bmp ]]; }
check save_as_writes_shot_bmp wait_until 10 saved
check the_file_is_a_bmp_of_200x150 equals "$(head -c 2 "$E2E_WORK/shot.bmp") $(identify -format '%wx%h' "$E2E_WORK/shot.bmp" 2>/dev/null)" "BM 200x150"
colour_at() { convert "$E2E_WORK/shot.bmp" -format "%[fx:int(255*p{$1,$2}.r)],%[fx:int(255*p{$1,$2}.g)],%[fx:int(255*p{$1,$2}.b)]" info: 2>/dev/null; }
check its_pixels_are_the_images equals "$(colour_at 10 10) $(colour_at 150 10) $(colour_at 150 140)" "255,0,0 0,255,0 0,0,255"

# Three pictures and a text file, dragged onto the main window.
convert -size 160x120 xc:red "$E2E_WORK/a.bmp"
echo 'not a picture' > "$E2E_WORK/notes.txt"
convert -size 170x130 xc:lime "$E2E_WORK/b.png"
convert -size 180x140 xc:blue "$E2E_WORK/c.gif"
check the_drop_is_taken drop_files KRTLIB "$E2E_WORK/a.bmp" "$E2E_WORK/notes.txt" "$E2E_WORK/b.png" "$E2E_WORK/c.gif"
check picture_a_opens_as_000 wait_until 20 window_exists krt_iw '000 a.bmp(100%)'
check picture_b_opens_as_001 wait_until 20 window_exists krt_iw '001 b.png(100%)'
check picture_c_opens_as_002 wait_until 20 window_exists krt_iw '002 c.gif(100%)'
check the_text_file_opens_nothing equals "$(probe count krt_iw -)" 4
client_size() { local r; r=($(probe client krt_iw "$1")); echo $((r[2] - r[0]))x$((r[3] - r[1])); }
check each_window_has_its_pictures_size equals \
  "$(client_size '000 a.bmp(100%)') $(client_size '001 b.png(100%)') $(client_size '002 c.gif(100%)')" \
  "160x120 170x130 180x140"
# The windows open at the system's default place, one over the other: the last is on top.
sleep 0.5
screenshot dropped
read -r cl ct _ _ <<<"$(probe client krt_iw '002 c.gif(100%)')"
check window_002_shows_its_blue_picture equals "$(pixel dropped $((cl + 20)) $((ct + 20)))" 0,0,255

e2e_finish
