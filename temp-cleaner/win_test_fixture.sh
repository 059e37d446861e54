# Prepares the prefix of tmpsweep's Windows tests (argument: the prefix):
# C:\Recycled, one of the recycle-bin folders the category names, is a
# Unix symbolic link to C:\mydocs, a folder of the user's documents that no
# run may touch (CreateSymbolicLinkW does nothing under Wine, so the link
# is made here).
set -eu
prefix=$1
c=$prefix/drive_c
mkdir -p "$c/mydocs"
echo "a letter" >"$c/mydocs/letter.doc"
head -c 3000 /dev/zero >"$c/mydocs/photo.jpg"
ln -s "$c/mydocs" "$c/Recycled"
