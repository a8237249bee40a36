#!/usr/bin/env bash
# The filters example with real X input: Start without the sample picture at hand reports it
# missing; a picture's name and the kernel size 3 are typed into the input box; "open" shows
# the picture, and each filter's button opens its result.  Pixels of every result on screen,
# at the edge and inside, are checked against the filters computed here from the picture file.
. "$(dirname "$0")/lib.sh"

SAMPLE=$(cd "$(dirname "$0")/../../examples" && pwd)/flyeye.bmp
PICTURE=$E2E_WORK/small.bmp
convert "$SAMPLE" -crop 160x120+240+180 +repage -type TrueColor "BMP3:$PICTURE"

start_program filters.exe
FILTERS_PID=$APP_PID
check the_program_opens_its_boxes wait_until 20 window_exists - InputBox
wait_until 20 window_exists - ButtonBox
wait_until 20 window_exists krtlib_mw0 KRTLIB
sleep 1.5  # the main window drops into place
check start_reports_the_sample_missing press_start logged "examples/flyeye.bmp is not a picture"

# The input box's fields: item 0 the kernel, item 1 the picture's name.
read -r IL IT _ _ <<<"$(probe client - InputBox)"
mapfile -t EDITS < <(probe child-rects - InputBox | grep -i '^edit')
type_into() {
  local e; e=(${EDITS[$1]})
  click_free_spot
  xdotool mousemove $((IL + e[1] + e[3] / 2)) $((IT + e[2] + e[4] / 2)) click 1
  sleep 0.4
  xdotool key End shift+Home
  xdotool type "$2"
  xdotool key Return
  sleep 0.4
}
type_into 1 "$(winepath -w "$PICTURE" 2>/dev/null)"
type_into 0 3
read_buttons
press_button 0  # open
check open_shows_the_picture wait_until 10 window_exists - "000 small.bmp(100%)"
check and_prints_its_size wait_until 10 logged "$(winepath -w "$PICTURE" 2>/dev/null): 160 x 120"
for j in 1 2 3 4; do press_button "$j"; done  # box blur, gauss, median, sobel

took() { tr -d '\r' < "$E2E_WORK/KRTLIB00.LOG" | grep -qE "^$1 3x3: image $2 in [0-9]+ ms\$"; }
check box_blur_prints_its_time wait_until 20 took box 1
check gauss_prints_its_time wait_until 20 took gauss 2
check median_prints_its_time wait_until 20 took median 3
check sobel_prints_its_time wait_until 20 took sobel 4

# The four filters at a few points, from the picture's pixels; "r,g,b" per point and filter.
POINTS="0,0 159,60 40,30 80,61 17,93 123,45"
reference() {
  convert "$PICTURE" -depth 8 txt:- | awk -v filter="$1" -v points="$POINTS" '
    NR > 1 { split($1, p, /[,:]/); split($2, c, /[(),]/); R[p[1], p[2]] = c[2]; G[p[1], p[2]] = c[3]; B[p[1], p[2]] = c[4]
             if (p[1] + 1 > w) w = p[1] + 1; if (p[2] + 1 > h) h = p[2] + 1 }
    function cx(x) { return x < 0 ? 0 : x >= w ? w - 1 : x }
    function cy(y) { return y < 0 ? 0 : y >= h ? h - 1 : y }
    function lum(x, y) { x = cx(x); y = cy(y); return int((19595 * R[x, y] + 38470 * G[x, y] + 7471 * B[x, y] + 32768) / 65536) }
    function median(v, n,   i, j, t) {
      for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (v[j] < v[i]) { t = v[i]; v[i] = v[j]; v[j] = t }
      return v[(n + 1) / 2]
    }
    END {
      split(points, list, " ")
      for (k = 1; k in list; k++) {
        split(list[k], q, ","); x = q[1]; y = q[2]
        if (filter == "sobel") {
          gx = lum(x+1,y-1) + 2*lum(x+1,y) + lum(x+1,y+1) - lum(x-1,y-1) - 2*lum(x-1,y) - lum(x-1,y+1)
          gy = lum(x-1,y+1) + 2*lum(x,y+1) + lum(x+1,y+1) - lum(x-1,y-1) - 2*lum(x,y-1) - lum(x+1,y-1)
          m = int(sqrt(gx * gx + gy * gy)); if (m > 255) m = 255
          printf "%d,%d,%d ", m, m, m; continue
        }
        sr = sg = sb = total = n = 0
        for (dy = -1; dy <= 1; dy++) for (dx = -1; dx <= 1; dx++) {
          px = cx(x + dx); py = cy(y + dy); wt = filter == "gauss" ? (2 - (dx != 0)) * (2 - (dy != 0)) : 1
          sr += wt * R[px, py]; sg += wt * G[px, py]; sb += wt * B[px, py]; total += wt
          n++; vr[n] = R[px, py]; vg[n] = G[px, py]; vb[n] = B[px, py]
        }
        if (filter == "median") printf "%d,%d,%d ", median(vr, 9), median(vg, 9), median(vb, 9)
        else printf "%d,%d,%d ", int((sr + int(total / 2)) / total), int((sg + int(total / 2)) / total), int((sb + int(total / 2)) / total)
      }
    }'
}
sleep 0.5
screenshot filtered
on_screen() {  # TITLE: the same points in that window
  local l t _ point
  read -r l t _ _ <<<"$(probe client - "$1")"
  for point in $POINTS; do printf '%s ' "$(pixel filtered $((l + ${point%,*})) $((t + ${point#*,})))"; done
}
check box_blur_is_the_mean equals "$(on_screen 'box 3x3(100%)')" "$(reference box)"
check gauss_weighs_1_2_1 equals "$(on_screen 'gauss 3x3(100%)')" "$(reference gauss)"
check median_is_the_middle_value equals "$(on_screen 'median 3x3(100%)')" "$(reference median)"
check sobel_is_the_gradients_length equals "$(on_screen 'sobel 3x3(100%)[8bit]')" "$(reference sobel)"
guide_picture 0 0 900 530

main_window_key x
wait_exit "$FILTERS_PID" 20
check x_ends_the_program_with_code_0 equals "$?" 0

e2e_finish
