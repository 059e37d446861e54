// abot: Tovrix's About window, and the owner of the notification icon's
// popup menu mSysPopup ("显示", "关于", "-", "退出"), for which it exists
// without being shown.
#ifndef TRAY_ABOUT_WINDOW_WIN_H_
#define TRAY_ABOUT_WINDOW_WIN_H_

#include <functional>
#include <string>

#include "common/owned_win.h"
#include "common/window_win.h"
#include "tray/tray_dispatch.h"
#include "window-look/chrome_win.h"

namespace tray {

class AboutWindow : public common::Window {
 public:
  static constexpr int kWidth = 340;
  static constexpr int kHeight = 68;

  struct Texts {
    std::wstring site;    // Label4: the maker's web site
    std::wstring notice;  // Label2: the maker's notice line
  };
  struct Actions {
    std::function<void(MenuItem)> menu;             // a menu item was chosen
    std::function<void(const std::wstring&)> open;  // a label wants the site opened
  };

  AboutWindow(Texts texts, Actions actions);
  ~AboutWindow() override;

  bool Exists() const { return hwnd() != nullptr; }
  // Creates the window hidden when it does not exist.
  void EnsureCreated();
  // Shows it modeless; when it is shown already, it only comes forward.
  void ShowModeless();
  // Shows mSysPopup at the mouse position and carries out the choice.
  void PopupMenu();
  // The menu item's action, as if chosen from the menu.
  void Choose(MenuItem item);
  void Close();

  HWND label(int n) const;
  HMENU menu() const { return menu_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  Texts texts_;
  Actions actions_;
  look::WindowChrome chrome_;
  HMENU menu_ = nullptr;
  common::OwnedFont font_, bold_font_;
  HWND label1_ = nullptr, label2_ = nullptr, label3_ = nullptr, label4_ = nullptr;
};

}  // namespace tray

#endif  // TRAY_ABOUT_WINDOW_WIN_H_
