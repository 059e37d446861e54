# Lays a prefix out as a Windows with its default web browser (argument:
# the prefix; the layout is named by SUITE_TEST_LAYOUT), on top of the
# command box's usual files (win_test_fixture.sh).
#
# layouts: win7-ie-default win10-own-browser
# suites: BrowserLayout*
#
#   win7-ie-default    Windows 7, Internet Explorer (the recorder) at its
#                      standard place and the default: the http class names
#                      it, the user has made no choice.
#   win10-own-browser  Windows 10 without Internet Explorer (the optional
#                      feature removed, the http class still naming it) and
#                      a browser (the recorder) registered as a browser's
#                      installer registers it: its ProgId with an open
#                      command, its capabilities under StartMenuInternet,
#                      RegisteredApplications, and the user's choice of it
#                      for http and https in UrlAssociations.
set -eu
prefix=$1
layout=${SUITE_TEST_LAYOUT:?the layout to lay out}
bash "$(dirname "$0")/win_test_fixture.sh" "$prefix"
c=$prefix/drive_c
reg() {
  WINEPREFIX=$prefix "$SUITE_WINE" reg add "$@" /f </dev/null >/dev/null 2>&1
}
case "$layout" in
  win7-ie-default)
    reg 'HKCU\Software\Wine' /v Version /d win7
    ;;
  win10-own-browser)
    reg 'HKCU\Software\Wine' /v Version /d win10
    rm -f "$c/Program Files/Internet Explorer/"[iI][eE][xX][pP][lL][oO][rR][eE].[eE][xX][eE]
    rm -f "$c/Program Files (x86)/Internet Explorer/"[iI][eE][xX][pP][lL][oO][rR][eE].[eE][xX][eE]
    app='C:\Program Files\Suite Browser\Application'
    mkdir -p "$c/Program Files/Suite Browser/Application"
    cp "$c/suite/cmdline_recorder.exe" "$c/Program Files/Suite Browser/Application/browser.exe"
    classes='HKLM\Software\Classes\SuiteBrowserHTML'
    reg "$classes" /ve /d 'Suite Browser HTML Document'
    reg "$classes\\DefaultIcon" /ve /d "$app\\browser.exe,0"
    reg "$classes\\shell\\open\\command" /ve /d "\"$app\\browser.exe\" --single-argument %1"
    client='HKLM\Software\Clients\StartMenuInternet\SuiteBrowser'
    reg "$client" /ve /d 'Suite Browser'
    reg "$client\\Capabilities" /v ApplicationName /d 'Suite Browser'
    for scheme in http https; do
      reg "$client\\Capabilities\\URLAssociations" /v $scheme /d SuiteBrowserHTML
    done
    reg "$client\\shell\\open\\command" /ve /d "\"$app\\browser.exe\""
    reg 'HKLM\Software\RegisteredApplications' /v SuiteBrowser \
      /d 'Software\Clients\StartMenuInternet\SuiteBrowser\Capabilities'
    choices='HKCU\Software\Microsoft\Windows\Shell\Associations\UrlAssociations'
    for scheme in http https; do
      reg "$choices\\$scheme\\UserChoice" /v ProgId /d SuiteBrowserHTML
      reg "$choices\\$scheme\\UserChoice" /v Hash /d 'q2Bx7dFvK1w='
    done
    ;;
  *)
    echo "win_test_layout_browser.sh: no layout $layout" >&2
    exit 1
    ;;
esac
