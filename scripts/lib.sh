# Shared pieces of scripts/test, scripts/run and the bench scripts.
# Source it; it defines functions and variables, it runs nothing.

SUITE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
SUITE_BUILD=$SUITE_ROOT/build
SUITE_WINE_DIR=$SUITE_BUILD/wine

SUITE_SETUP_LOG=$SUITE_BUILD/setup.log

# The Windows trees: win32 (i686, the programs for every Windows from XP)
# and win64 (x86_64, for 64-bit Windows). Both are built on every machine;
# their tests run where Wine can run them (suite_test_trees).
SUITE_WINDOWS_TREES="win32 win64"

# Whether this machine executes 32-bit x86 programs. Some kernels cannot
# (every i386 ELF then fails with "Exec format error"), and nothing in /proc
# tells reliably, so a 93-byte static i386 program of our own (one PT_LOAD:
# mov eax,1; xor ebx,ebx; int 0x80) is run: it exits 0 where 32-bit
# programs run. SUITE_NO_32BIT=1 answers no, to try the 64-bit-only path.
suite_can_run_32bit() {
  case "${SUITE_NO_32BIT:-0}" in 0 | "") ;; *) return 1 ;; esac
  suite_run_32bit_probe >/dev/null
}

# Runs the probe; prints what the shell said when it could not run it
# (in English), and returns the probe's status.
suite_run_32bit_probe() {
  local probe rc
  mkdir -p "$SUITE_BUILD" 2>/dev/null
  probe=$(mktemp "$SUITE_BUILD/.probe32.XXXXXX" 2>/dev/null) ||
    probe=$(mktemp "${TMPDIR:-/tmp}/suite-probe32.XXXXXX") || return 1
  printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >"$probe"
  chmod +x "$probe"
  (
    export LC_ALL=C
    "$probe" 2>&1 >/dev/null
  )
  rc=$?
  rm -f "$probe"
  return "$rc"
}

# Whether the kernel itself refuses 32-bit programs: the probe fails with
# "Exec format error". (A probe that cannot run for another reason, a
# folder mounted without execution say, tells nothing of the kernel.)
suite_kernel_refuses_32bit() {
  local said
  said=$(suite_run_32bit_probe) && return 1
  grep -q 'Exec format error' <<<"$said"
}

# Where the kernel itself runs no 32-bit programs, they can still run
# through a user-mode emulator: binfmt_misc hands every i386 ELF program to
# qemu-i386 (scripts/setup registers it, until the next restart). Then the
# probe above succeeds as well; these tell the two apart.
#
# The emulator that setup registers, and the name of its binfmt_misc entry.
SUITE_BINFMT=/proc/sys/fs/binfmt_misc
SUITE_QEMU_NAME=qemu-i386
SUITE_QEMU_DIR=/usr/local/lib/tovrix-suite
SUITE_QEMU=$SUITE_QEMU_DIR/qemu-i386

# The interpreter of the enabled binfmt_misc entry that takes i386 ELF
# programs (magic "\x7fELF", 32-bit, little-endian, machine 3 at offset
# 18), if any; status 1 when there is none. binfmt_misc is asked before the
# kernel's own ELF loader, so such an entry takes i386 programs even on a
# kernel that could run them itself.
suite_i386_emulator() {
  [ "$(cat "$SUITE_BINFMT/status" 2>/dev/null)" = enabled ] || return 1
  local entries=() entry
  for entry in "$SUITE_BINFMT"/*; do
    case ${entry##*/} in register | status | '*') ;; *) entries+=("$entry") ;; esac
  done
  [ ${#entries[@]} -gt 0 ] || return 1
  awk 'FNR == 1 { on = ($0 == "enabled"); interp = "" }
       $1 == "interpreter" { interp = $2 }
       $1 == "magic" && on && substr($2, 1, 10) == "7f454c4601" && substr($2, 37, 4) == "0300" {
         print interp; found = 1; exit }
       END { exit !found }' "${entries[@]}" 2>/dev/null
}

# The version of a qemu user-mode emulator ("10.0.2"), from its --version.
suite_qemu_version() {
  "$1" --version 2>/dev/null | sed -n '1s/.* version \([0-9][0-9.]*\).*/\1/p'
}

# How this machine runs 32-bit programs, where it runs them
# (suite_can_run_32bit): "native", or "emulated" when a binfmt_misc entry
# hands them to an emulator.
suite_32bit_how() {
  if suite_i386_emulator >/dev/null; then echo emulated; else echo native; fi
}

# How a Windows tree's tests run here: "native" or "emulated" (win64 is
# always native).
suite_tree_how() {
  if [ "$1" = win32 ]; then suite_32bit_how; else echo native; fi
}

# Why a Windows tree's tests cannot run here; nothing (and status 0) when
# they can.
suite_tree_blocker() {
  case "$1" in
    win64)
      [ -x /usr/lib/wine/wine64 ] && [ -x /usr/lib/wine/wineserver64 ] && return 0
      echo "wine64 is not installed"
      ;;
    win32)
      if ! suite_can_run_32bit; then
        if [ -n "${SUITE_NO_32BIT:-}" ] && [ "$SUITE_NO_32BIT" != 0 ]; then
          echo "SUITE_NO_32BIT is set"
        else
          echo "this machine cannot execute 32-bit programs"
        fi
      elif [ ! -x /usr/lib/wine/wine ] || [ ! -x /usr/lib/wine/wineserver32 ]; then
        echo "wine32 is not installed"
      elif ! suite_emulator_fit_for_wine; then
        return 1
      else
        return 0
      fi
      ;;
  esac
  return 1
}

# Whether the emulator that runs i386 programs here (if any) can run Wine:
# qemu before 8 spends some 50 s of processor time in every Wine process's
# start, so a prefix is never made. Says why not, and status 1, when it
# cannot; status 0 where there is no emulator or a fit one.
suite_emulator_fit_for_wine() {
  local emulator version
  emulator=$(suite_i386_emulator) || return 0
  case ${emulator##*/} in qemu*) ;; *) return 0 ;; esac
  version=$(suite_qemu_version "$emulator")
  # No version to be had (the file registered with the F flag is gone from
  # this file system, or not to be run from here): nothing known against it.
  [ -n "$version" ] || return 0
  case "$version" in
    [89].* | [1-9][0-9]*.*) return 0 ;;
  esac
  echo "i386 programs go through qemu $version at $emulator, too slow for Wine (qemu 8 or later is needed)"
  return 1
}

# Wine for one Windows tree, as on a Simplified Chinese Windows: ANSI and
# OEM code page 936, no debug noise, no install prompts for Mono and Gecko.
# The loader and server are named explicitly: Debian's /usr/bin/wine takes
# the 32-bit loader whenever wine32 is installed, also where it cannot run.
# HOME is private so that ALSA's default device is the null device
# (playback tests run headless) and nothing of the user's own setup leaks
# in; so is the XDG data folder, whose trash is Wine's recycle bin.
# Exports SUITE_TREE, SUITE_WINE (the loader), WINESERVER, WINEARCH,
# SUITE_TREE_DIR (the build tree) and SUITE_WINE_PRISTINE.
suite_wine_env() {
  export SUITE_TREE=${1:-win64}
  case "$SUITE_TREE" in
    win64)
      export SUITE_WINE=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64 WINEARCH=win64
      ;;
    win32)
      export SUITE_WINE=/usr/lib/wine/wine WINESERVER=/usr/lib/wine/wineserver32 WINEARCH=win32
      ;;
    *)
      echo "unknown Windows tree: $SUITE_TREE" >&2
      return 1
      ;;
  esac
  export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  export HOME=$SUITE_WINE_DIR/home
  export XDG_CACHE_HOME=$HOME/.cache
  # Wine's recycle bin is the trash of the XDG data folder: never the one
  # of the user who runs the scripts.
  export XDG_DATA_HOME=$HOME/.local/share
  mkdir -p "$HOME"
  if [ ! -f "$HOME/.asoundrc" ]; then
    printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$HOME/.asoundrc"
  fi
  export SUITE_TREE_DIR=$SUITE_BUILD/$SUITE_TREE
  export SUITE_WINE_PRISTINE=$SUITE_WINE_DIR/pristine-$SUITE_TREE
}

# After suite_wine_env win32: the 32-bit tree's programs in a 64-bit prefix,
# where they run under WOW64 as on 64-bit Windows. The prefix, its server
# and the Wine that fixtures and sessions use are the 64-bit ones
# (SUITE_WINE, WINESERVER: a fixture's "reg add" then writes the registry
# view the 64-bit system reads); SUITE_PROGRAM_WINE, the 32-bit loader, runs
# the programs. The 64-bit pristine prefix is made here when it is missing,
# one test entry at a time.
suite_wow64_env() {
  export SUITE_PROGRAM_WINE=/usr/lib/wine/wine
  export SUITE_WINE=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64 WINEARCH=win64
  export SUITE_WINE_PRISTINE=$SUITE_WINE_DIR/pristine-win64
  mkdir -p "$SUITE_WINE_DIR"
  (
    flock 9
    suite_pristine_prefix
  ) 9>"$SUITE_WINE_DIR/pristine-win64.lock"
}

# The tree that scripts/run and the benchmarks use: SUITE_TREE when given,
# else the 32-bit one where it runs (the programs for every Windows), else
# the 64-bit one.
suite_default_tree() {
  if [ -n "${SUITE_TREE:-}" ]; then
    echo "$SUITE_TREE"
  elif suite_tree_blocker win32 >/dev/null; then
    echo win32
  else
    echo win64
  fi
}

# Configures one build tree.
suite_configure() {
  local tree=$1 dir=$SUITE_BUILD/$1 toolchain=""
  case "$tree" in
    win32) toolchain=$SUITE_ROOT/cmake/mingw-i686.cmake ;;
    win64) toolchain=$SUITE_ROOT/cmake/mingw-x86_64.cmake ;;
  esac
  [ -f "$dir/build.ninja" ] && return 0
  if [ -n "$toolchain" ]; then
    cmake -S "$SUITE_ROOT" -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
  else
    cmake -S "$SUITE_ROOT" -B "$dir" -G Ninja -DSUITE_SANITIZE=ON >/dev/null
  fi
}

# Builds the native tree (with the sanitizers) and both Windows trees.
suite_build() {
  local tree
  for tree in native $SUITE_WINDOWS_TREES; do
    suite_configure "$tree" || return 1
  done
  for tree in native $SUITE_WINDOWS_TREES; do
    cmake --build "$SUITE_BUILD/$tree" || return 1
  done
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

# Runs a program of the current tree's Wine (suite_wine_env) in a prefix.
suite_wine() {
  local prefix=$1
  shift
  WINEPREFIX=$prefix "$SUITE_WINE" "$@"
}

# The pristine prefix of the current tree, made once: a 64-bit prefix for
# win64 (which runs without wine32), a 32-bit one for win32; Chinese fonts
# for the Chinese face names the programs ask for, every window inside a
# virtual desktop, no Z: drive and no link from the profile to the Unix
# home. Bump the recipe when the steps change.
SUITE_PREFIX_RECIPE=5
suite_pristine_prefix() {
  local pristine=$SUITE_WINE_PRISTINE log=$SUITE_WINE_PRISTINE.log
  # A 64-bit prefix made while 32-bit programs could not run has an empty
  # SysWOW64; where they run now, it is made again for the tests under WOW64.
  if [ "$(cat "$pristine/.suite-ready" 2>/dev/null)" = "$SUITE_PREFIX_RECIPE" ]; then
    [ "$WINEARCH" = win64 ] || return 0
    [ -e "$pristine/drive_c/windows/syswow64/kernel32.dll" ] && return 0
    suite_tree_blocker win32 >/dev/null || return 0
  fi
  rm -rf "$pristine"
  mkdir -p "$SUITE_WINE_DIR"
  echo "creating the $WINEARCH Wine prefix (once, about 15 s)"
  (
    # A 64-bit prefix without wine32 says it cannot open
    # C:\windows\syswow64\rundll32.exe; harmless.
    suite_wine "$pristine" wineboot -i </dev/null >"$log" 2>&1
    WINEPREFIX=$pristine "$WINESERVER" -w
    local face
    for face in 宋体 SimSun 新宋体 NSimSun 黑体 SimHei 微软雅黑 "Microsoft YaHei"; do
      suite_wine "$pristine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" \
        /d 'WenQuanYi Micro Hei' /f </dev/null >>"$log" 2>&1
    done
    # Without a window manager, Wine waits about two seconds for each new
    # top-level window to be mapped; inside its own virtual desktop it does
    # not, and the notification area has a taskbar to live in.
    suite_wine "$pristine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f \
      </dev/null >>"$log" 2>&1
    suite_wine "$pristine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default \
      /d 1024x768 /f </dev/null >>"$log" 2>&1
    WINEPREFIX=$pristine "$WINESERVER" -k 2>/dev/null || true
    WINEPREFIX=$pristine "$WINESERVER" -w
    rm -f "$pristine/dosdevices/z:"
    # Wine links the profile's Desktop, Documents and the like to the Unix
    # home, which every prefix shares: here they are folders of the
    # prefix's own, so that nothing a test does there leaves its prefix.
    local folder
    for folder in "$pristine"/drive_c/users/*/*; do
      if [ -L "$folder" ]; then
        rm "$folder"
        mkdir "$folder"
      fi
    done
  )
  [ -f "$pristine/system.reg" ] || {
    echo "the $SUITE_TREE Wine prefix could not be made; see $log" >&2
    return 1
  }
  suite_check_prefix_safe "$pristine" || return 1
  echo "$SUITE_PREFIX_RECIPE" >"$pristine/.suite-ready"
}

# Makes a prefix report a Windows family for its next processes: winxp,
# win7, win10 ... A 64-bit prefix knows Windows XP only as its x64 edition
# (winxp64, version 5.2), so winxp becomes that there.
suite_set_windows_version() {
  local prefix=$1 version=$2
  [ "$WINEARCH" = win64 ] && [ "$version" = winxp ] && version=winxp64
  suite_wine "$prefix" reg add 'HKCU\Software\Wine' /v Version /d "$version" /f \
    </dev/null >/dev/null 2>&1
}

# Makes a prefix's display report DPI dots per inch to its next processes
# (as the display settings of Windows do for the next sign-in): 96 is 100 %,
# 120 is 125 %, 144 is 150 %.
suite_set_display_dpi() {
  local prefix=$1 dpi=$2
  suite_wine "$prefix" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
    /d "$dpi" /f </dev/null >/dev/null 2>&1
}

# A fresh copy of the pristine prefix at $1, with the current tree's
# programs and test helpers copied to C:\suite.
suite_fresh_prefix() {
  local prefix=$1
  rm -rf "$prefix"
  cp -a "$SUITE_WINE_PRISTINE" "$prefix"
  rm -f "$prefix/dosdevices/z:"
  mkdir -p "$prefix/drive_c/suite"
  cp "$SUITE_TREE_DIR"/bin/* "$prefix/drive_c/suite/" 2>/dev/null || true
  cp "$SUITE_TREE_DIR"/tests/*.exe "$prefix/drive_c/suite/" 2>/dev/null || true
}

# Starts the Wine session of a prefix with its output in a file, so that
# the services it leaves running do not hold a caller's pipe open.
suite_start_session() {
  local prefix=$1
  WINEPREFIX=$prefix "$WINESERVER" -p
  suite_wine "$prefix" wineboot </dev/null >"$prefix/session.log" 2>&1
}

suite_stop_session() {
  local prefix=$1
  WINEPREFIX=$prefix "$WINESERVER" -k 2>/dev/null || true
  WINEPREFIX=$prefix "$WINESERVER" -w 2>/dev/null || true
}

# Folders and files a test needs unwritable, for root as well (the tests
# run as root, so permissions do not do it): a fixture lists them, one path
# inside the prefix a line, in PREFIX/.suite-lock, and wine-test makes them
# immutable (chattr +i) only while the test program runs, after the Wine
# session has started as usual. A folder so locked takes no new file, but
# its files can still be written: a file that must stay as it is is listed
# too. Each path is recorded in LIST before it is locked, so that
# suite_unlock_folders LIST undoes it however the run ends; a folder left
# immutable could not be deleted.
suite_lock_folders() {
  local prefix=$1 list=$2 folder
  [ -f "$prefix/.suite-lock" ] || return 0
  while IFS= read -r folder; do
    [ -n "$folder" ] || continue
    printf '%s\n' "$prefix/$folder" >>"$list"
    chattr +i "$prefix/$folder" || {
      echo "cannot make $folder unwritable" >&2
      return 1
    }
  done <"$prefix/.suite-lock"
}

suite_unlock_folders() {
  local list=$1 folder
  [ -f "$list" ] || return 0
  while IFS= read -r folder; do
    chattr -i "$folder" 2>/dev/null || true
  done <"$list"
  rm -f "$list"
}
