#include "tray/tray_presence.h"

namespace tray {

bool TrayPresence::Add() {
  present_ = area_->AddIcon() || area_->ModifyIcon();
  return present_;
}

bool TrayPresence::MayHide() {
  if (present_ && area_->ModifyIcon())
    return true;
  return Add();
}

void TrayPresence::Remove() {
  area_->RemoveIcon();
  present_ = false;
}

}  // namespace tray
