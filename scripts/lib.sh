# Shared pieces of scripts/test, scripts/run and the bench scripts.
# Source it; it defines functions and variables, it runs nothing.

SUITE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
SUITE_BUILD=$SUITE_ROOT/build
SUITE_WINE_DIR=$SUITE_BUILD/wine

# Wine as on a Simplified Chinese Windows: ANSI and OEM code page 936, no
# debug noise, no install prompts for Mono and Gecko. HOME is private so
# that ALSA's default device is the null device (playback tests run
# headless) and nothing of the user's own setup leaks in.
suite_wine_env() {
  export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  export HOME=$SUITE_WINE_DIR/home
  export XDG_CACHE_HOME=$HOME/.cache
  mkdir -p "$HOME"
  if [ ! -f "$HOME/.asoundrc" ]; then
    printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$HOME/.asoundrc"
  fi
  export SUITE_WINE_PRISTINE=$SUITE_WINE_DIR/pristine
}

# Builds both trees. The native one carries the sanitizers.
suite_build() {
  cmake -S "$SUITE_ROOT" -B "$SUITE_BUILD/native" -G Ninja -DSUITE_SANITIZE=ON >/dev/null
  cmake --build "$SUITE_BUILD/native"
  cmake -S "$SUITE_ROOT" -B "$SUITE_BUILD/windows" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$SUITE_ROOT/cmake/mingw-i686.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$SUITE_BUILD/windows"
}

# Starts Xvfb when there is no display; sets SUITE_XVFB_PID when it did.
suite_ensure_display() {
  SUITE_XVFB_PID=""
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local n
  for n in $(seq 90 120); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
    SUITE_XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 50); do
      xdpyinfo >/dev/null 2>&1 && return 0
      sleep 0.1
    done
    kill "$SUITE_XVFB_PID" 2>/dev/null
  done
  echo "cannot start Xvfb" >&2
  return 1
}

# Refuses to go on when a prefix could reach the host's root: no drive of
# it may lead to "/". Z: is the usual culprit.
suite_check_prefix_safe() {
  local prefix=$1 link target
  for link in "$prefix"/dosdevices/*; do
    [ -L "$link" ] || continue
    target=$(readlink -f "$link" 2>/dev/null || true)
    if [ "$target" = "/" ]; then
      echo "unsafe Wine prefix: $link leads to /" >&2
      return 1
    fi
  done
}

# The pristine 32-bit prefix, made once: Chinese fonts for the Chinese
# face names the programs ask for, every window inside a virtual desktop,
# and no Z: drive. Bump the recipe when the steps change.
SUITE_PREFIX_RECIPE=3
suite_pristine_prefix() {
  local pristine=$SUITE_WINE_PRISTINE
  [ "$(cat "$pristine/.suite-ready" 2>/dev/null)" = "$SUITE_PREFIX_RECIPE" ] && return 0
  rm -rf "$pristine"
  mkdir -p "$SUITE_WINE_DIR"
  echo "creating the Wine prefix (once, about 15 s)"
  (
    export WINEPREFIX=$pristine WINEARCH=win32
    wineboot -i </dev/null >"$SUITE_WINE_DIR/pristine.log" 2>&1
    wineserver -w
    local face
    for face in 宋体 SimSun 新宋体 NSimSun 黑体 SimHei 微软雅黑 "Microsoft YaHei"; do
      wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" \
        /d 'WenQuanYi Micro Hei' /f </dev/null >>"$SUITE_WINE_DIR/pristine.log" 2>&1
    done
    # Without a window manager, Wine waits about two seconds for each new
    # top-level window to be mapped; inside its own virtual desktop it does
    # not, and the notification area has a taskbar to live in.
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f \
      </dev/null >>"$SUITE_WINE_DIR/pristine.log" 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f \
      </dev/null >>"$SUITE_WINE_DIR/pristine.log" 2>&1
    wineserver -k
    wineserver -w
    rm -f "$pristine/dosdevices/z:"
  )
  suite_check_prefix_safe "$pristine" || return 1
  echo "$SUITE_PREFIX_RECIPE" >"$pristine/.suite-ready"
}

# A fresh copy of the pristine prefix at $1, with the Windows programs and
# test helpers copied to C:\suite.
suite_fresh_prefix() {
  local prefix=$1
  rm -rf "$prefix"
  cp -a "$SUITE_WINE_PRISTINE" "$prefix"
  rm -f "$prefix/dosdevices/z:"
  mkdir -p "$prefix/drive_c/suite"
  cp "$SUITE_BUILD"/windows/bin/* "$prefix/drive_c/suite/" 2>/dev/null || true
  cp "$SUITE_BUILD"/windows/tests/*.exe "$prefix/drive_c/suite/" 2>/dev/null || true
}

# Starts the Wine session of a prefix with its output in a file, so that
# the services it leaves running do not hold a caller's pipe open.
suite_start_session() {
  local prefix=$1
  WINEPREFIX=$prefix wineserver -p
  WINEPREFIX=$prefix wine wineboot </dev/null >"$prefix/session.log" 2>&1
}

suite_stop_session() {
  local prefix=$1
  WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
  WINEPREFIX=$prefix wineserver -w 2>/dev/null || true
}
