// modTray: the command box's icon in the notification area. One record for
// the whole run, used to add the icon and to remove it again.
#ifndef TRAY_TRAY_ICON_WIN_H_
#define TRAY_TRAY_ICON_WIN_H_

#include <string>

#include "common/win32_win.h"

namespace tray {

// Adds the icon: uID 1, message, icon and tooltip set (flags 7), the icon
// loaded 16 by 16 from the file, the icon's mouse messages sent to `window`
// as WM_MOUSEMOVE with the mouse message in the low word of lParam.
// Failures are not reported: a missing file gives an icon without a
// picture.
void AddTrayIcon(HWND window, const std::wstring& icon_file, const std::wstring& tooltip);
void RemoveTrayIcon();

// The record as it was last passed to the shell, for tests.
const NOTIFYICONDATAW& TrayRecord();
bool TrayIconAdded();

}  // namespace tray

#endif  // TRAY_TRAY_ICON_WIN_H_
