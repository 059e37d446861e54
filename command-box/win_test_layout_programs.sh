# Lays a prefix out as Windows 10, 7 or XP keeps the installed programs
# (argument: the prefix; the layout is named by SUITE_TEST_LAYOUT): the
# shell's Start menu and Desktop folders where that Windows has them, the
# Accessories folder's desktop.ini as Windows writes it (UTF-16 LE with a
# byte order mark, CRLF; the folder and the file marked by the test), the
# Snipping Tool in the system folder, App Paths keys in HKLM and HKCU, and a
# folder link inside the Start menu. The shortcuts themselves are made by
# the test through IShellLinkW.
#
# layouts: programs-win10 programs-win7 programs-winxp
# suites: LayoutPrograms*
set -eu
prefix=$1
export WINEPREFIX=$prefix
layout=${SUITE_TEST_LAYOUT:?the layout to lay out}
c=$prefix/drive_c
user=$(id -un)

case "$layout" in
  programs-win10) version=win10 ;;
  programs-win7) version=win7 ;;
  programs-winxp)
    version=winxp
    [ "$SUITE_PREFIX_ARCH" = win64 ] && version=winxp64
    ;;
  *)
    echo "unknown layout: $layout" >&2
    exit 1
    ;;
esac

if [ "$layout" = programs-winxp ]; then
  home="C:\\Documents and Settings\\$user"
  all="C:\\Documents and Settings\\All Users"
  user_menu=$c/Documents\ and\ Settings/$user/Start\ Menu
  common_menu=$c/Documents\ and\ Settings/All\ Users/Start\ Menu
  mkdir -p "$user_menu/Programs/Startup" "$common_menu/Programs/Startup" \
    "$c/Documents and Settings/$user/Desktop" "$c/Documents and Settings/All Users/Desktop"
else
  user_menu=$c/users/$user/AppData/Roaming/Microsoft/Windows/Start\ Menu
  common_menu=$c/ProgramData/Microsoft/Windows/Start\ Menu
  # Wine links the Desktop to the Unix home; here it is the profile's own.
  [ -L "$c/users/$user/Desktop" ] && rm "$c/users/$user/Desktop"
  mkdir -p "$user_menu/Programs" "$common_menu/Programs" "$c/users/$user/Desktop" \
    "$c/users/Public/Desktop"
fi

# Windows' own desktop.ini of Accessories names the Snipping Tool by a
# string of its program; a plain name stands beside it, as installers write.
accessories=$common_menu/Programs/Accessories
mkdir -p "$accessories"
{
  printf '\xff\xfe'
  printf '\r\n[LocalizedFileNames]\r\nSnipping Tool.lnk=@%%SystemRoot%%\\system32\\SnippingTool.exe,-15051\r\nPaint.lnk=画图\r\n' |
    iconv -f UTF-8 -t UTF-16LE
} >"$accessories/desktop.ini"
cp "$c/suite/cmdline_recorder.exe" "$c/windows/system32/SnippingTool.exe"

# A folder link (a junction to Windows) inside the Start menu: not followed.
mkdir -p "$c/linked-target"
ln -sfn "$c/linked-target" "$user_menu/Programs/Linked"

reg=$c/layout.reg
{
  echo REGEDIT4
  echo
  echo '[HKEY_CURRENT_USER\Software\Wine]'
  echo "\"Version\"=\"$version\""
  if [ "$layout" = programs-winxp ]; then
    echo
    echo '[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders]'
    for pair in "Start Menu=Start Menu" "Programs=Start Menu\\Programs" \
      "Startup=Start Menu\\Programs\\Startup" "Desktop=Desktop"; do
      echo "\"${pair%%=*}\"=\"$home\\${pair#*=}\""
    done
    echo
    echo '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders]'
    for pair in "Common Start Menu=Start Menu" "Common Programs=Start Menu\\Programs" \
      "Common Startup=Start Menu\\Programs\\Startup" "Common Desktop=Desktop"; do
      echo "\"${pair%%=*}\"=\"$all\\${pair#*=}\""
    done
  fi
  echo
  echo '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\App Paths\acmeedit.exe]'
  echo '@="C:\Acme\acmeedit.exe"'
  echo '"Path"="C:\Acme"'
  echo
  echo '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\App Paths\gone.exe]'
  echo '@="C:\Gone\gone.exe"'
  echo
  echo '[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\App Paths\useronly.exe]'
  echo '@="C:\Acme\useronly.exe"'
} | sed '/^\[/!s/\\/\\\\/g' >"$reg"
"$SUITE_WINE" regedit /s 'C:\layout.reg' </dev/null >/dev/null 2>&1
rm -f "$reg"
# The server may have ended by itself already (it lingers a few seconds
# after its last client), which "-k" reports as a failure.
"$WINESERVER" -k 2>/dev/null || true
"$WINESERVER" -w
