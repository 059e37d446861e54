# Prepares the prefix of the command box's Windows tests (argument: the
# prefix): the recorder program stands at the browser's place, plug-ins
# (the recorder again, stored with the ending ".OCX") lie in the plug-in
# folder beside the test program, and media with lyrics lie in C:\media.
set -eu
prefix=$1
c=$prefix/drive_c
ie="$c/Program Files/Internet Explorer"
mkdir -p "$ie"
rm -f "$ie/iexplore.exe" "$ie/IEXPLORE.exe"
cp "$c/suite/cmdline_recorder.exe" "$ie/IEXPLORE.exe"
mkdir -p "$c/suite/plugin" "$c/suite/lnk"
cp "$c/suite/cmdline_recorder.exe" "$c/suite/plugin/recorder.OCX"
# A plug-in named like a tool, and a stand-in for that tool where the
# process start looks first (the test program's folder), so that a start of
# the tool shows in the record too.
cp "$c/suite/cmdline_recorder.exe" "$c/suite/plugin/notepad.OCX"
cp "$c/suite/cmdline_recorder.exe" "$c/suite/notepad.exe"
bash "$(dirname "$0")/../music-player/win_test_fixture.sh" "$prefix"
# The system folders as 64-bit Windows has them, and a 64-bit prefix that
# reports Windows 10, for the tests of what the box starts there.
"$(dirname "$0")/../testing/wine-system-tools" "$prefix"
if [ "$SUITE_PREFIX_ARCH" = win64 ]; then
  WINEPREFIX=$prefix "$SUITE_WINE" reg add 'HKCU\Software\Wine' /v Version /d win10 /f \
    </dev/null >/dev/null 2>&1
fi
# Internet Explorer is the default browser, as the Windows it stands for
# registers it (Wine's own http class would hand addresses to the host's
# browser).
WINEPREFIX=$prefix "$SUITE_WINE" reg add 'HKLM\Software\Classes\http\shell\open\command' /ve \
  /d '"C:\Program Files\Internet Explorer\iexplore.exe" -nohome' /f </dev/null >/dev/null 2>&1
