#!/usr/bin/env bash
# A user drawing on a 200 x 150 black canvas through the tools menu (Ctrl and a right click,
# then the arrow keys): a filled box by two clicks, with its rubber band on screen between
# them; the drawing colour picked from the red strip; a circle by two clicks inside the box;
# "Paint" inside the circle; "Pixel" on the painted centre, reported in the log; "Draw Text"
# with a line typed at "Text>".  Each result is read back from a screenshot and checked pixel
# by pixel against the geometry it should have.
. "$(dirname "$0")/lib.sh"

start_program e2e_tools.exe
check the_canvas_opens wait_until 20 window_exists krt_iw 'canvas(100%)'
wait_until 20 window_exists - 'TextWindow 0'
wait_until 20 window_exists krtlib_mw0 KRTLIB
sleep 1.5  # the main window's drop-in
read -r CL CT _ _ <<<"$(probe client krt_iw 'canvas(100%)')"
LOG=$E2E_WORK/KRTLIB00.LOG
menu_up() { [[ $(probe menus) != none ]]; }

# tools_menu KEYS...: the canvas's tools menu, walked with the keys.  The canvas is clicked
# first (a plain click does nothing) so that the menu gets the keys.
tools_menu() {
  click_free_spot
  xdotool mousemove $((CL + 190)) $((CT + 5)) click 1
  sleep 0.3
  xdotool keydown ctrl
  xdotool click 3
  xdotool keyup ctrl
  wait_until 10 menu_up || return 1
  xdotool key "$@"
  sleep 0.4
}
at() { xdotool mousemove $((CL + $1)) $((CT + $2)); }
click_at() { at "$1" "$2"; xdotool click 1; sleep 0.3; }
status_is() { probe texts krtlib_mw0 KRTLIB | grep -q "^ *$1 *\$"; }

# canvas_is SHOT AWK-EXPRESSION: every canvas pixel of the screenshot has the colour that the
# expression gives for its x and y ("#RRGGBB", or "any").  Says where the first one differs.
canvas_is() {
  convert "$E2E_ARTIFACTS/$1.png" -crop "200x150+$CL+$CT" +repage -depth 8 txt:- 2>/dev/null |
    awk -F'[,: ]+' '
      function dist2(x, y, cx, cy) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) }
      NR > 1 {
        x = $1; y = $2; actual = ""
        for (i = 3; i <= NF; i++) if ($i ~ /^#[0-9A-F]+$/) { actual = substr($i, 1, 7); break }
        '"$2"'
        n++
        if (want != "any" && want != actual) { printf "  (%d, %d) is %s, expected %s\n", x, y, actual, want > "/dev/stderr"; bad = 1; exit }
      }
      END { exit bad || n != 30000 }'
}
# shows SHOT EXPRESSION: polls screenshots until the canvas matches.
shot_matches() { screenshot "$1" && canvas_is "$1" "$2" 2>/dev/null; }
shows() { wait_until 10 shot_matches "$1" "$2" || canvas_is "$1" "$2"; }

BOX='(x >= 20 && x <= 120 && y >= 30 && y <= 90)'

# Draw Box / Fill: the seventh row, its submenu's second row.  The band follows the mouse.
tools_menu Down Down Down Down Down Down Down Right Down Return
check box_asks_for_the_first_point wait_until 10 status_is 'Click the first point'
click_at 20 30
check then_for_the_second wait_until 10 status_is 'Click the second point'
at 120 90
band='want = "#000000"; if (y >= 140) want = "#FF0000"; else if ((x == 20 || x == 120) && y >= 30 && y <= 90) want = "#FFFFFF"; else if ((y == 30 || y == 90) && x >= 20 && x <= 120) want = "#FFFFFF"'
check the_band_outlines_the_box_on_screen shows band "$band"
xdotool click 1
box='want = "#000000"; if (y >= 140) want = "#FF0000"; else if '"$BOX"' want = "#FFFFFF"'
check the_box_is_filled_white shows box "$box"
check the_status_is_idle_again wait_until 10 status_is '[0-9]*-bit color'

# Color / Pick on the red strip: the next drawings are red.
tools_menu Down Down Down Down Down Right Down Return
click_at 100 145

# Draw Circle / Normal about (70, 60) through (82, 76): radius 20, inside the box.
tools_menu Down Down Down Down Down Down Down Down Right Return
click_at 70 60
at 82 76
xdotool click 1
circle='d = dist2(x, y, 70, 60); want = "#000000"; if (y >= 140) want = "#FF0000"; else if '"$BOX"' want = (d < 19 * 19 || d > 21 * 21) ? "#FFFFFF" : "any"'
check a_red_circle_of_radius_20 shows circle "$circle"
screenshot circle
axis_points() { equals "$(pixel circle $((CL + 70)) $((CT + 40))) $(pixel circle $((CL + 90)) $((CT + 60))) $(pixel circle $((CL + 70)) $((CT + 80))) $(pixel circle $((CL + 50)) $((CT + 60)))" "255,0,0 255,0,0 255,0,0 255,0,0"; }
check its_four_axis_points_are_red axis_points

# Paint inside it: the disc turns red, the rest of the box stays white.
tools_menu Down Down Down Down Down Down Down Down Down Down Down Return
click_at 70 60
painted='d = dist2(x, y, 70, 60); want = "#000000"; if (y >= 140) want = "#FF0000"; else if (d <= 19 * 19) want = "#FF0000"; else if '"$BOX"' want = (d > 21.5 * 21.5) ? "#FFFFFF" : "any"'
check paint_fills_the_disc_only shows painted "$painted"

# Information / Pixel on the painted centre.
tools_menu Down Down Right Return
click_at 70 60
expected=$'(X,Y)=(70,60)\r\n(R,G,B)=(255,0,0)\r\n(H,S,V)=(0,255,255)\r\n(Y,Cr,Cb)=(76,128,-42)\r\n(Y,u,v)=(76,-36,157)\r\n(Y,I,Q)=(76,152,53)\r\n\r\n'
log_is() { [[ "$(cat "$LOG"; echo .)" == "$1." ]]; }
check pixel_reports_the_red_centre_in_the_log wait_until 10 log_is "$expected"

# Draw Text at (10, 20), the line typed in the console.
tools_menu Down Down Down Down Down Down Down Down Down Down Return
click_at 10 20
read -r tl tt _ _ <<<"$(probe client - 'TextWindow 0')"
click_free_spot
xdotool mousemove $((tl + 100)) $((tt + 150)) click 1
sleep 0.6
xdotool type 'Hi'
xdotool key Return
check the_line_is_read_at_text_prompt wait_until 10 log_is "$expected"$'Text>Hi\r\n'
texted='d = dist2(x, y, 70, 60); want = "#000000"; if (y >= 140) want = "#FF0000"; else if (d <= 19 * 19) want = "#FF0000"; else if '"$BOX"' want = (d > 21.5 * 21.5) ? "#FFFFFF" : "any"; else if (x >= 10 && x < 26 && y >= 4 && y < 26) want = "any"'
check the_text_leaves_the_rest_alone shows text "$texted"
red_in_text() {
  convert "$E2E_ARTIFACTS/text.png" -crop "16x22+$((CL + 10))+$((CT + 4))" +repage -fill black +opaque red \
    -format '%[fx:int(mean.r*w*h+0.5)]' info: 2>/dev/null
}
check the_text_is_drawn_in_red test "$(red_in_text)" -gt 10

e2e_finish
