# Prepares the prefix of tmpsweep's tests that run as a standard user does
# (argument: the prefix): the Windows folder cannot be written while the
# program runs; its Temp folder below can, as on Windows.
set -eu
prefix=$1
mkdir -p "$prefix/drive_c/windows/Temp"
echo drive_c/windows >>"$prefix/.suite-lock"
