# Helpers of the end-to-end scripts.  A script sources this with the Windows build tree as $1;
# DISPLAY and WINEPREFIX come from scripts/test.  Each check is one test case of the script's
# report, written in GoogleTest's XML shape so that scripts/test counts it.
set -u

E2E_BUILD=$(cd "$1" && pwd)
E2E_NAME=$(basename "$0" .sh)
E2E_RESULTS=$E2E_BUILD/results
E2E_ARTIFACTS=$E2E_RESULTS/e2e.$E2E_NAME
E2E_CASES=()
E2E_FAILS=0
E2E_PIDS=()
mkdir -p "$E2E_ARTIFACTS"
E2E_WORK=$(mktemp -d)

e2e_log() { printf '[e2e %s] %s\n' "$E2E_NAME" "$*" >&2; }

# check NAME COMMAND...: one test case, passed when the command succeeds.
check() {
  local name=$1; shift
  if "$@"; then E2E_CASES+=("$name|"); e2e_log "ok   $name"
  else E2E_CASES+=("$name|failed"); E2E_FAILS=$((E2E_FAILS + 1)); e2e_log "FAIL $name"; fi
}

# equals ACTUAL EXPECTED: a command for check that also says what differed.
equals() {
  [[ $1 == "$2" ]] && return 0
  e2e_log "  expected [$2], got [$1]"
  return 1
}

e2e_finish() {
  local xml=$E2E_RESULTS/e2e.$E2E_NAME.xml entry name status
  {
    printf '<?xml version="1.0" encoding="UTF-8"?>\n'
    printf '<testsuites tests="%d" failures="%d" disabled="0" errors="0" name="e2e.%s">\n' \
      "${#E2E_CASES[@]}" "$E2E_FAILS" "$E2E_NAME"
    printf '  <testsuite name="%s" tests="%d" failures="%d">\n' "$E2E_NAME" "${#E2E_CASES[@]}" "$E2E_FAILS"
    for entry in "${E2E_CASES[@]}"; do
      name=${entry%|*}; status=${entry##*|}
      if [[ -n $status ]]; then
        printf '    <testcase name="%s" classname="%s">\n      <failure message="failed"/>\n    </testcase>\n' "$name" "$E2E_NAME"
      else
        printf '    <testcase name="%s" classname="%s"/>\n' "$name" "$E2E_NAME"
      fi
    done
    printf '  </testsuite>\n</testsuites>\n'
  } > "$xml"
  e2e_cleanup
  ((E2E_FAILS == 0))
  exit $?
}

# Ends what this script started (by PID) and asks any instance still open to exit.
e2e_cleanup() {
  probe exit-all >/dev/null 2>&1
  local pid t
  for pid in "${E2E_PIDS[@]}"; do
    for t in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill "$pid" 2>/dev/null
  done
  rm -rf "$E2E_WORK"
}
trap 'e2e_cleanup' INT TERM

probe() { wine "$E2E_BUILD/e2e_probe.exe" "$@" 2>/dev/null | tr -d '\r'; }
# The clipboard's CF_TEXT bytes exactly as they are (line ends included).
clipboard_bytes() { wine "$E2E_BUILD/e2e_probe.exe" clipboard-text 2>/dev/null; }

# start_program EXE [ARGS...]: starts a program of the build tree; its PID is in APP_PID.
start_program() {
  local exe=$1; shift
  ( cd "$E2E_WORK" && exec wine "$E2E_BUILD/$exe" "$@" ) >>"$E2E_ARTIFACTS/wine.log" 2>&1 &
  APP_PID=$!
  E2E_PIDS+=("$APP_PID")
}

# wait_until SECONDS COMMAND...: polls every 0.2 s.
wait_until() {
  local limit=$1; shift
  local deadline=$((SECONDS + limit))
  until "$@"; do
    ((SECONDS >= deadline)) && return 1
    sleep 0.2
  done
}

# wait_exit PID SECONDS: the process's exit code, or 124 when it did not end in time.
wait_exit() {
  local pid=$1 limit=$2 t
  for t in $(seq 1 $((limit * 10))); do
    if ! kill -0 "$pid" 2>/dev/null; then wait "$pid"; return $?; fi
    sleep 0.1
  done
  return 124
}

window_exists() { [[ $(probe rect "$1" "$2") != none ]]; }
window_gone() { [[ $(probe rect "$1" "$2") == none ]]; }

# The screen point in the middle of a window's caption.
caption_point() {
  local r; r=($(probe rect "$1" "$2"))
  echo $(((r[0] + r[2]) / 2)) $((r[1] + 12))
}

# A click on a spot of the desktop that no window covers, so that the next click really moves
# the keyboard focus.
click_free_spot() { xdotool mousemove 1270 850 click 1; sleep 0.2; }

# drag_mouse X Y DX DY: a press at screen point (X, Y), moved by (DX, DY) in two steps and
# released; one more small move follows, since some windows end a drag on the next mouse message.
drag_mouse() {
  xdotool mousemove "$1" "$2" mousedown 1
  sleep 0.3
  xdotool mousemove $(($1 + $3 / 2)) $(($2 + $4 / 2))
  sleep 0.2
  xdotool mousemove $(($1 + $3)) $(($2 + $4))
  sleep 0.3
  xdotool mouseup 1
  xdotool mousemove_relative 1 1
  sleep 0.5
}

# drag_caption_aside X Y: the window whose caption is at (X, Y) dragged 640 right and 200 down.
drag_caption_aside() {
  xdotool mousemove "$1" "$2" mousedown 1
  sleep 0.2
  xdotool mousemove $(($1 + 300)) $(($2 + 100))
  sleep 0.1
  xdotool mousemove $(($1 + 640)) $(($2 + 200))
  sleep 0.2
  xdotool mouseup 1
  xdotool mousemove_relative 1 1
  sleep 0.5
}

screenshot() { import -window root "$E2E_ARTIFACTS/$1.png" 2>/dev/null; }

# pixel FILE X Y: the colour of a screenshot pixel as "r,g,b".
pixel() { convert "$E2E_ARTIFACTS/$1.png" -format '%[fx:int(255*p{'"$2,$3"'}.r)],%[fx:int(255*p{'"$2,$3"'}.g)],%[fx:int(255*p{'"$2,$3"'}.b)]' info: 2>/dev/null; }

# drop_files TITLE FILE...: drops the files on the window with this title through XDND, at
# the middle of its client area.  The small native drop tool is built on first use.
drop_files() {
  local title=$1; shift
  local tool=$E2E_BUILD/xdnd_drop source=$(dirname "${BASH_SOURCE[0]}")/xdnd_drop.c
  if [[ ! -x $tool || $source -nt $tool ]]; then
    gcc -O1 -o "$tool" "$source" -lX11 || return 1
  fi
  local window r
  window=$(xdotool search --onlyvisible --name "^${title}\$" | head -1)
  [[ -n $window ]] || return 1
  r=($(probe client - "$title"))
  "$tool" "$window" $(((r[0] + r[2]) / 2)) $(((r[1] + r[3]) / 2)) "$@"
}

# main_window_key KEYS...: keys typed on the main window, after a click on its caption (the
# free spot first, so that the click really moves the keyboard focus).
main_window_key() {
  local mx my
  read -r mx my <<<"$(caption_point krtlib_mw0 KRTLIB)"
  click_free_spot
  xdotool mousemove "$mx" "$my" click 1
  sleep 0.6
  xdotool key "$@"
}

# press_start COMMAND...: Start on the main window until the command says the run began (a
# window it opens, a line it prints).  A key typed while another window is taking the focus can
# be lost, and a Start during a run does nothing, so Start is pressed again when nothing came.
press_start() {
  local try
  for try in 1 2 3; do
    main_window_key s
    wait_until 15 "$@" && return 0
    e2e_log "Start had no effect yet"
  done
  return 1
}

# read_buttons: the button box's client origin in BL BT, its buttons' rectangles in BUTTONS.
read_buttons() {
  read -r BL BT _ _ <<<"$(probe client - ButtonBox)"
  mapfile -t BUTTONS < <(probe child-rects - ButtonBox | grep -i '^button')
}

# press_button J: a click on button J of the box (read_buttons first); the program sees it
# within a frame, and the pause keeps clicks apart from double clicks.
press_button() {
  local b; b=(${BUTTONS[$1]})
  xdotool mousemove $((BL + b[1] + b[3] / 2)) $((BT + b[2] + b[4] / 2)) click 1
  sleep 0.6
}

# logged LINE: text window 0's log (KRTLIB00.LOG in the working folder) holds the line.
logged() { [[ -f $E2E_WORK/KRTLIB00.LOG ]] && tr -d '\r' < "$E2E_WORK/KRTLIB00.LOG" | grep -qFx -- "$1"; }

# guide_picture X Y W H: the screen's rectangle as guide.png, the picture docs/ shows of this
# story (scripts/docs-pictures copies it there).
guide_picture() {
  import -window root -crop "$3x$4+$1+$2" +repage "$E2E_ARTIFACTS/guide.png" 2>/dev/null
}
