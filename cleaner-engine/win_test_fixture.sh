# Prepares the prefix of the engine's Windows tests (argument: the prefix).
#
# - C:\linktree holds a file and a Unix symbolic link to C:\canary, a
#   folder of files the walks must never reach (Wine reports such a link
#   as a folder with the reparse-point bit; CreateSymbolicLinkW does
#   nothing under Wine, so the link is made here).
# - Drives of every type, mapped to throwaway folders: D: CD-ROM, E: fixed,
#   F: floppy (removable), G: fixed, H: network.
set -eu
prefix=$1
c=$prefix/drive_c

mkdir -p "$c/canary" "$c/linktree/sub"
echo canary >"$c/canary/precious.tmp"
echo canary >"$c/canary/precious.doc"
echo junk >"$c/linktree/inside.tmp"
echo junk >"$c/linktree/sub/deeper.tmp"
ln -s "$c/canary" "$c/linktree/link"
ln -s "$c/canary" "$c/linktree/sub/link2"

drives=$prefix/drives
for letter in d e f g h; do
  mkdir -p "$drives/$letter"
  echo junk >"$drives/$letter/never.tmp"
  ln -sfn "$drives/$letter" "$prefix/dosdevices/$letter:"
done
export WINEPREFIX=$prefix
add_type() {
  wine reg add 'HKLM\Software\Wine\Drives' /v "$1" /d "$2" /f </dev/null >/dev/null 2>&1
}
add_type c: hd
add_type d: cdrom
add_type e: hd
add_type f: floppy
add_type g: hd
add_type h: network
wineserver -k
wineserver -w
