# Shared set-up of scripts/test, scripts/run and scripts/bench: packages, locale, builds,
# a private Wine prefix and a private Xvfb.  Source it; every function is idempotent.
# Nothing here kills a process it did not start itself.

KRT_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
KRT_BUILD=${KRT_BUILD:-$KRT_ROOT/build}
KRT_SCREEN=${KRT_SCREEN:-1280x1024}
export WINEPREFIX=${KRT_WINEPREFIX:-$KRT_BUILD/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
export KRT_LOCALE_DIR=$KRT_BUILD/locale

KRT_XVFB_PID=
KRT_WINESERVER_PID=

krt_log() { printf '[krtlib] %s\n' "$*" >&2; }

# Debian packages the builds and tests need (clang with its runtime libraries for the fuzz
# targets: libFuzzer's library comes with libclang-rt-14-dev, which clang only recommends).  Each is probed through dpkg itself: a command of
# the same name can come from another package (a stand-in "convert" once hid a missing
# ImageMagick), so no command or file is taken as proof that a package is installed.
KRT_PACKAGES=(
  cmake g++ make pkg-config googletest libgtest-dev libbenchmark-dev
  wine wine64 mingw-w64 g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
  xvfb xdotool x11-utils x11-apps xclip imagemagick
  fonts-ipafont-gothic fonts-wine locales gcc libx11-dev
  clang libclang-rt-14-dev
)

# True when dpkg reports the package as installed ("install ok installed").
krt_package_installed() {
  [[ $(dpkg-query -W -f='${Status}' "$1" 2>/dev/null) == "install ok installed" ]]
}

krt_missing_packages() {
  local pkg
  for pkg in "${KRT_PACKAGES[@]}"; do
    krt_package_installed "$pkg" || echo "$pkg"
  done
}

krt_install_packages() {
  local missing
  mapfile -t missing < <(krt_missing_packages)
  ((${#missing[@]} == 0)) && return 0
  krt_log "installing: ${missing[*]}"
  if [[ $(id -u) -ne 0 ]]; then krt_log "not root: install these packages first"; return 1; fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq >&2 || return 1
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2 || return 1
  mapfile -t missing < <(krt_missing_packages)
  if ((${#missing[@]})); then krt_log "still missing after install: ${missing[*]}"; return 1; fi
}

# Wine needs generated locales, or non-ASCII arguments lose their high bits: ja_JP.UTF-8, which
# gives code page 932, for everything, and en_US.UTF-8 (1252) for the Western set of tests.
# Where either is missing from the system, both are generated into the build tree, so that
# LOCPATH finds them together.
KRT_LOCALES=(ja_JP en_US)
krt_make_locale() {
  local name missing=0
  for name in "${KRT_LOCALES[@]}"; do
    locale -a 2>/dev/null | grep -qix "$name.utf8" || missing=1
  done
  if ((missing)); then
    mkdir -p "$KRT_LOCALE_DIR"
    for name in "${KRT_LOCALES[@]}"; do
      [[ -d $KRT_LOCALE_DIR/$name.UTF-8 ]] || localedef -i "$name" -f UTF-8 "$KRT_LOCALE_DIR/$name.UTF-8" >&2 || true
    done
    export LOCPATH=$KRT_LOCALE_DIR
  else
    unset LOCPATH
  fi
  { export LC_ALL=ja_JP.UTF-8; } 2>/dev/null  # bash itself cannot see LOCPATH; its children do
}

krt_build_host() {
  cmake -S "$KRT_ROOT" -B "$KRT_BUILD/host" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DKRT_SANITIZE=${KRT_SANITIZE:-ON} -DKRT_BENCH=${KRT_BENCH:-OFF} \
        -DKRT_FUZZ_BUILD="$KRT_BUILD/fuzz" -DKRT_FUZZ_SECONDS=${KRT_FUZZ_SECONDS:-20} >/dev/null || return 1
  cmake --build "$KRT_BUILD/host" -j "$(nproc 2>/dev/null || echo 2)" || return 1
}

krt_build_win() {
  cmake -S "$KRT_ROOT" -B "$KRT_BUILD/win" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$KRT_ROOT/cmake/mingw-w64.cmake" -DKRT_BENCH=${KRT_BENCH:-OFF} >/dev/null || return 1
  cmake --build "$KRT_BUILD/win" -j "$(nproc 2>/dev/null || echo 2)" || return 1
}

# The fuzz targets (tests/fuzz), natively with clang and libFuzzer; the host tree runs them.
krt_build_fuzz() {
  cmake -S "$KRT_ROOT/tests/fuzz" -B "$KRT_BUILD/fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER=clang++ >/dev/null || return 1
  cmake --build "$KRT_BUILD/fuzz" -j "$(nproc 2>/dev/null || echo 2)" || return 1
}

krt_build() { krt_build_fuzz && krt_build_host && krt_build_win; }

# Registry settings of the prefix: virtual desktop the size of the screen, no crash dialog,
# and the Japanese gothic face mapped onto IPAGothic.
krt_prefix_settings() {
  local reg=$KRT_BUILD/krt-prefix.reg
  printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\r\n"Desktop"="Default"\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\r\n"Default"="%s"\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n"ShowCrashDialog"=dword:00000000\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n"ＭＳ ゴシック"="IPAGothic"\r\n' "$KRT_SCREEN" \
    | iconv -f UTF-8 -t UTF-16 > "$reg"
  wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" >/dev/null 2>&1
}

# Creates the prefix WINEPREFIX names once, in the locale LC_ALL names.
krt_prepare_prefix() {
  if [[ -f $WINEPREFIX/.krt-ready ]]; then return 0; fi
  krt_log "creating the Wine prefix $WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  ( unset DISPLAY; wineboot -i >/dev/null 2>&1; krt_prefix_settings; wineserver -w )
  touch "$WINEPREFIX/.krt-ready"
}

krt_free_display() {
  local n
  for n in $(seq 91 190); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    echo "$n"; return 0
  done
  return 1
}

# Starts a private Xvfb on a free display: its number in KRT_NEW_DISPLAY, its PID in KRT_NEW_XVFB.
krt_launch_xvfb() {
  local n tries
  for tries in 1 2 3 4 5; do
    n=$(krt_free_display) || return 1
    Xvfb ":$n" -screen 0 "${KRT_SCREEN}x24" -nolisten tcp >/dev/null 2>&1 &
    KRT_NEW_XVFB=$!
    local t
    for t in $(seq 1 100); do
      if xdpyinfo -display ":$n" >/dev/null 2>&1; then KRT_NEW_DISPLAY=":$n"; return 0; fi
      kill -0 "$KRT_NEW_XVFB" 2>/dev/null || break
      sleep 0.1
    done
    kill "$KRT_NEW_XVFB" 2>/dev/null; wait "$KRT_NEW_XVFB" 2>/dev/null; KRT_NEW_XVFB=
  done
  return 1
}

krt_start_xvfb() {
  krt_launch_xvfb || return 1
  KRT_XVFB_PID=$KRT_NEW_XVFB
  export DISPLAY=$KRT_NEW_DISPLAY
}

# Keep one wine server alive for the whole session, so each program starts warm.
krt_start_wineserver() {
  wineserver -p >/dev/null 2>&1 &
  KRT_WINESERVER_PID=$!
  # The first program starts the virtual desktop; do it now so tests do not pay for it.
  wine cmd /c exit >/dev/null 2>&1 || true
}

# The Western session of tests/win32/western.sh: a prefix of its own in a Western locale (code
# page 1252), created once per build tree like the first, with its own display (a virtual
# desktop per prefix) and its own warm wine server.
export KRT_WESTERN_PREFIX=${KRT_WESTERN_PREFIX:-$KRT_BUILD/wineprefix-1252}
export KRT_WESTERN_LOCALE=en_US.UTF-8
KRT_WESTERN_XVFB=
KRT_WESTERN_SERVER=

krt_start_western_session() {
  ( export WINEPREFIX=$KRT_WESTERN_PREFIX LC_ALL=$KRT_WESTERN_LOCALE; krt_prepare_prefix )
  krt_launch_xvfb || return 1
  KRT_WESTERN_XVFB=$KRT_NEW_XVFB
  export KRT_WESTERN_DISPLAY=$KRT_NEW_DISPLAY
  WINEPREFIX=$KRT_WESTERN_PREFIX LC_ALL=$KRT_WESTERN_LOCALE DISPLAY=$KRT_WESTERN_DISPLAY wineserver -p >/dev/null 2>&1 &
  KRT_WESTERN_SERVER=$!
  WINEPREFIX=$KRT_WESTERN_PREFIX LC_ALL=$KRT_WESTERN_LOCALE DISPLAY=$KRT_WESTERN_DISPLAY wine cmd /c exit >/dev/null 2>&1 || true
}

# A 256 KiB disk of its own (a tmpfs, where this user may mount one), on which a save runs out of
# room; KRT_SMALL_DISK names it for the tests, which skip that case without it.
krt_mount_small_disk() {
  local dir=$KRT_BUILD/small-disk
  mkdir -p "$dir"
  if mountpoint -q "$dir" || { [[ $(id -u) -eq 0 ]] && mount -t tmpfs -o size=256k krt-small-disk "$dir" 2>/dev/null; }
  then export KRT_SMALL_DISK=$dir
  else krt_log "no small disk could be mounted: the full-disk save is skipped"
  fi
}

krt_stop_session() {
  if [[ -n ${WINEPREFIX:-} && -d $WINEPREFIX ]]; then wineserver -k >/dev/null 2>&1 || true; fi
  if [[ -n $KRT_WINESERVER_PID ]]; then wait "$KRT_WINESERVER_PID" 2>/dev/null; KRT_WINESERVER_PID=; fi
  if [[ -n $KRT_XVFB_PID ]]; then kill "$KRT_XVFB_PID" 2>/dev/null; wait "$KRT_XVFB_PID" 2>/dev/null; KRT_XVFB_PID=; fi
  if [[ -n $KRT_WESTERN_SERVER ]]; then
    WINEPREFIX=$KRT_WESTERN_PREFIX wineserver -k >/dev/null 2>&1 || true
    wait "$KRT_WESTERN_SERVER" 2>/dev/null; KRT_WESTERN_SERVER=
  fi
  if [[ -n $KRT_WESTERN_XVFB ]]; then kill "$KRT_WESTERN_XVFB" 2>/dev/null; wait "$KRT_WESTERN_XVFB" 2>/dev/null; KRT_WESTERN_XVFB=; fi
  if [[ -n ${KRT_SMALL_DISK:-} ]]; then umount "$KRT_SMALL_DISK" 2>/dev/null || true; fi
}
