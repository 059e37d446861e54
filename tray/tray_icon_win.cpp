#include "tray/tray_icon_win.h"

#include "common/window_win.h"

namespace tray {

TrayIcon::~TrayIcon() = default;

void TrayIcon::MakeRecord(HWND window, const std::wstring& icon_file, const std::wstring& tooltip) {
  record_ = NOTIFYICONDATAW{};
  // The size of the record with a 128-character tooltip, which every
  // system from Windows 2000 on takes.
  record_.cbSize = NOTIFYICONDATAW_V2_SIZE;
  record_.hWnd = window;
  record_.uID = 1;
  record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record_.uCallbackMessage = WM_MOUSEMOVE;
  // At the system's small-icon size: 16 by 16 on the usual display, more
  // where the display has more dots per inch.
  const int size = common::SmallIconSize();
  loaded_icon_.reset(
      static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), icon_file.c_str(), IMAGE_ICON,
                                      size, size, LR_LOADFROMFILE | LR_LOADMAP3DCOLORS)));
  // The program file carries the same picture: a blank place in the
  // notification area would be hard to find. That one is shared and stays.
  record_.hIcon = loaded_icon_ ? loaded_icon_.get() : common::ProgramIcon(size);
  lstrcpynW(record_.szTip, tooltip.c_str(), 128);
}

bool TrayIcon::AddIcon() {
  return ::Shell_NotifyIconW(NIM_ADD, &record_) != FALSE;
}

bool TrayIcon::ModifyIcon() {
  return ::Shell_NotifyIconW(NIM_MODIFY, &record_) != FALSE;
}

void TrayIcon::RemoveIcon() {
  ::Shell_NotifyIconW(NIM_DELETE, &record_);
}

UINT RegisterTaskbarCreated(HWND window) {
  const UINT message = ::RegisterWindowMessageW(L"TaskbarCreated");
  common::AllowMessageFromLowerIntegrity(window, message);
  return message;
}

}  // namespace tray
