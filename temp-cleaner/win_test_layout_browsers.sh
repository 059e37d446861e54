# Lays a prefix out as a Windows whose user has the browsers people use,
# with their profiles as the browsers made them (temp-cleaner/browser-profiles,
# made by Debian's chromium and firefox-esr) in the places each keeps them
# on that Windows (argument: the prefix; the layout is named by
# SUITE_TEST_LAYOUT).
#
# layouts: winxp-browsers win7-browsers win10-browsers win11-browsers
# suites: BrowserLayout*
#
#   winxp-browsers  Windows XP (XP x64 in a 64-bit prefix): the profile
#                   C:\Documents and Settings\<user>, its local application
#                   data "Local Settings\Application Data"; the browsers XP
#                   had: Chrome up to 49 (cookies in the profile itself,
#                   cache files in "Cache" itself, a "Visited Links"),
#                   360安全浏览器 and Firefox.
#   win7-browsers, win10-browsers, win11-browsers
#                   that Windows as win_test_layout.sh lays it out, with
#                   Chrome (Default, "Profile 2": the gap of a deleted
#                   "Profile 1"), Edge, QQ浏览器, Opera (its roaming folder is
#                   the profile, its cache in the local one), 360安全浏览器
#                   and Firefox.
#
# Firefox has a relative profile (its cache below the local folder) and
# one given by its full path on D:, a fixed drive; both have the
# parent.lock that Firefox leaves behind when it ends. Chrome's Default
# cache holds a link to C:\browser-canary, which no run may reach. A few
# files that only those browsers make stand in as copies: Edge's
# Collections, 360's 360Bookmarks, old Chrome's Visited Links.
set -eu
prefix=$1
export WINEPREFIX=$prefix
here=$(dirname "$0")
layout=${SUITE_TEST_LAYOUT:?the layout to lay out}
c=$prefix/drive_c
user=$(id -un)
profiles=$here/browser-profiles

case "$layout" in
  winxp-browsers)
    p=$c/Documents\ and\ Settings/$user
    local_data=$p/Local\ Settings/Application\ Data
    roaming=$p/Application\ Data
    mkdir -p "$local_data" "$roaming" "$p/Cookies" "$p/Recent" "$p/My Documents" "$p/Desktop" \
      "$p/Local Settings/Temporary Internet Files/Content.IE5/K3J8ZQ2P" \
      "$p/Local Settings/History/History.IE5" "$p/Local Settings/Temp"
    "$here/../testing/wine-drives" "$prefix" d:hd
    version=winxp
    [ "${SUITE_TREE:-}" = win64 ] && version=winxp64
    home="C:\\Documents and Settings\\$user"
    reg=$c/layout.reg
    {
      echo REGEDIT4
      echo
      echo '[HKEY_CURRENT_USER\Software\Wine]'
      echo "\"Version\"=\"$version\""
      echo
      echo '[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders]'
      for pair in "Cache=Local Settings\\Temporary Internet Files" "Cookies=Cookies" \
        "History=Local Settings\\History" "Recent=Recent" \
        "Local AppData=Local Settings\\Application Data" "AppData=Application Data" \
        "Personal=My Documents" "Desktop=Desktop"; do
        echo "\"${pair%%=*}\"=\"$home\\${pair#*=}\""
      done
      echo
      echo '[HKEY_CURRENT_USER\Environment]'
      echo "\"TEMP\"=\"$home\\Local Settings\\Temp\""
      echo "\"TMP\"=\"$home\\Local Settings\\Temp\""
    } | sed '/^\[/!s/\\/\\\\/g' >"$reg"
    "$SUITE_WINE" regedit /s 'C:\layout.reg' </dev/null >/dev/null 2>&1
    rm -f "$reg"
    "$WINESERVER" -k
    "$WINESERVER" -w
    ;;
  *-browsers)
    SUITE_TEST_LAYOUT=${layout%-browsers} bash "$here/win_test_layout.sh" "$prefix"
    p=$c/users/$user
    local_data=$p/AppData/Local
    roaming=$p/AppData/Roaming
    ;;
  *)
    echo "unknown layout: $layout" >&2
    exit 1
    ;;
esac

# A Chromium user-data folder with the profiles given, from the fixture.
chromium_root() {
  local to=$1 profile
  shift
  mkdir -p "$to"
  cp -a "$profiles/chromium/User Data/Local State" "$to/"
  for profile in "$@"; do
    cp -a "$profiles/chromium/User Data/$profile" "$to/"
  done
}

if [ "$layout" = winxp-browsers ]; then
  # Chrome 49: the cookie database in the profile, the cache files in
  # "Cache" itself, visited links in a file of their own.
  chrome="$local_data/Google/Chrome/User Data"
  chromium_root "$chrome" Default "Profile 2"
  for profile in Default "Profile 2"; do
    mv "$chrome/$profile/Network/Cookies" "$chrome/$profile/Network/Cookies-journal" \
      "$chrome/$profile/"
    mv "$chrome/$profile/Cache/Cache_Data/"* "$chrome/$profile/Cache/"
    rmdir "$chrome/$profile/Cache/Cache_Data"
    cp -a "$chrome/$profile/History" "$chrome/$profile/Visited Links"
  done
  ln -s "$c/browser-canary" "$chrome/Default/Cache/link"
else
  chrome="$local_data/Google/Chrome/User Data"
  chromium_root "$chrome" Default "Profile 2"
  ln -s "$c/browser-canary" "$chrome/Default/Cache/Cache_Data/link"
  chromium_root "$local_data/Microsoft/Edge/User Data" Default
  mkdir -p "$local_data/Microsoft/Edge/User Data/Default/Collections"
  cp -a "$profiles/chromium/User Data/Default/Favicons" \
    "$local_data/Microsoft/Edge/User Data/Default/Collections/collectionsSQLite"
  chromium_root "$local_data/Tencent/QQBrowser/User Data" Default
  opera="$roaming/Opera Software/Opera Stable"
  mkdir -p "$opera" "$local_data/Opera Software/Opera Stable"
  cp -a "$profiles/chromium/User Data/Default/." "$opera/"
  cp -a "$profiles/chromium/User Data/Local State" "$opera/"
  mv "$opera/Cache" "$local_data/Opera Software/Opera Stable/Cache"
fi
mkdir -p "$c/browser-canary"
echo "kept" >"$c/browser-canary/keep.txt"

chromium_root "$roaming/360se6/User Data" Default
cp -a "$profiles/chromium/User Data/Default/Bookmarks" "$roaming/360se6/User Data/Default/360Bookmarks"

mkdir -p "$roaming/Mozilla" "$local_data/Mozilla" "$prefix/drives/d/Firefox"
cp -a "$profiles/firefox/Roaming/Mozilla/Firefox" "$roaming/Mozilla/"
cp -a "$profiles/firefox/Local/Mozilla/Firefox" "$local_data/Mozilla/"
cp -a "$profiles/firefox/D/Firefox/work" "$prefix/drives/d/Firefox/"
for ff in "$roaming"/Mozilla/Firefox/Profiles/* "$prefix/drives/d/Firefox/work"; do
  : >"$ff/parent.lock"
done

