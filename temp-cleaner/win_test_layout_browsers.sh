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
#                   From Windows 7 on also the places of 2026: Opera 126
#                   (its profile in "Default", a root "Preferences" left by
#                   the upgrade), Opera GX with a sidebar profile in
#                   _side_profiles, Brave moved to D: by a junction at its
#                   "User Data", Vivaldi's "User Data" a junction to the
#                   floppy E: (not followed), a Firefox profile below
#                   Profiles that profiles.ini does not list, and the
#                   Store's Firefox in its package.
#
# Firefox has a relative profile (its cache below the local folder) and
# one given by its full path on D:, a fixed drive; both have the
# parent.lock that Firefox leaves behind when it ends. Chrome's Default
# cache holds a link to C:\browser-canary, which no run may reach. A few
# files that only those browsers make stand in as copies: Edge's
# Collections, 360's 360Bookmarks, 360History and HisDailyBackup, old
# Chrome's Visited Links, Chrome's HistoryEmbeddings, Extension Cookies
# and Service Worker\CacheStorage (the cache format of ScriptCache).
#
# C:\browser-places.txt says where the browsers keep what the boxes are
# for, one line a place: "cache", "cookies" or "history" and a pattern
# ("*" any characters of one name, "**" anything below; %L% the local and
# %A% the roaming application data). Whatever a run leaves there is a
# fault, and everything else must stay byte for byte.
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
    # The server may have ended by itself already (it lingers a few seconds
    # after its last client), which "-k" reports as a failure.
    "$WINESERVER" -k 2>/dev/null || true
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

places=$c/browser-places.txt
: >"$places"
# The places of a Chromium profile (argument: its Windows path) and of a
# user-data folder.
chromium_profile_places() {
  local at=$1 part
  for part in 'Cache\**' 'Code Cache\**' 'GPUCache\**' 'DawnCache\**' 'DawnGraphiteCache\**' \
    'DawnWebGPUCache\**' 'Service Worker\CacheStorage\**' 'Media Cache\**' \
    'Application Cache\**'; do
    echo "cache $at\\$part" >>"$places"
  done
  for part in 'Cookies' 'Cookies-journal' 'Network\Cookies' 'Network\Cookies-journal' \
    'Extension Cookies' 'Extension Cookies-journal' 'Network\Device Bound Sessions*'; do
    echo "cookies $at\\$part" >>"$places"
  done
  for part in 'History' 'History-journal' 'Visited Links' 'Top Sites' 'Top Sites-journal' \
    'Shortcuts' 'Shortcuts-journal' 'Network Action Predictor' 'Network Action Predictor-journal' \
    'HistoryEmbeddings*' '360History*' 'HisDailyBackup\**' 'JumpListIcons*\**'; do
    echo "history $at\\$part" >>"$places"
  done
}
chromium_root_places() {
  local at=$1 part
  for part in 'ShaderCache\**' 'GrShaderCache\**' 'GraphiteDawnCache\**' \
    'GPUPersistentCache\**' 'extensions_crx_cache\**' 'component_crx_cache\**'; do
    echo "cache $at\\$part" >>"$places"
  done
  chromium_profile_places "$at\\*"
}
firefox_places() {
  local roaming_at=$1 local_at=$2
  echo "cookies $roaming_at\\cookies.sqlite*" >>"$places"
  echo "cache $local_at\\cache2\\**" >>"$places"
  echo "history $local_at\\thumbnails\\**" >>"$places"
  echo "history $local_at\\jumpListCache\\**" >>"$places"
}

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
  chromium_root_places '%L%\Google\Chrome\User Data'
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
  # Chrome's places of 2026, as copies of files of the same format.
  d="$chrome/Default"
  mkdir -p "$d/Service Worker/CacheStorage/a1b2c3"
  cp -a "$d/Service Worker/ScriptCache/." "$d/Service Worker/CacheStorage/a1b2c3/"
  cp -a "$d/History" "$d/HistoryEmbeddings"
  cp -a "$d/Network/Cookies" "$d/Extension Cookies"
  for root in '%L%\Google\Chrome\User Data' '%L%\Microsoft\Edge\User Data' \
    '%L%\Tencent\QQBrowser\User Data'; do
    chromium_root_places "$root"
  done
  chromium_profile_places '%A%\Opera Software\Opera Stable'
  echo 'cache %L%\Opera Software\Opera Stable\Cache\**' >>"$places"

  # Opera 126: the profile in Default, the root's Preferences of before.
  mkdir -p "$opera/Default" "$local_data/Opera Software/Opera Stable/Default"
  cp -a "$profiles/chromium/User Data/Profile 2/." "$opera/Default/"
  mv "$opera/Default/Cache" "$local_data/Opera Software/Opera Stable/Default/Cache"
  chromium_profile_places '%A%\Opera Software\Opera Stable\Default'
  echo 'cache %L%\Opera Software\Opera Stable\Default\Cache\**' >>"$places"
  # Opera GX with a sidebar app's profile.
  gx="$roaming/Opera Software/Opera GX Stable"
  mkdir -p "$gx/Default" "$gx/_side_profiles/4F2A9C" \
    "$local_data/Opera Software/Opera GX Stable/_side_profiles/4F2A9C"
  cp -a "$profiles/chromium/User Data/Local State" "$gx/"
  cp -a "$profiles/chromium/User Data/Default/." "$gx/Default/"
  cp -a "$profiles/chromium/User Data/Profile 2/." "$gx/_side_profiles/4F2A9C/"
  mv "$gx/_side_profiles/4F2A9C/Cache" "$local_data/Opera Software/Opera GX Stable/_side_profiles/4F2A9C/"
  chromium_profile_places '%A%\Opera Software\Opera GX Stable\Default'
  chromium_profile_places '%A%\Opera Software\Opera GX Stable\_side_profiles\4F2A9C'
  echo 'cache %L%\Opera Software\Opera GX Stable\_side_profiles\4F2A9C\Cache\**' >>"$places"
  # Brave moved to D: with a junction; Vivaldi's to the floppy E:.
  mkdir -p "$local_data/BraveSoftware/Brave-Browser" "$local_data/Vivaldi" \
    "$prefix/drives/d/Brave" "$prefix/drives/e/Vivaldi"
  chromium_root "$prefix/drives/d/Brave/User Data" Default
  ln -s "$prefix/drives/d/Brave/User Data" "$local_data/BraveSoftware/Brave-Browser/User Data"
  chromium_root_places 'D:\Brave\User Data'
  chromium_root "$prefix/drives/e/Vivaldi/User Data" Default
  ln -s "$prefix/drives/e/Vivaldi/User Data" "$local_data/Vivaldi/User Data"
fi
mkdir -p "$c/browser-canary"
echo "kept" >"$c/browser-canary/keep.txt"

chromium_root "$roaming/360se6/User Data" Default
se=$roaming/360se6/User\ Data/Default
cp -a "$profiles/chromium/User Data/Default/Bookmarks" "$se/360Bookmarks"
# 360's own history beside History, and its daily copies.
cp -a "$se/History" "$se/360History"
mkdir -p "$se/HisDailyBackup"
cp -a "$se/History" "$se/HisDailyBackup/History_20261210"
chromium_root_places '%A%\360se6\User Data'

mkdir -p "$roaming/Mozilla" "$local_data/Mozilla" "$prefix/drives/d/Firefox"
cp -a "$profiles/firefox/Roaming/Mozilla/Firefox" "$roaming/Mozilla/"
cp -a "$profiles/firefox/Local/Mozilla/Firefox" "$local_data/Mozilla/"
cp -a "$profiles/firefox/D/Firefox/work" "$prefix/drives/d/Firefox/"
ff_profile=$(basename "$roaming"/Mozilla/Firefox/Profiles/*)
firefox_places "%A%\\Mozilla\\Firefox\\Profiles\\$ff_profile" \
  "%L%\\Mozilla\\Firefox\\Profiles\\$ff_profile"
firefox_places 'D:\Firefox\work' 'D:\Firefox\work'
if [ "$layout" != winxp-browsers ]; then
  # A profile of a group of the new profile manager, which profiles.ini
  # does not list, and the Store's Firefox in its package.
  cp -a "$roaming/Mozilla/Firefox/Profiles/$ff_profile" "$roaming/Mozilla/Firefox/Profiles/g7h8.group"
  cp -a "$local_data/Mozilla/Firefox/Profiles/$ff_profile" "$local_data/Mozilla/Firefox/Profiles/g7h8.group"
  firefox_places '%A%\Mozilla\Firefox\Profiles\g7h8.group' \
    '%L%\Mozilla\Firefox\Profiles\g7h8.group'
  store=$local_data/Packages/Mozilla.Firefox_n80bbvh6b1yt2/LocalCache
  mkdir -p "$store/Roaming/Mozilla" "$store/Local/Mozilla"
  cp -a "$profiles/firefox/Roaming/Mozilla/Firefox" "$store/Roaming/Mozilla/"
  sed -i '/^\[Profile1\]/,/^$/d' "$store/Roaming/Mozilla/Firefox/profiles.ini"
  cp -a "$profiles/firefox/Local/Mozilla/Firefox" "$store/Local/Mozilla/"
  s='%L%\Packages\Mozilla.Firefox_n80bbvh6b1yt2\LocalCache'
  firefox_places "$s\\Roaming\\Mozilla\\Firefox\\Profiles\\$ff_profile" \
    "$s\\Local\\Mozilla\\Firefox\\Profiles\\$ff_profile"
  : >"$store/Roaming/Mozilla/Firefox/Profiles/$ff_profile/parent.lock"
  : >"$roaming/Mozilla/Firefox/Profiles/g7h8.group/parent.lock"
fi
for ff in "$roaming"/Mozilla/Firefox/Profiles/"$ff_profile" "$prefix/drives/d/Firefox/work"; do
  : >"$ff/parent.lock"
done

