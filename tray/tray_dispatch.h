// What the command box does with the mouse messages of its notification
// icon. They arrive as mouse-move notifications of the command box, with
// the icon's own mouse message where the horizontal position would be.
#ifndef TRAY_TRAY_DISPATCH_H_
#define TRAY_TRAY_DISPATCH_H_

namespace tray {

enum class TrayAction {
  kNone,
  // Left button down (513): the command box comes back, focused.
  kRestore,
  // Right button down (516): the popup menu.
  kPopupMenu,
};

TrayAction TrayActionFor(unsigned mouse_message);

// The popup menu mSysPopup and its items.
enum class MenuItem { kShow = 1, kAbout = 2, kExit = 3 };

}  // namespace tray

#endif  // TRAY_TRAY_DISPATCH_H_
