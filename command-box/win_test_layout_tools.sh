# Lays out a prefix's system folder as a Windows of that layout has the
# tools the keywords start (argument: the prefix; the layout is named by
# SUITE_TEST_LAYOUT). The recorder (testing/cmdline_recorder_tool_win.cpp)
# stands in for every tool, in the prefix's own form.
#
# layouts: xp win7 win10
# suites: LayoutTools*
#
#   xp     Windows XP (5.1; XP x64 in a 64-bit prefix): the XP tools are
#          there (sndvol32, winmsd, wupdmgr, ntbackup, drwtsn32, winchat,
#          clipbrd, sndrec32, dfrg.msc, ntmsmgr.msc).
#   win7   Windows 7 (6.1): none of them; their successors SndVol,
#          msinfo32, dfrgui, sdclt, perfmon, control and SoundRecorder.
#   win10  Windows 10 (10.0): as 7 without SoundRecorder, and the
#          ms-settings protocol registered as Windows 10 registers it
#          (HKCR\ms-settings with "URL Protocol"), its command the recorder.
#
# Every layout has mmc.exe, msconfig.exe and services.msc.
set -eu
prefix=$1
export WINEPREFIX=$prefix
layout=${SUITE_TEST_LAYOUT:?the layout to lay out}
c=$prefix/drive_c
s32=$c/windows/system32
recorder=$c/suite/cmdline_recorder.exe
case "$layout" in
  xp)
    version=winxp
    [ "$SUITE_PREFIX_ARCH" = win64 ] && version=winxp64
    tools="sndvol32 winmsd wupdmgr ntbackup drwtsn32 winchat clipbrd sndrec32"
    consoles="dfrg.msc ntmsmgr.msc"
    ;;
  win7)
    version=win7
    tools="SndVol msinfo32 dfrgui sdclt perfmon control SoundRecorder"
    consoles=""
    ;;
  win10)
    version=win10
    tools="SndVol msinfo32 dfrgui sdclt perfmon control"
    consoles=""
    ;;
  *)
    echo "unknown layout: $layout" >&2
    exit 1
    ;;
esac
# Wine has its own msinfo32 and control, which it would run in their place
# (and which open windows): the stand-ins replace them, and load first.
for tool in mmc msconfig $tools; do
  rm -f "$s32/$tool.exe"
  cp "$recorder" "$s32/$tool.exe"
  "$SUITE_WINE" reg add 'HKCU\Software\Wine\DllOverrides' /v "$tool.exe" /d native /f \
    </dev/null >/dev/null 2>&1
done
for console in services.msc $consoles; do
  printf '<?xml version="1.0"?>\r\n<MMC_ConsoleFile/>\r\n' >"$s32/$console"
done
"$SUITE_WINE" reg add 'HKCU\Software\Wine' /v Version /d "$version" /f </dev/null >/dev/null 2>&1
if [ "$layout" = win10 ]; then
  "$SUITE_WINE" reg add 'HKCR\ms-settings' /v 'URL Protocol' /d '' /f </dev/null >/dev/null 2>&1
  "$SUITE_WINE" reg add 'HKCR\ms-settings\shell\open\command' /ve \
    /d '"C:\suite\cmdline_recorder.exe" "%1"' /f </dev/null >/dev/null 2>&1
fi
"$WINESERVER" -k || true
"$WINESERVER" -w
