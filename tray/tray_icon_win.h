// modTray: the command box's icon in the notification area. One record for
// the whole run, used to add the icon, to add it again after the shell's
// taskbar lost it, to ask the shell whether it still has it, and to remove
// it.
#ifndef TRAY_TRAY_ICON_WIN_H_
#define TRAY_TRAY_ICON_WIN_H_

#include <string>

#include "common/owned_win.h"
#include "common/win32_win.h"
#include "tray/tray_presence.h"

namespace tray {

class TrayIcon : public NotifyAreaPort {
 public:
  TrayIcon() = default;
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;
  ~TrayIcon() override;

  // Makes the record: uID 1, message, icon and tooltip set (flags 7), the
  // icon's mouse messages sent to `window` as WM_MOUSEMOVE with the mouse
  // message in the low word of lParam. The picture is `icon_file` at the
  // system's small-icon size, or the program's own icon where the file
  // cannot be loaded (a program copied without it).
  void MakeRecord(HWND window, const std::wstring& icon_file, const std::wstring& tooltip);
  // The picture of the record came from the icon file.
  bool picture_from_file() const { return static_cast<bool>(loaded_icon_); }

  // NotifyAreaPort, with the record as made.
  bool AddIcon() override;
  bool ModifyIcon() override;
  void RemoveIcon() override;

  const NOTIFYICONDATAW& record() const { return record_; }

 private:
  NOTIFYICONDATAW record_ = {};
  // The picture loaded from the icon file, where there is one.
  common::OwnedIcon loaded_icon_;
};

// Lets the shell's "TaskbarCreated" through to `window` when the program
// runs elevated: Explorer, at a lower integrity level, is otherwise
// stopped by the message filter of Windows Vista and later. Returns the
// message.
UINT RegisterTaskbarCreated(HWND window);

}  // namespace tray

#endif  // TRAY_TRAY_ICON_WIN_H_
