# Lays a prefix out the way a Windows of Vista and later lays out the
# logged-on user's profile (argument: the prefix; the layout is named by
# SUITE_TEST_LAYOUT). Wine's own prefix looks like none of them: it keeps
# TEMP in C:\users\<user>\Temp, has INetCache even when it reports 7, and has
# no junctions and no recycle-bin folders.
#
# layouts: win7 win81 win10 win11 win10-renamed win10-temp-profile win11-temp-root
#
#   win7   Windows 7 (6.1): cookies in Roaming\...\Cookies, the cache in
#          Local\...\Temporary Internet Files.
#   win81  Windows 8.1 (6.3), win10 (10.0), win11 (10.0, build 22631): the
#          cache in Local\...\INetCache, the cookies in ...\INetCookies; the
#          old names are junctions to them.
#   win10-renamed       a Windows 10 user whose profile folder, C:\Users\bob.PC,
#                       is not named after the user name; the folder that is
#                       belongs to another account.
#   win10-temp-profile  TEMP and TMP set to the profile folder itself.
#   win11-temp-root     TEMP and TMP set to "C:\".
#
# Every layout has the junctions of the older names (Unix symbolic links,
# which Wine shows as Windows shows junctions), the user's shell folders in
# the registry, TEMP and TMP in the user's environment, and recycle bins
# C:\$Recycle.Bin\<SID> and D:\$Recycle.Bin\<SID> (D: a second fixed drive),
# another user's bin beside it and a bin on the removable drive E:. One
# recycled item is a junction to a folder of the user's documents.
#
# The shell's recycle bin is, under Wine, the trash of $XDG_DATA_HOME
# (wine-test gives each run its own): it gets one item, and C:\trash-files
# shows its files to the test, which finds out so whether the shell was told
# to empty it.
set -eu
prefix=$1
export WINEPREFIX=$prefix
layout=${SUITE_TEST_LAYOUT:?the layout to lay out}
c=$prefix/drive_c
user=$(id -un)
sid=S-1-5-21-0-0-0-1000

case "$layout" in
  win7) version=6.1 build=7601 sp="Service Pack 1" product="Windows 7 Professional" ;;
  win81) version=6.3 build=9600 sp="" product="Windows 8.1 Pro" ;;
  win10 | win10-*) version=10.0 build=19045 sp="" product="Windows 10 Pro" ;;
  # Windows 11 reports 10.0 too, with a build from 22000 on.
  win11 | win11-*) version=10.0 build=22631 sp="" product="Windows 10 Pro" ;;
  *)
    echo "unknown layout: $layout" >&2
    exit 1
    ;;
esac

# A profile as that Windows makes it, at drive_c/$1.
lay_out_profile() {
  local p=$c/$1 w folder
  w=$p/AppData/Local/Microsoft/Windows
  # Wine links these to the Unix home; here they are the profile's own.
  for folder in Desktop Documents Downloads Music Pictures Videos; do
    [ -L "$p/$folder" ] && rm "$p/$folder"
  done
  mkdir -p "$p/AppData/Local/Temp" "$p/AppData/LocalLow" "$p/Documents/Project" "$p/Desktop" \
    "$p/AppData/Roaming/Microsoft/Windows/Recent/AutomaticDestinations" \
    "$p/AppData/Roaming/Microsoft/Windows/Recent/CustomDestinations" \
    "$w/History/History.IE5" "$w/WebCache"
  if [ "$layout" = win7 ]; then
    rm -rf "$w/INetCache" "$w/INetCookies"
    mkdir -p "$p/AppData/Roaming/Microsoft/Windows/Cookies/Low" \
      "$w/Temporary Internet Files/Content.IE5/K3J8ZQ2P" "$w/Temporary Internet Files/Low"
    cookies=AppData/Roaming/Microsoft/Windows/Cookies
    cache="AppData/Local/Microsoft/Windows/Temporary Internet Files"
  else
    rm -rf "$w/Temporary Internet Files"
    mkdir -p "$w/INetCache/IE/K3J8ZQ2P" "$w/INetCache/Low" "$w/INetCookies/ESE" \
      "$w/INetCookies/Low"
    ln -sfn "$w/INetCache" "$w/Temporary Internet Files"
    cookies=AppData/Local/Microsoft/Windows/INetCookies
    cache=AppData/Local/Microsoft/Windows/INetCache
  fi
  # The junctions of the older names.
  ln -sfn "$p/AppData/Local" "$p/Local Settings"
  ln -sfn "$p/AppData/Roaming" "$p/Application Data"
  ln -sfn "$p/$cookies" "$p/Cookies"
  ln -sfn "$p/AppData/Roaming/Microsoft/Windows/Recent" "$p/Recent"
  ln -sfn "$p/Documents" "$p/My Documents"
  ln -sfn "$p/AppData/Local" "$p/AppData/Local/Application Data"
  ln -sfn "$w/History" "$p/AppData/Local/History"
  ln -sfn "$p/$cache" "$p/AppData/Local/Temporary Internet Files"
}

lay_out_profile "users/$user"
ln -sfn "$c/users" "$c/Documents and Settings"
home="C:\\users\\$user"
if [ "$layout" = win10-renamed ]; then
  lay_out_profile users/bob.PC
  home='C:\Users\bob.PC'
fi

# The user's recycle bins on two fixed drives, another user's, and one on a
# removable drive.
"$(dirname "$0")/../testing/wine-drives" "$prefix" d:hd e:floppy
for bin in "$c/\$Recycle.Bin/$sid" "$c/\$Recycle.Bin/S-1-5-21-0-0-0-1001" \
  "$prefix/drives/d/\$Recycle.Bin/$sid" "$prefix/drives/e/\$Recycle.Bin/$sid"; do
  mkdir -p "$bin"
done
ln -sfn "$c/users/$user/Documents/Project" "$c/\$Recycle.Bin/$sid/\$RPRJ01K"

# The shell's own bin, as Wine keeps it.
trash=${XDG_DATA_HOME:?wine-test gives each run its own}/Trash
mkdir -p "$trash/files" "$trash/info"
echo "deleted elsewhere" >"$trash/files/old-draft.txt"
printf '[Trash Info]\nPath=/home/old-draft.txt\nDeletionDate=2026-11-30T09:00:00\n' \
  >"$trash/info/old-draft.txt.trashinfo"
ln -sfn "$trash/files" "$c/trash-files"

# REG_EXPAND_SZ in the text form regedit reads.
expand_sz() {
  printf 'hex(2):'
  printf '%s' "$1" | od -An -tx1 -v | tr -s ' \n' ',,' | sed 's/^,//; s/,$//'
  printf ',00\n'
}
case "$layout" in
  win10-temp-profile) temp='%USERPROFILE%' ;;
  win11-temp-root) temp='C:\' ;;
  *) temp="$home\\AppData\\Local\\Temp" ;;
esac
case "$layout" in
  win7)
    cookies_reg="$home\\AppData\\Roaming\\Microsoft\\Windows\\Cookies"
    cache_reg="$home\\AppData\\Local\\Microsoft\\Windows\\Temporary Internet Files"
    ;;
  *)
    cookies_reg="$home\\AppData\\Local\\Microsoft\\Windows\\INetCookies"
    cache_reg="$home\\AppData\\Local\\Microsoft\\Windows\\INetCache"
    ;;
esac
# The registry's own spelling, with %USERPROFILE% where Windows writes it,
# but for the renamed profile, which Wine cannot make the user's.
spell() {
  if [ "$layout" = win10-renamed ]; then
    printf '%s' "$1"
  else
    printf '%s' "$1" | sed "s/^C:\\\\users\\\\$user/%USERPROFILE%/"
  fi
}
reg=$c/layout.reg
{
  echo REGEDIT4
  echo
  echo '[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders]'
  echo "\"Cache\"=$(expand_sz "$(spell "$cache_reg")")"
  echo "\"Cookies\"=$(expand_sz "$(spell "$cookies_reg")")"
  echo "\"History\"=$(expand_sz "$(spell "$home\\AppData\\Local\\Microsoft\\Windows\\History")")"
  echo "\"Recent\"=$(expand_sz "$(spell "$home\\AppData\\Roaming\\Microsoft\\Windows\\Recent")")"
  echo "\"Local AppData\"=$(expand_sz "$(spell "$home\\AppData\\Local")")"
  echo "\"AppData\"=$(expand_sz "$(spell "$home\\AppData\\Roaming")")"
  echo "\"Personal\"=$(expand_sz "$(spell "$home\\Documents")")"
  echo "\"Desktop\"=$(expand_sz "$(spell "$home\\Desktop")")"
  echo
  echo '[HKEY_CURRENT_USER\Environment]'
  echo "\"TEMP\"=$(expand_sz "$(spell "$temp")")"
  echo "\"TMP\"=$(expand_sz "$(spell "$temp")")"
  for key in 'HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion' \
    'HKEY_LOCAL_MACHINE\Software\Wow6432Node\Microsoft\Windows NT\CurrentVersion'; do
    echo
    echo "[$key]"
    echo "\"CurrentVersion\"=\"$version\""
    echo "\"CurrentBuild\"=\"$build\""
    echo "\"CurrentBuildNumber\"=\"$build\""
    echo "\"CSDVersion\"=\"$sp\""
    echo "\"ProductName\"=\"$product\""
    printf '"CurrentMajorVersionNumber"=dword:%08x\n' "${version%%.*}"
    printf '"CurrentMinorVersionNumber"=dword:%08x\n' "${version##*.}"
  done
} | sed '/^\[/!s/\\/\\\\/g' >"$reg"
"$SUITE_WINE" regedit /s 'C:\layout.reg' </dev/null >/dev/null 2>&1
rm -f "$reg"
# The server may have ended by itself already (it lingers a few seconds
# after its last client), which "-k" reports as a failure.
"$WINESERVER" -k 2>/dev/null || true
"$WINESERVER" -w
