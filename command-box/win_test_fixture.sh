# Prepares the prefix of the command box's Windows tests (argument: the
# prefix): the recorder program stands at the browser's place, a plug-in
# (the recorder again, stored with the ending ".OCX") lies in the plug-in
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
bash "$(dirname "$0")/../music-player/win_test_fixture.sh" "$prefix"
