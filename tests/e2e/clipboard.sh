#!/usr/bin/env bash
# A user copies a picture with Ctrl+C in its image window and pastes it on the main window,
# first through its popup menu's "Paste", then with Ctrl+V: new windows 000 and 001 show the
# same picture.  Another X program reads the copy off the clipboard as a BMP with the same
# pixels.
. "$(dirname "$0")/lib.sh"

start_program e2e_images.exe
check the_picture_opens wait_until 20 window_exists krt_iw 'pic(100%)'
wait_until 20 window_exists krtlib_mw0 KRTLIB
sleep 1.5  # the main window's drop-in

# Ctrl+C in the picture's window (Ctrl pressed once that window's thread has the keyboard).
read -r pl pt pr pb <<<"$(probe client krt_iw 'pic(100%)')"
click_free_spot
xdotool mousemove $(((pl + pr) / 2)) $(((pt + pb) / 2)) click 1
sleep 0.6
xdotool keydown ctrl
xdotool key c
xdotool keyup ctrl
bmp_out() { xclip -selection clipboard -o -t image/bmp > "$E2E_WORK/copy.bmp" 2>/dev/null && [[ -s $E2E_WORK/copy.bmp ]]; }
check the_copy_reaches_the_x_clipboard wait_until 10 bmp_out
colour_at() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info: 2>/dev/null; }
check it_is_a_200x150_bmp_of_the_picture equals \
  "$(identify -format '%wx%h' "$E2E_WORK/copy.bmp" 2>/dev/null) $(colour_at "$E2E_WORK/copy.bmp" 10 10) $(colour_at "$E2E_WORK/copy.bmp" 150 10) $(colour_at "$E2E_WORK/copy.bmp" 150 140)" \
  "200x150 255,0,0 0,255,0 0,0,255"

# "Paste", the first row of the main window's popup menu.
menu_up() { [[ $(probe menus) != none ]]; }
read -r cx cy <<<"$(caption_point krtlib_mw0 KRTLIB)"
click_free_spot
xdotool mousemove "$cx" $((cy + 40)) click 3
wait_until 10 menu_up
xdotool key Down Return
check paste_opens_000 wait_until 20 window_exists krt_iw '000(100%)'
client_size() { local r; r=($(probe client krt_iw "$1")); echo $((r[2] - r[0]))x$((r[3] - r[1])); }
check window_000_is_the_pictures_size equals "$(client_size '000(100%)')" 200x150
sleep 0.5
screenshot pasted
read -r cl ct _ _ <<<"$(probe client krt_iw '000(100%)')"
check window_000_shows_the_same_pixels equals \
  "$(pixel pasted $((cl + 10)) $((ct + 10))) $(pixel pasted $((cl + 150)) $((ct + 10))) $(pixel pasted $((cl + 150)) $((ct + 140))) $(pixel pasted $((cl + 99)) $((ct + 74))) $(pixel pasted $((cl + 100)) $((ct + 74))) $(pixel pasted $((cl + 100)) $((ct + 75)))" \
  "255,0,0 0,255,0 0,0,255 255,0,0 0,255,0 0,0,255"

# Ctrl+V on the main window: the next free slot.
click_free_spot
xdotool mousemove $((cx + 30)) "$cy" click 1
sleep 0.6
xdotool keydown ctrl
xdotool key v
xdotool keyup ctrl
check ctrl_v_on_the_main_window_opens_001 wait_until 20 window_exists krt_iw '001(100%)'

e2e_finish
