# Prepares the prefix of the engine's Windows tests (argument: the prefix).
#
# - C:\linktree holds a file and a Unix symbolic link to C:\canary, a
#   folder of files the walks must never reach (Wine reports such a link
#   as a folder with the reparse-point bit; CreateSymbolicLinkW does
#   nothing under Wine, so the link is made here). C:\startlink is such a
#   link too, to be given as a start folder.
# - C:\setlink holds a file set whose member "Visited Links" is a Unix
#   symbolic link to the folder C:\setcanary: the set must be refused. (A
#   link to a file cannot stand in for one: Wine 8 reports it as a plain
#   file, and its DeleteFileW removes the file behind it, leaving the link.)
# - C:\oddnames and C:\oddjunk hold names that the classic path rules
#   would rewrite: a trailing dot, a trailing blank, device names.
# - C:\swaptree is walked while its subfolder "sub" is replaced by a link
#   to C:\swapcanary: the test creates C:\swap.go at the moment, a watcher
#   started here does the swap from the Unix side and creates C:\swap.done.
#   The watcher ends by itself after the swap, when the prefix is gone, or
#   after five minutes.
# - Drives of every type, mapped to throwaway folders, in an order that
#   reaches each kind before the first removable drive ends the walk:
#   D: CD-ROM, E: network, F: RAM disk, G: floppy (removable), H: fixed.
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
ln -s "$c/canary" "$c/startlink"
mkdir -p "$c/setlink"
echo history >"$c/setlink/History"
mkdir -p "$c/setcanary"
echo canary >"$c/setcanary/precious.doc"
ln -s "$c/setcanary" "$c/setlink/Visited Links"

for dir in oddnames oddjunk; do
  mkdir -p "$c/$dir/sub."
  for name in index.dat. index.dat "x.tmp " CON.tmp nul.bak sub./inner.tmp; do
    echo odd >"$c/$dir/$name"
  done
done

mkdir -p "$c/swaptree/sub" "$c/swaptree/sub2" "$c/swapcanary"
echo junk >"$c/swaptree/a.tmp"
echo junk >"$c/swaptree/sub/inner.tmp"
echo junk >"$c/swaptree/sub2/x.tmp"
echo junk >"$c/swaptree/z.tmp"
echo canary >"$c/swapcanary/precious.tmp"
(
  for _ in $(seq 1 6000); do
    [ -d "$c" ] || exit 0
    if [ -e "$c/swap.go" ]; then
      mv "$c/swaptree/sub" "$c/swaptree/sub-real"
      ln -s "$c/swapcanary" "$c/swaptree/sub"
      touch "$c/swap.done"
      exit 0
    fi
    sleep 0.05
  done
) </dev/null >/dev/null 2>&1 &

"$(dirname "$0")/../testing/wine-drives" "$prefix" c:hd d:cdrom e:network f:ramdisk g:floppy h:hd
for letter in d e f g h; do echo junk >"$prefix/drives/$letter/never.tmp"; done
echo junk >"$c/never.tmp"

# The system folders as 64-bit Windows has them (testing/wine-system-tools),
# each with a folder to walk: the native one with a link to C:\canary.
"$(dirname "$0")/../testing/wine-system-tools" "$prefix"
system=$c/windows/system32/suite-walk
mkdir -p "$system/sub" "$c/windows/syswow64/suite-walk"
echo junk >"$system/native._wj"
echo junk >"$system/sub/a._wj"
echo junk >"$system/sub/b._wj"
echo junk >"$c/windows/syswow64/suite-walk/wow._wj"
echo canary >"$c/canary/precious._wj"
ln -s "$c/canary" "$system/link"
