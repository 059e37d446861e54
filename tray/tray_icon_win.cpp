#include "tray/tray_icon_win.h"

#include "common/window_win.h"

namespace tray {
namespace {

NOTIFYICONDATAW g_record = {};
bool g_added = false;

}  // namespace

void AddTrayIcon(HWND window, const std::wstring& icon_file, const std::wstring& tooltip) {
  g_record = NOTIFYICONDATAW{};
  // The size of the record with a 128-character tooltip, which every
  // system from Windows 2000 on takes.
  g_record.cbSize = NOTIFYICONDATAW_V2_SIZE;
  g_record.hWnd = window;
  g_record.uID = 1;
  g_record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  g_record.uCallbackMessage = WM_MOUSEMOVE;
  // At the system's small-icon size: 16 by 16 on the usual display, more
  // where the display has more dots per inch.
  const int size = common::SmallIconSize();
  g_record.hIcon =
      static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), icon_file.c_str(), IMAGE_ICON,
                                      size, size, LR_LOADFROMFILE | LR_LOADMAP3DCOLORS));
  lstrcpynW(g_record.szTip, tooltip.c_str(), 128);
  g_added = ::Shell_NotifyIconW(NIM_ADD, &g_record) != FALSE;
}

void RemoveTrayIcon() {
  ::Shell_NotifyIconW(NIM_DELETE, &g_record);
  g_added = false;
  if (g_record.hIcon)
    ::DestroyIcon(g_record.hIcon);
  g_record.hIcon = nullptr;
}

const NOTIFYICONDATAW& TrayRecord() {
  return g_record;
}
bool TrayIconAdded() {
  return g_added;
}

}  // namespace tray
