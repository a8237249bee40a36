#!/usr/bin/env bash
# A user's own project outside the tree: the library installed with cmake --install, a program
# built against the installed copy with find_package(krtlib) and krt_add_program (as a UTF-8
# program), run, and its image read off the screen before and after Start.
. "$(dirname "$0")/lib.sh"
SOURCE=$(cd "$(dirname "$0")/../.." && pwd)
PREFIX=$E2E_WORK/prefix
OUTSIDE=$E2E_WORK/shapes-build

check installs cmake --install "$E2E_BUILD" --prefix "$PREFIX"
check installs_the_header_and_the_package \
  test -f "$PREFIX/include/krtlib.h" -a -f "$PREFIX/lib/libkrtlib.a" -a -f "$PREFIX/lib/cmake/krtlib/krtlibConfig.cmake"
# The project knows nothing of the source tree but the toolchain file of this machine.
check configures_against_the_installed_copy \
  cmake -S "$SOURCE/examples/standalone" -B "$OUTSIDE" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$SOURCE/cmake/mingw-w64.cmake" -DCMAKE_PREFIX_PATH="$PREFIX"
check builds cmake --build "$OUTSIDE"
uses_only_the_prefix() { ! grep -rq -- "-I$SOURCE" "$OUTSIDE/CMakeFiles" 2>/dev/null; }
check includes_nothing_of_the_source_tree uses_only_the_prefix
# krt_add_program(... UTF8 ...) of the installed package links the manifest that makes the
# program's code page UTF-8.
check links_the_utf8_manifest grep -q 'activeCodePage[^<]*>UTF-8<' "$OUTSIDE/shapes.exe"

( cd "$E2E_WORK" && exec wine "$OUTSIDE/shapes.exe" ) >>"$E2E_ARTIFACTS/wine.log" 2>&1 &
APP_PID=$!
E2E_PIDS+=("$APP_PID")
check its_image_opens wait_until 20 window_exists krt_iw 'shapes(100%)'
read -r cl ct _ _ <<<"$(probe client krt_iw 'shapes(100%)')"

# pixel_at SHOT X Y: image pixel (X, Y) of the screenshot as "r,g,b".
pixel_at() { pixel "$1" $((cl + $2)) $((ct + $3)); }
drawn() {
  screenshot shapes
  [[ $(pixel_at shapes 130 75) == 255,0,0 ]]
}
check the_fill_shows wait_until 10 drawn
check the_gradient_is_written_through_PixelTable equals "$(pixel_at shapes 10 20)" 10,20,64
check FillBox_draws_the_square equals "$(pixel_at shapes 40 40)" 0,255,0
check the_ring_is_white equals "$(pixel_at shapes 130 45)" 255,255,255
check FloodFill_stops_at_the_ring equals "$(pixel_at shapes 95 35)" 0,0,128
check the_fill_reaches_the_ring equals "$(pixel_at shapes 130 46)" 255,0,0

wait_until 20 window_exists krtlib_mw0 KRTLIB
probe post krtlib_mw0 KRTLIB 0x0111 1001 0 >/dev/null  # Start: the program inverts the image
inverted() {
  screenshot inverted
  [[ $(pixel_at inverted 130 75) == 0,255,255 ]]
}
check Start_inverts_the_image wait_until 10 inverted
check the_gradient_is_inverted equals "$(pixel_at inverted 10 20)" 245,235,191

probe post krtlib_mw0 KRTLIB 0x0111 1002 0 >/dev/null  # Exit
wait_exit "$APP_PID" 10
check Exit_ends_it_with_code_0 equals "$?" 0
e2e_finish
