#include "tray/tray_dispatch.h"

namespace tray {

TrayAction TrayActionFor(unsigned mouse_message) {
  switch (mouse_message) {
    case 513:  // WM_LBUTTONDOWN
      return TrayAction::kRestore;
    case 516:  // WM_RBUTTONDOWN
      return TrayAction::kPopupMenu;
    default:  // moves, releases, double-clicks, the middle button
      return TrayAction::kNone;
  }
}

}  // namespace tray
