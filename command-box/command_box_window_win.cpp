#include "command-box/command_box_window_win.h"

#include <shellapi.h>

#include <algorithm>

#include "command-box/single_instance_win.h"
#include "command-box/web_lookups.h"
#include "common/program_path.h"
#include "common/screen_place.h"
#include "common/text_rules.h"
#include "tray/tray_dispatch.h"
#include "window-look/skin_engine_win.h"

namespace commandbox {
namespace {

enum { kImage1 = 100, kLabel4, kLabel5, kText1, kCommand1 };
constexpr UINT kPlayerGone = WM_APP + 21;
constexpr wchar_t kOption[] = L"Option";

std::optional<int> WholeNumber(const std::wstring& text) {
  const auto value = common::ParseNumber(text);
  if (!value || *value > 1e7 || *value < -1e7)
    return std::nullopt;
  return static_cast<int>(common::RoundHalfEven(*value));
}

// The height of a line of text in `font`, drawn in `window`.
int LineHeight(HWND window, HFONT font) {
  const common::WindowDc dc(window);
  HGDIOBJ old = ::SelectObject(dc.get(), font);
  TEXTMETRICW metrics = {};
  ::GetTextMetricsW(dc.get(), &metrics);
  ::SelectObject(dc.get(), old);
  return metrics.tmHeight;
}

}  // namespace

StartupPlacement ReadStartupSettings(CommandBoxFields& fields,
                                     const common::SettingsFile& settings) {
  fields.Text4 = settings.ReadSetting(kOption, L"wl.top");
  fields.Text5 = settings.ReadSetting(kOption, L"wl.left");
  fields.Text8 = settings.ReadSetting(kOption, L"AutoLnk");
  fields.Text9 = settings.ReadSetting(kOption, L"TM");
  StartupPlacement placement;
  if (const auto top = WholeNumber(fields.Text4))
    placement.top_twips = *top;
  if (const auto left = WholeNumber(fields.Text5))
    placement.left_twips = *left;
  if (const auto alpha = common::OpacityLevel(fields.Text9))
    placement.alpha = *alpha;
  return placement;
}

CommandBoxWindow::CommandBoxWindow() : interpreter_(fields_, *this) {
  quit_on_destroy = true;
  input_font_.reset(common::CreatePointFont(L"宋体", 9.75));
  label_font_.reset(common::CreatePointFont(L"宋体", 9));
  title_font_.reset(common::CreatePointFont(L"Arial Black", 12));
  // Where Arial Black is missing, the heaviest weight of what stands in.
  LOGFONTW heavy = {};
  ::GetObjectW(title_font_.get(), sizeof(heavy), &heavy);
  heavy.lfWeight = FW_HEAVY;
  title_font_.reset(::CreateFontIndirectW(&heavy));
  // Image1 is 240 by 240 twips.
  icon_ = common::ProgramIcon(common::TwipsToPixels(240));
  tray::AboutWindow::Texts texts{kMakerSite, L"感谢使用 Tovrix 快捷输入框"};
  tray::AboutWindow::Actions actions;
  actions.menu = [this](tray::MenuItem item) { MenuChosen(item); };
  actions.open = [this](const std::wstring& site) {
    if (!platform_.StartCommandLine(CurrentBrowserPrefix() + site))
      SignalFailure();
  };
  about_ = std::make_unique<tray::AboutWindow>(texts, actions);
}

CommandBoxWindow::~CommandBoxWindow() {
  Shutdown();
}

bool CommandBoxWindow::Open() {
  const int width = common::TwipsToPixels(kWidthTwips);
  const int height = common::TwipsToPixels(kHeightTwips);
  if (!Create(look::kFormClass, kCaption, WS_POPUP | WS_MINIMIZEBOX | WS_SYSMENU,
              WS_EX_APPWINDOW | WS_EX_CONTROLPARENT | WS_EX_ACCEPTFILES, 0, 0, width, height,
              nullptr)) {
    return false;
  }
  // The shell's prompts (elevation) come to the front over the box.
  platform_.set_owner(hwnd());
  ::SendMessageW(hwnd(), WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(common::ProgramIcon(common::SmallIconSize())));
  ::SendMessageW(hwnd(), WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(common::ProgramIcon(common::LargeIconSize())));
  CreateControls();
  // A new taskbar announces itself with "TaskbarCreated"; a later start
  // of Tovrix asks for this box. Both come from other programs, which the
  // message filter stops when this one runs elevated.
  taskbar_created_ = tray::RegisterTaskbarCreated(hwnd());
  show_box_ = ShowBoxMessage();
  common::AllowMessageFromLowerIntegrity(hwnd(), show_box_);

  look::AttachSkin(hwnd());
  const StartupPlacement placement = ReadStartupSettings(fields_, interpreter_.settings());
  RECT place = {common::TwipsToPixels(placement.left_twips),
                common::TwipsToPixels(placement.top_twips), 0, 0};
  place.right = place.left + width;
  place.bottom = place.top + height;
  // A place saved on a screen that is no longer there would hide the box.
  if (!::MonitorFromRect(&place, MONITOR_DEFAULTTONULL)) {
    const StartupPlacement defaults;
    ::OffsetRect(&place, common::TwipsToPixels(defaults.left_twips) - place.left,
                 common::TwipsToPixels(defaults.top_twips) - place.top);
  }
  ::SetWindowPos(hwnd(), nullptr, place.left, place.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowAlpha(placement.alpha);
  ::SetTimer(hwnd(), kTopmostTimer, kTopmostInterval, nullptr);
  ::ShowWindow(hwnd(), SW_SHOW);
  ::UpdateWindow(hwnd());
  // The notification icon comes once the box is on the screen: adding it
  // waits for the shell's notification area (under Wine another process),
  // which the box need not wait for. Then the focus, which a shell that
  // brings up its taskbar for the first icon could otherwise take.
  tray_icon_.MakeRecord(hwnd(), common::JoinPath(platform_.Program().folder, L"ico.ico"),
                        L"快捷输入框");
  presence_.Add();
  ::SetFocus(text1_);
  return true;
}

void CommandBoxWindow::CreateControls() {
  chrome_.Create(hwnd(), look::WindowChrome::Layout::TopRight(
                             common::ScreenDpi(), common::TwipsToPixels(kWidthTwips),
                             common::TwipsToPixels(kHeightTwips), look::BackgroundStyle::kStrip, 4));
  chrome_.on_close = [this] { Shutdown(); };
  chrome_.on_minimise = [this] { ::ShowWindow(hwnd(), SW_MINIMIZE); };

  auto make = [&](const common::ControlLayout& l, HFONT font) {
    return common::CreateControl(chrome_.picture(), l, font);
  };
  image1_ = make({kImage1, L"Static", L"", WS_VISIBLE | SS_ICON | SS_NOTIFY, 0, 150, 120, 240, 240},
                 nullptr);
  ::SendMessageW(image1_, STM_SETICON, reinterpret_cast<WPARAM>(icon_), 0);
  label4_ = make(
      {kLabel4, L"Static", L"Tovrix", WS_VISIBLE | SS_NOTIFY | SS_NOPREFIX, 0, 495, 60, 1800, 360},
      title_font_.get());
  label5_ = make({kLabel5, L"Static", L"", WS_VISIBLE | SS_NOTIFY | SS_CENTER | SS_NOPREFIX, 0, 240,
                  600, 4575, 200},
                 label_font_.get());
  // The lyric line is 200 twips high, which holds a line of "宋体" 9 points
  // on the usual display; where its font needs more (the faces that stand
  // in for it where it is missing, or the display's density), it grows
  // downwards as far as the input row (840 twips).
  const RECT line = common::ControlRect(label5_);
  const int room = common::TwipsToPixels(840) - line.top;
  const int height =
      std::min<int>(room, std::max<int>(line.bottom - line.top, LineHeight(label5_, label_font_.get())));
  ::SetWindowPos(label5_, nullptr, 0, 0, line.right - line.left, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  text1_ = make({kText1, L"Edit", L"", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
                 240, 840, 3255, 285},
                input_font_.get());
  command1_ =
      make({kCommand1, L"Button", L"确 定", WS_VISIBLE | WS_TABSTOP, 0, 3840, 840, 975, 300},
           label_font_.get());

  // Drops on the input box, the title, the lyric line and the background
  // put the first file's path into the input box.
  for (HWND target : {text1_, label4_, label5_, chrome_.picture()})
    ::DragAcceptFiles(target, TRUE);
  for (HWND control : {text1_, label4_, label5_, chrome_.picture(), image1_}) {
    const bool focuses = control == label4_ || control == label5_ || control == chrome_.picture();
    const bool drags = control != text1_;
    common::SubclassControl(
        control, [this, control, focuses, drags](HWND, UINT message, WPARAM wparam, LPARAM,
                                                 LRESULT* result) {
          switch (message) {
            case WM_DROPFILES:
              if (control == image1_)
                return false;
              OnDrop(reinterpret_cast<HDROP>(wparam));
              *result = 0;
              return true;
            case WM_LBUTTONDOWN:
            case WM_RBUTTONDOWN:
            case WM_MBUTTONDOWN:
              if (!drags)
                return false;
              // Any button gives the input box the focus; the left one then
              // moves the window.
              if (focuses)
                ::SetFocus(text1_);
              if (message == WM_LBUTTONDOWN)
                look::DragWindow(hwnd());
              *result = 0;
              return true;
            case WM_MOUSEMOVE:
              if (control == chrome_.picture())
                chrome_.RS();
              return false;
            default:
              return false;
          }
        });
  }
}

void CommandBoxWindow::OnDrop(HDROP drop) {
  const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  // A drop that carries no file names changes nothing (Wine counts an
  // empty list as one empty name).
  if (count > 0) {
    const UINT length = ::DragQueryFileW(drop, 0, nullptr, 0);
    std::wstring file(length + 1, L'\0');
    ::DragQueryFileW(drop, 0, file.data(), length + 1);
    file.resize(length);
    if (!file.empty()) {
      ::SetWindowTextW(text1_, file.c_str());
      interpreter_.OnText1Changed(file);
    }
  }
  ::DragFinish(drop);
}

bool CommandBoxWindow::PreTranslateMessage(MSG& msg) {
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN && msg.hwnd == text1_) {
    interpreter_.Command1_Click();
    return true;
  }
  return ::IsDialogMessageW(hwnd(), &msg) != FALSE;
}

LRESULT CommandBoxWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  // Registered messages have no fixed numbers.
  if (message == taskbar_created_ && message != 0) {
    OnTaskbarCreated();
    return 0;
  }
  if (message == show_box_ && message != 0) {
    ShowForLaterStart();
    return 0;
  }
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wparam) == kCommand1 && HIWORD(wparam) == BN_CLICKED) {
        interpreter_.Command1_Click();
      } else if (LOWORD(wparam) == kText1 && HIWORD(wparam) == EN_CHANGE) {
        interpreter_.OnText1Changed(common::WindowText(text1_));
      }
      return 0;
    case WM_MOUSEMOVE:
      // The notification icon's messages come as mouse moves, with the
      // icon's own mouse message in place of the horizontal position.
      switch (tray::TrayActionFor(LOWORD(lparam))) {
        case tray::TrayAction::kRestore:
          TrayRestore();
          break;
        case tray::TrayAction::kPopupMenu:
          ::SetForegroundWindow(hwnd());
          about_->PopupMenu();
          break;
        case tray::TrayAction::kNone:
          break;
      }
      return 0;
    case WM_TIMER:
      if (wparam == kTopmostTimer) {
        // Topmost, without taking the keyboard from the program in use.
        ::SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      }
      return 0;
    case WM_SIZE:
      // Minimised means hidden: the notification icon brings it back. While
      // the shell has no icon, the box stays minimised on the taskbar,
      // where the user finds it again.
      if (wparam == SIZE_MINIMIZED && presence_.MayHide())
        ::ShowWindow(hwnd(), SW_HIDE);
      break;
    case WM_DISPLAYCHANGE:
      if (!::IsIconic(hwnd()))
        KeepOnScreen();
      break;
    case WM_CTLCOLORSTATIC:
      return chrome_.TransparentControl(reinterpret_cast<HWND>(lparam),
                                        reinterpret_cast<HDC>(wparam), RGB(255, 255, 255));
    case kPlayerGone:
      // The player window has gone; its object goes now, outside its own
      // window procedure.
      if (player_ && !player_->hwnd())
        player_.reset();
      return 0;
    case WM_CLOSE:
      Shutdown();
      return 0;
    default:
      break;
  }
  return Window::HandleMessage(message, wparam, lparam);
}

void CommandBoxWindow::TrayRestore() {
  ::ShowWindow(hwnd(), SW_RESTORE);
  ::ShowWindow(hwnd(), SW_SHOW);
  KeepOnScreen();
  chrome_.Show(look::ChromeButton::kMinimise, look::ChromeState::kNormal);
  ::SetFocus(text1_);
  if (fields_.Text10 == L"1" && player_)
    player_->logic().EnableDeferredRefresh();
}

void CommandBoxWindow::ShowForLaterStart() {
  TrayRestore();
  ::SetForegroundWindow(hwnd());
  ::SetFocus(text1_);
}

void CommandBoxWindow::KeepOnScreen() {
  RECT place = {};
  ::GetWindowRect(hwnd(), &place);
  if (::MonitorFromRect(&place, MONITOR_DEFAULTTONULL))
    return;
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  if (!::GetMonitorInfoW(::MonitorFromRect(&place, MONITOR_DEFAULTTONEAREST), &monitor))
    return;
  const RECT& work = monitor.rcWork;
  const common::ScreenRect moved =
      common::MoveInto({place.left, place.top, place.right, place.bottom},
                       {work.left, work.top, work.right, work.bottom});
  ::SetWindowPos(hwnd(), nullptr, moved.left, moved.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CommandBoxWindow::OnTaskbarCreated() {
  // Back in the notification area, a box left minimised on the taskbar
  // meanwhile hides as minimised boxes do.
  if (presence_.Add() && ::IsIconic(hwnd()) && ::IsWindowVisible(hwnd()))
    ::ShowWindow(hwnd(), SW_HIDE);
}

void CommandBoxWindow::MenuChosen(tray::MenuItem item) {
  switch (item) {
    case tray::MenuItem::kShow:
      ::ShowWindow(hwnd(), SW_RESTORE);
      ::ShowWindow(hwnd(), SW_SHOW);
      KeepOnScreen();
      break;
    case tray::MenuItem::kAbout:
      about_->ShowModeless();
      break;
    case tray::MenuItem::kExit:
      ::ShowWindow(hwnd(), SW_RESTORE);
      ::ShowWindow(hwnd(), SW_SHOW);
      Shutdown();
      break;
  }
}

void CommandBoxWindow::Shutdown() {
  if (shut_down_)
    return;
  shut_down_ = true;
  presence_.Remove();
  if (player_) {
    player_->on_destroyed = nullptr;
    player_.reset();
  }
  about_->Close();
  if (hwnd())
    ::DestroyWindow(hwnd());
}

int CommandBoxWindow::WindowTopTwips() {
  RECT r = {};
  ::GetWindowRect(hwnd(), &r);
  return common::PixelsToTwips(r.top);
}

int CommandBoxWindow::WindowLeftTwips() {
  RECT r = {};
  ::GetWindowRect(hwnd(), &r);
  return common::PixelsToTwips(r.left);
}

void CommandBoxWindow::ShowInputText(const std::wstring& text) {
  ::SetWindowTextW(text1_, text.c_str());
}

void CommandBoxWindow::FocusInput() {
  ::SetFocus(text1_);
}

void CommandBoxWindow::SetInputRowTop(int twips) {
  common::SetControlTopTwips(text1_, twips);
  common::SetControlTopTwips(command1_, twips);
  ::RedrawWindow(chrome_.picture(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void CommandBoxWindow::SetLyricLine(const std::wstring& text) {
  if (common::WindowText(label5_) == text)
    return;
  ::SetWindowTextW(label5_, text.c_str());
  ::InvalidateRect(label5_, nullptr, TRUE);
}

void CommandBoxWindow::SetWindowAlpha(int alpha) {
  ::SetWindowLongW(hwnd(), GWL_EXSTYLE, ::GetWindowLongW(hwnd(), GWL_EXSTYLE) | WS_EX_LAYERED);
  ::SetLayeredWindowAttributes(hwnd(), 0, static_cast<BYTE>(alpha), LWA_ALPHA);
}

void CommandBoxWindow::ShowAbout() {
  about_->ShowModeless();
}

void CommandBoxWindow::ShowMessage(const std::wstring& text, const std::wstring& title) {
  ::MessageBoxW(hwnd(), text.c_str(), title.c_str(), MB_OK | MB_ICONINFORMATION);
}

void CommandBoxWindow::SignalFailure() {
  ::MessageBeep(MB_ICONWARNING);
}

player::PlayerWindow* CommandBoxWindow::EnsurePlayer() {
  if (player_ && player_->hwnd())
    return player_.get();
  auto made = std::make_unique<player::PlayerWindow>(*this);
  made->on_destroyed = [this] { ::PostMessageW(hwnd(), kPlayerGone, 0, 0); };
  // A player whose window could not be made has no component either: it is
  // not kept, and what the box asks of it is left undone.
  if (!made->CreateHidden()) {
    made->on_destroyed = nullptr;
    return nullptr;
  }
  player_ = std::move(made);
  return player_.get();
}

void CommandBoxWindow::PlayerAdapter::Show() {
  if (player::PlayerWindow* player = box_.EnsurePlayer()) {
    player->ShowModeless();
  } else {
    box_.SignalFailure();
  }
}

void CommandBoxWindow::PlayerAdapter::EnsureCreated() {
  box_.EnsurePlayer();
}

void CommandBoxWindow::PlayerAdapter::LoadLyrics(const std::wstring& stem) {
  if (player::PlayerWindow* player = box_.EnsurePlayer())
    player->logic().LoadLyrics(stem);
}

void CommandBoxWindow::PlayerAdapter::ClearLyricList() {
  if (player::PlayerWindow* player = box_.EnsurePlayer())
    player->logic().ClearLyricList();
}

void CommandBoxWindow::PlayerAdapter::EnableDeferredRefresh() {
  if (box_.player_ && box_.player_->hwnd())
    box_.player_->logic().EnableDeferredRefresh();
}

std::wstring CommandBoxWindow::PlayerAdapter::URL() {
  player::PlayerWindow* player = box_.EnsurePlayer();
  return player ? player->w1().URL() : std::wstring();
}

void CommandBoxWindow::PlayerAdapter::SetURL(const std::wstring& url) {
  if (player::PlayerWindow* player = box_.EnsurePlayer())
    player->w1().SetURL(url);
}

std::wstring CommandBoxWindow::PlayerAdapter::CurrentMediaInfo(const std::wstring& name) {
  player::PlayerWindow* player = box_.EnsurePlayer();
  return player ? player->w1().GetItemInfo(name) : std::wstring();
}

}  // namespace commandbox
