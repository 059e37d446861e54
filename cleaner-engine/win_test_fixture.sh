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

"$(dirname "$0")/../testing/wine-drives" "$prefix" c:hd d:cdrom e:hd f:floppy g:hd h:network
for letter in d e f g h; do echo junk >"$prefix/drives/$letter/never.tmp"; done
