# Prepares the prefix of junksweep's Windows tests (argument: the prefix).
# The drives: C: the prefix itself, D: CD-ROM, E: fixed, F: network (a
# mapped share), G: fixed, H: floppy (removable), I: fixed, each mapped to a
# throwaway folder. There is no Z:. Junk is planted on every drive; a folder
# link on E: leads to canaries outside every drive.
set -eu
prefix=$1
c=$prefix/drive_c
drives=$prefix/drives

mkdir -p "$c/junk/sub" "$c/junk/.cache"
echo junk >"$c/junk/a.tmp"
echo kept >"$c/junk/REPORT.TMP"
echo kept >"$c/junk/.cache/cached.tmp"
echo junk >"$c/junk/sub/b.chk"
echo kept >"$c/junk/keep.txt"
echo junk >"$c/junk/hidden.bak"
echo junk >"$c/junk/x.temp"
echo junk >"$c/junk/mytemp"

mkdir -p "$prefix/canary"
echo precious >"$prefix/canary/precious.tmp"
echo precious >"$prefix/canary/precious.bak"

"$(dirname "$0")/../testing/wine-drives" "$prefix" c:hd d:cdrom e:hd f:network g:hd h:floppy i:hd
echo kept >"$drives/d/on-cdrom.tmp"
mkdir -p "$drives/e/deep/deeper"
echo junk >"$drives/e/e.tmp"
echo junk >"$drives/e/deep/deeper/f.\$\$\$"
echo "[autorun]" >"$drives/e/autorun.inf"
echo kept >"$drives/e/photo.jpeg"
ln -s "$prefix/canary" "$drives/e/link"
mkdir -p "$drives/e/zdocs"
echo kept >"$drives/e/zdocs/a.docx"
echo kept >"$drives/e/zdocs/b.doc"
# A colleague's share: every file, its autorun.inf too, stays as it is.
mkdir -p "$drives/f/backup"
printf 'report of 2026\r\n' >"$drives/f/报告.doc.bak"
printf 'database copy' >"$drives/f/backup/db.old"
printf 'temporary' >"$drives/f/x.tmp"
printf '[autorun]\r\nicon=share.ico\r\n' >"$drives/f/autorun.inf"
echo junk >"$drives/g/g.tmp"
echo kept >"$drives/h/on-floppy.tmp"
echo kept >"$drives/i/after-floppy.tmp"


# The system folders as 64-bit Windows has them (testing/wine-system-tools),
# each with a junk file of the same name and a size of its own.
"$(dirname "$0")/../testing/wine-system-tools" "$prefix"
head -c 2048 /dev/zero >"$c/windows/system32/sweep._wj"
head -c 3072 /dev/zero >"$c/windows/syswow64/sweep._wj"
