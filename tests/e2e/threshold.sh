#!/usr/bin/env bash
# The threshold example with real X input: the sample picture dropped on the main window,
# Start, "write" at the first threshold, after "- 16" twice and after "+ 1".  Each share printed
# is checked against one counted here from the picture file's own pixels; on screen, the
# binary image is white and black where the picture is above and below the threshold, and the
# histogram's red line sits at the threshold.
. "$(dirname "$0")/lib.sh"

SAMPLE=$(cd "$(dirname "$0")/../../examples" && pwd)/flyeye.bmp
# The picture's pixels as "x y grey", the grey level by the integer weights of luminance, read
# meanwhile.
GREYS=$E2E_WORK/greys.txt
convert "$SAMPLE" -depth 8 txt:- |
  awk 'NR > 1 { split($1, p, /[,:]/); split($2, c, /[(),]/)
                print p[1], p[2], int((19595 * c[2] + 38470 * c[3] + 7471 * c[4] + 32768) / 65536) }' > "$GREYS" &
READER=$!

start_program threshold.exe
THRESHOLD_PID=$APP_PID
check the_program_opens_its_boxes wait_until 20 window_exists - ButtonBox
wait_until 20 window_exists krtlib_mw0 KRTLIB
sleep 1.5  # the main window drops into place
check the_sample_is_dropped_on_the_main_window drop_files KRTLIB "$SAMPLE"
check it_opens_as_image_000 wait_until 20 window_exists - "000 flyeye.bmp(100%)"
check start_shows_grey_and_binary_images press_start window_exists - "binary(50%)[8bit]"
check and_the_histogram wait_until 10 window_exists - "histogram(200%)"
sleep 1
read_buttons
press_button 4  # write
press_button 2  # - 16
press_button 2
press_button 4
press_button 1  # + 1
press_button 4

wait "$READER"
# share T: the line "write" prints for threshold T, from the pixels counted here.
share() { awk -v t="$1" '{ n++; if ($3 > t) above++ } END { printf "threshold %d: %.2f %% of the pixels above it\n", t, 100.0 * above / n }' "$GREYS"; }
for t in 128 96 97; do
  line=$(share "$t")
  check "write_at_${t}_prints_its_share" wait_until 10 logged "$line"
done

# On screen, at 50 %: points inside the image whose 2 x 2 block of pixels is all above or all
# at most the threshold (the screen pixel shows one of them): a facet's bright middle, the
# dark rim between facets, the background.
sleep 0.5
screenshot binary
read -r bl bt _ _ <<<"$(probe client - "binary(50%)[8bit]")"
expect_binary() {
  local want
  want=$(awk -v x="$1" -v y="$2" -v t=97 '$1 >= x && $1 <= x + 1 && $2 >= y && $2 <= y + 1 { n++; hi += $3 > t }
                                          END { print (hi == 4 ? "255,255,255" : hi == 0 ? "0,0,0" : "mixed") }' "$GREYS")
  equals "$(pixel binary $((bl + $1 / 2)) $((bt + $2 / 2)))" "$want" && [[ $want != mixed ]]
}
check a_bright_facet_is_white expect_binary 320 226
check the_background_is_black expect_binary 20 20
check the_rim_between_facets_is_black expect_binary 336 238
read -r hl ht _ _ <<<"$(probe client - "histogram(200%)")"
check the_histogram_marks_97_in_red equals "$(pixel binary $((hl + 2 * 97)) $((ht + 10)))" 255,0,0
check and_no_longer_128 test "$(pixel binary $((hl + 2 * 128)) $((ht + 10)))" != 255,0,0
guide_picture 0 0 1200 790

press_button 5  # break
windows_gone() { window_gone - "binary(50%)[8bit]" && window_gone - "histogram(200%)"; }
check break_closes_its_windows wait_until 10 windows_gone
main_window_key x
wait_exit "$THRESHOLD_PID" 20
check x_ends_the_program_with_code_0 equals "$?" 0

e2e_finish
