# Prepares the prefix of the tests that run as a standard user does
# (argument: the prefix): the Windows folder cannot be written while the
# program runs, and it holds a settings file written before, by someone
# who could.
set -eu
prefix=$1
printf '[Option]\r\nTM=90\r\nwl.top=1500\r\n' >"$prefix/drive_c/windows/suite_planted.ini"
# Locking the folder keeps new files out; the file itself must be locked as
# well, as a file of the Windows folder is read-only for a standard user.
printf '%s\n' drive_c/windows drive_c/windows/suite_planted.ini >>"$prefix/.suite-lock"
