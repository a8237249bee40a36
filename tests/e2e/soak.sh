#!/usr/bin/env bash
# A soak of the point-chain editor: run after run driven with real X input (the sample dropped
# on the main window, Stop and Start, drags of points and of the whole chain, every button of
# the box, "write" twice, "break"), for KRT_SOAK_SECONDS (60 by default; scripts/soak runs it
# longer) and at least KRT_SOAK_MIN_RUNS runs (2) however long they take.  Every "write" is
# checked byte for byte, in the log and on the clipboard, against the chain as this script
# follows it.  Every 10 s the editor's private bytes and its GDI and USER object counts are
# sampled into soak.csv, plotted into soak.png.
#
# The samples are taken between two steps of a run (both images open, no drag in progress), at
# the first such point after each 10 s tick: a sample between two runs, with the images
# destroyed, would differ by the images' memory and handles and hide a small leak among them.
#
# With KRT_SOAK_REFERENCE (scripts/soak: 60), every series stays within 2 % of its sample at
# that time.  Without it (the short soak of scripts/test), see the checks at the end.
. "$(dirname "$0")/lib.sh"

SOAK_SECONDS=${KRT_SOAK_SECONDS:-60}
SOAK_MIN_RUNS=${KRT_SOAK_MIN_RUNS:-2}
SOAK_REFERENCE=${KRT_SOAK_REFERENCE:-}
SOAK_OUT=${KRT_SOAK_OUT:-$E2E_ARTIFACTS}
SOAK_CSV=$SOAK_OUT/soak.csv
SOAK_PNG=$SOAK_OUT/soak.png
SAMPLE=$(cd "$(dirname "$0")/../../examples" && pwd)/flyeye.bmp
IMAGE0="000 flyeye.bmp(100%)"
CANVAS="tavimora(100%)"
LOG=$E2E_WORK/KRTLIB00.LOG
mkdir -p "$SOAK_OUT"

# ---- The chain as the editor should hold it -------------------------------------------------
# Points PX PY PR, their count N, the count kept while the edit view is off, the selected point,
# the edit and move views.  The selection and the views outlive a run; the points do not.
PX=() PY=() PR=() N=2 SAVED=2 SEL=0 EDIT=0 MOVE=0

model_start() { N=2; SAVED=2; PX=(100 500); PY=(300 100); PR=(40 40); }

# model_resample N: the points between the first and the (old) last spaced evenly.
model_resample() {
  local n=$1 lx=${PX[N - 1]} ly=${PY[N - 1]} lr=${PR[N - 1]} i
  for ((i = 1; i <= n - 2; i++)); do
    PX[i]=$((PX[0] + (lx - PX[0]) * i / (n - 1)))
    PY[i]=$((PY[0] + (ly - PY[0]) * i / (n - 1)))
    PR[i]=$((PR[0] + (lr - PR[0]) * i / (n - 1)))
  done
  PX[n - 1]=$lx; PY[n - 1]=$ly; PR[n - 1]=$lr
  N=$n
}

# model_button J: what button J does to the chain.
model_button() {
  local j=$1
  if ((MOVE)); then
    ((j == 7)) && MOVE=0
    return 0
  fi
  case $j in
    0) PR[SEL]=$((PR[SEL] - 1)) ;;
    1) PR[SEL]=$((PR[SEL] + 1)) ;;
    2) PX[SEL]=$((PX[SEL] - 1)) ;;
    3) PX[SEL]=$((PX[SEL] + 1)) ;;
    4) PY[SEL]=$((PY[SEL] - 1)) ;;
    5) PY[SEL]=$((PY[SEL] + 1)) ;;
    6) if ((EDIT)); then
         EDIT=0; SAVED=$N
         PX[1]=${PX[N - 1]}; PY[1]=${PY[N - 1]}; PR[1]=${PR[N - 1]}; N=2
       else
         EDIT=1; model_resample "$SAVED"
       fi ;;
    7) MOVE=1 ;;
    8) if ((EDIT)); then if ((N - 1 < 2)); then N=2; else model_resample $((N - 1)); fi; fi ;;
    9) if ((EDIT && N + 1 <= 32)); then model_resample $((N + 1)); fi ;;
  esac
}

# What "write" leaves in the log and on the clipboard.
model_text() {
  local i
  for ((i = 0; i < N; i++)); do printf '%d %d %d\r\n' "${PX[i]}" "${PY[i]}" "${PR[i]}"; done
  printf '\r\n\r\n'
  for ((i = 0; i < N; i++)); do printf '%d, %d,\r\n' "${PX[i]}" "${PY[i]}"; done
}

# ---- Samples ----------------------------------------------------------------------------------
SOAK_T0=${EPOCHREALTIME/[.,]/}
NEXT_SAMPLE=0
elapsed_ms() { local now=${EPOCHREALTIME/[.,]/}; echo $(((now - SOAK_T0) / 1000)); }
echo "time_s,private_bytes,gdi_objects,user_objects" > "$SOAK_CSV"
SAMPLE_HOW=

# maybe_sample: one sample when a 10 s tick has passed since the last one.
maybe_sample() {
  local ms; ms=$(elapsed_ms)
  ((ms >= NEXT_SAMPLE)) || return 0
  local stats; stats=($(probe process-stats pointchain.exe))
  if ((${#stats[@]} < 4)); then e2e_log "no sample at ${ms} ms: ${stats[*]}"; return 0; fi
  SAMPLE_HOW=${stats[3]}
  printf '%d.%d,%s,%s,%s\n' $((ms / 1000)) $((ms % 1000 / 100)) "${stats[0]}" "${stats[1]}" "${stats[2]}" >> "$SOAK_CSV"
  while ((NEXT_SAMPLE <= ms)); do NEXT_SAMPLE=$((NEXT_SAMPLE + 10000)); done
}

# ---- Driving ----------------------------------------------------------------------------------
WRITES=0 LOG_EXACT=0 CLIP_EXACT=0 LAST_LOG=1 LAST_CLIP=1 RUNS=0

# press J: a click on button J of the box; the editor sees it within a frame.
press() {
  local b; b=(${BUTTONS[$1]})
  xdotool mousemove $((BL + b[1] + b[3] / 2)) $((BT + b[2] + b[4] / 2)) click 1
  sleep 0.6  # one frame sees each click; also keeps clicks apart from double clicks
  model_button "$1"
  (($1 != 11)) && maybe_sample  # after "break" the images are gone
  return 0
}

# drag X Y DX DY: a press at image point (X, Y), moved by (DX, DY) in two steps, released.
drag() {
  drag_mouse $((IL + $1)) $((IT + $2)) "$3" "$4"
  maybe_sample
}

# drag_point I DX DY: point I grabbed 5 pixels right of it and moved by (DX, DY).
drag_point() {
  drag $((PX[$1] + 5)) "${PY[$1]}" "$2" "$3"
  PX[$1]=$((PX[$1] + $2)); PY[$1]=$((PY[$1] + $3)); SEL=$1
}

# drag_chain DX DY: in the move view, a press beside the chain drags all of it.
drag_chain() {
  drag 320 420 "$1" "$2"
  local i
  for ((i = 0; i < N; i++)); do PX[i]=$((PX[i] + $1)); PY[i]=$((PY[i] + $2)); done
}

write_and_check() {
  press 10
  WRITES=$((WRITES + 1))
  local expected; expected=$(model_text; echo .)
  log_holds() { [[ -f $LOG && "$(cat "$LOG"; echo .)" == "$expected" ]]; }
  LAST_LOG=0 LAST_CLIP=0
  if wait_until 10 log_holds; then LOG_EXACT=$((LOG_EXACT + 1)); LAST_LOG=1
  else e2e_log "write $WRITES: log [$(cat "$LOG" 2>/dev/null)], expected [${expected%.}]"; fi
  sleep 1  # the copy follows the last line; reading the clipboard meanwhile could hold it open
  local clip; clip=$(clipboard_bytes; echo .)
  if [[ $clip == "$expected" ]]; then CLIP_EXACT=$((CLIP_EXACT + 1)); LAST_CLIP=1
  else e2e_log "write $WRITES: clipboard [${clip%.}], expected [${expected%.}]"; fi
}

main_window_key() {
  click_free_spot
  xdotool mousemove "$MX" "$MY" click 1
  sleep 0.6
  xdotool key "$@"
}

# One run of the editor, from dropping the picture to "break"; false when a window never came.
# The numbers vary from run to run (K) so that the writes differ.
one_run() {
  local k=$1
  drop_files KRTLIB "$SAMPLE" || return 1
  wait_until 20 window_exists - "$IMAGE0" || return 1
  # Image 000 opens over the button box: move it aside, clear of the main window.
  local cx cy
  read -r cx cy <<<"$(caption_point - "$IMAGE0")"
  click_free_spot
  drag_caption_aside "$cx" "$cy"

  main_window_key c  # Stop while idle: the next Start must still start
  sleep 0.2
  # A key typed while another window is taking the focus can be lost: Start again until the
  # run's window comes (a Start during a run does nothing).
  local try
  for try in 1 2 3; do
    main_window_key s
    wait_until 15 window_exists - "$CANVAS" && break
    e2e_log "run $k: Start had no effect yet"
  done
  window_exists - "$CANVAS" || return 1
  model_start
  sleep 1
  read -r IL IT _ _ <<<"$(probe client - "$CANVAS")"
  click_free_spot
  maybe_sample

  drag_point 0 $((20 + k % 5 * 5)) $((10 + k % 3 * 5))
  drag_point 1 -$((30 + k % 4 * 5)) $((20 + k % 2 * 10))
  local j
  for j in 1 1 0 2 3 3 4 4 5; do press "$j"; done  # r+ r+ r- ← → → ↑ ↑ ↓
  press 6                                          # edit on
  for ((j = 0; j < 2 + k % 3; j++)); do press 9; done  # num +
  press 8                                          # num -
  write_and_check
  press 6                                          # edit off: only the ends stay
  press 7                                          # move view
  drag_chain -$((10 + k % 3 * 5)) 15
  press 0                                          # ignored in the move view
  press 7                                          # point view
  press 6                                          # edit on: the points come back evenly
  write_and_check
  press 6                                          # edit off
  press 11                                         # break
  image_gone() { window_gone - "$IMAGE0" && window_gone - "$CANVAS"; }
  wait_until 10 image_gone || return 1
  # Once, between runs: the counts without the two images, which shows that they are live.
  ((k == 0)) && e2e_log "between runs: $(probe process-stats pointchain.exe)"
  RUNS=$((RUNS + 1))
}

start_program pointchain.exe
EDITOR_PID=$APP_PID
check editor_opens_its_windows wait_until 20 window_exists - ButtonBox
wait_until 20 window_exists - "TextWindow 0"
wait_until 20 window_exists krtlib_mw0 KRTLIB
sleep 1.5  # the main window drops into place
read -r MX MY <<<"$(caption_point krtlib_mw0 KRTLIB)"
read -r BL BT _ _ <<<"$(probe client - ButtonBox)"
mapfile -t BUTTONS < <(probe child-rects - ButtonBox | grep -i '^button')
check button_box_has_twelve_buttons equals "${#BUTTONS[@]}" 12

SOAK_T0=${EPOCHREALTIME/[.,]/}
RUN_MS=0 SECOND_RUN_MS=0
run_ok=1
for ((k = 0; ; k++)); do
  # At least SOAK_MIN_RUNS runs, whatever they take: the first run on a machine whose packages
  # were just installed can take half a minute, and the checks need samples from later runs.
  # After them, a run starts only when it can end before the time is up (as long as the last).
  ms=$(elapsed_ms)
  ((k >= SOAK_MIN_RUNS && ms + RUN_MS > SOAK_SECONDS * 1000)) && break
  ((k == 1)) && SECOND_RUN_MS=$ms
  one_run "$k" || { run_ok=0; e2e_log "run $k did not complete"; screenshot "run_$k"; break; }
  RUN_MS=$(($(elapsed_ms) - ms))
done
e2e_log "$RUNS runs, $WRITES writes in $(($(elapsed_ms) / 1000)) s"
check every_run_completes equals "$run_ok" 1
check every_write_is_exact_in_the_log equals "$LOG_EXACT/$WRITES" "$WRITES/$WRITES"
check every_write_is_exact_on_the_clipboard equals "$CLIP_EXACT/$WRITES" "$WRITES/$WRITES"
check the_last_write_is_exact equals "$LAST_LOG$LAST_CLIP" 11

# ---- The figures --------------------------------------------------------------------------
mapfile -t ROWS < <(tail -n +2 "$SOAK_CSV")
# first_sample_from SECONDS: the index of the first sample taken at or after it, or -1.
first_sample_from() {
  local i t
  for i in "${!ROWS[@]}"; do
    t=${ROWS[i]%%,*}; t=${t%.*}
    ((t >= $1)) && { echo "$i"; return; }
  done
  echo -1
}
# steady COLUMN NAME REFERENCE RULE: every sample from the reference on within 2 % of it
# (RULE pct), or never above it (RULE flat); adds the figures to the summary.
steady() {
  local col=$1 name=$2 ref=$3 rule=$4 base value i worst=0 dev grew=0
  if ((ref < 0 || ref >= ${#ROWS[@]})); then e2e_log "$name: no sample after the reference time"; return 1; fi
  base=$(cut -d, -f"$col" <<<"${ROWS[ref]}")
  for ((i = ref; i < ${#ROWS[@]}; i++)); do
    value=$(cut -d, -f"$col" <<<"${ROWS[i]}")
    ((value > base)) && grew=1
    dev=$(( (value - base) * 10000 / (base > 0 ? base : 1) ))  # hundredths of a percent
    ((dev < 0)) && dev=$((-dev))
    ((dev > worst)) && worst=$dev
  done
  value=$(cut -d, -f"$col" <<<"${ROWS[-1]}")
  SUMMARY+=" $name ${ROWS[ref]%%,*} s: $base, end: $value, max dev $((worst / 100)).$(printf %02d $((worst % 100)))%;"
  ((base > 0)) || return 1
  if [[ $rule == flat ]]; then ((!grew)); else ((worst <= 200)); fi
}
SUMMARY=
if [[ -n $SOAK_REFERENCE ]]; then
  ref=$(first_sample_from "$SOAK_REFERENCE")
  check private_bytes_stay_steady steady 2 private_bytes "$ref" pct
  check gdi_objects_stay_steady steady 3 gdi_objects "$ref" pct
  check user_objects_stay_steady steady 4 user_objects "$ref" pct
else
  # A short soak has two runs or a few more.  The object counts have no warm-up (the first run
  # already holds every object a run needs), so a single object kept by a run shows as growth
  # from the first sample on.  The memory is held to 2 % from the second run on: the first run
  # still fills caches.
  check private_bytes_stay_steady steady 2 private_bytes "$(first_sample_from $((SECOND_RUN_MS / 1000)))" pct
  check gdi_objects_never_grow steady 3 gdi_objects 0 flat
  check user_objects_never_grow steady 4 user_objects 0 flat
fi

# A plot of the three series, each over its own range, one panel under the other.
plot() {
  local w=600 h=140 args=() col name panel font
  panel=0
  font=$(fc-match -f '%{file}' sans 2>/dev/null)  # ImageMagick's own default face may be missing
  [[ -f $font ]] && args+=(-font "$font" -pointsize 12)
  for col in 2 3 4; do
    name=$(head -1 "$SOAK_CSV" | cut -d, -f"$col")
    local lo hi points
    read -r lo hi < <(tail -n +2 "$SOAK_CSV" | cut -d, -f"$col" | sort -n | sed -n '1p;$p' | paste -sd' ')
    [[ -z $hi ]] && hi=$lo
    ((hi == lo)) && { lo=$((lo - 1)); hi=$((hi + 1)); }
    local top=$((panel * (h + 30) + 20))
    points=$(tail -n +2 "$SOAK_CSV" | awk -F, -v c="$col" -v lo="$lo" -v hi="$hi" -v w="$w" -v h="$h" \
      -v top="$top" -v tmax="${ROWS[-1]%%,*}" \
      '{ x = 40 + (tmax > 0 ? $1 / tmax : 0) * w; y = top + h - ($c - lo) / (hi - lo) * h; printf "%.1f,%.1f ", x, y }')
    args+=(-fill none -stroke gray -draw "rectangle 40,$top $((40 + w)),$((top + h))")
    [[ $points == *' '*,*' '* ]] && args+=(-stroke blue -draw "polyline $points")
    args+=(-stroke none -fill black -draw "text 44,$((top - 4)) '$name $lo .. $hi'")
    panel=$((panel + 1))
  done
  args+=(-draw "text 40,$((3 * (h + 30) + 4)) 'time 0 .. ${ROWS[-1]%%,*} s'")
  convert -size $((w + 60))x$((3 * (h + 30) + 14)) xc:white "${args[@]}" "$SOAK_PNG"
}
if ((${#ROWS[@]})); then plot || e2e_log "no plot"; else e2e_log "no sample, no plot"; fi

main_window_key x
wait_exit "$EDITOR_PID" 20
check x_ends_the_editor_with_code_0 equals "$?" 0

summary="soak: $(($(elapsed_ms) / 1000)) s, $RUNS runs, writes exact $LOG_EXACT/$WRITES in the log and $CLIP_EXACT/$WRITES on the clipboard;$SUMMARY counts by $SAMPLE_HOW; $SOAK_CSV $SOAK_PNG"
e2e_log "$summary"
echo "$summary" > "$SOAK_OUT/summary.txt"
e2e_finish
