# Prepares the prefix of tmpsweep's Windows tests (argument: the prefix):
# a Windows XP (XP x64 in a 64-bit prefix), where the categories name the
# fixed folders below "Documents and Settings" and the recycle-bin script
# finishes a run. Windows Vista to 11 are laid out by win_test_layout.sh.
#
# - C:\Recycled, one of the recycle-bin folders the category names, is a
#   Unix symbolic link to C:\mydocs, a folder of the user's documents that
#   no run may touch (CreateSymbolicLinkW does nothing under Wine, so the
#   link is made here).
# - C:\locked cannot be written while the tests run: the working directory
#   a program started from the Run key has as a limited user (the system
#   folder), which takes no script.
set -eu
prefix=$1
c=$prefix/drive_c
mkdir -p "$c/mydocs" "$c/locked"
echo "a letter" >"$c/mydocs/letter.doc"
head -c 3000 /dev/zero >"$c/mydocs/photo.jpg"
ln -s "$c/mydocs" "$c/Recycled"
echo drive_c/locked >>"$prefix/.suite-lock"
version=winxp
[ "${SUITE_TREE:-}" = win64 ] && version=winxp64
WINEPREFIX=$prefix "$SUITE_WINE" reg add 'HKCU\Software\Wine' /v Version /d "$version" /f \
  </dev/null >/dev/null 2>&1
