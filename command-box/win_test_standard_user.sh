# Prepares the prefix of the command box's tests that run as a standard
# user does (argument: the prefix): the usual files, an "lnk.ini" that an
# administrator left in the Windows folder, and that folder unwritable
# while the program runs.
set -eu
prefix=$1
bash "$(dirname "$0")/win_test_fixture.sh" "$prefix"
printf '[Option]\r\nTM=150\r\n' >"$prefix/drive_c/windows/lnk.ini"
# Locking the folder keeps new files out; the file itself must be locked as
# well, as a file of the Windows folder is read-only for a standard user.
printf '%s\n' drive_c/windows drive_c/windows/lnk.ini >>"$prefix/.suite-lock"
