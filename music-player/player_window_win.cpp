#include "music-player/player_window_win.h"

#include <shellapi.h>

#include <cmath>
#include <vector>

#include "music-player/lyrics.h"
#include "window-look/skin_engine_win.h"

namespace player {
namespace {

enum : UINT_PTR { kSyncTimer = 1, kRefreshTimer = 2, kDeferredTimer = 3 };
constexpr UINT kTimerInterval = 500;
constexpr UINT kGraphEvent = WM_APP + 11;
enum { kImage1 = 100, kLabel1, kLabel5, kPlay, kStop, kSeek, kVolume, kVolumeLabel };

std::vector<std::wstring> DroppedFiles(HDROP drop) {
  std::vector<std::wstring> files;
  const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
    std::wstring file(length + 1, L'\0');
    ::DragQueryFileW(drop, i, file.data(), length + 1);
    file.resize(length);
    files.push_back(file);
  }
  return files;
}

}  // namespace

PlayerWindow::PlayerWindow(CommandBoxLink& box) : box_(box) {
  font_.reset(common::CreatePointFont(L"宋体", 9));
  small_font_.reset(common::CreatePointFont(L"Tahoma", 8));
  icon_ = common::ProgramIcon(common::Scaled(16));
}

PlayerWindow::~PlayerWindow() {
  if (hwnd())
    ::DestroyWindow(hwnd());
}

bool PlayerWindow::CreateHidden() {
  if (hwnd())
    return true;
  RECT work = {0, 0, 1024, 768};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  using common::Scaled;
  if (!Create(look::kFormClass, L"Tunelet",
              WS_POPUP | WS_MINIMIZEBOX | WS_SYSMENU | WS_CLIPCHILDREN,
              WS_EX_APPWINDOW | WS_EX_ACCEPTFILES, work.right - Scaled(kWidth + 40),
              work.bottom - Scaled(kHeight + 160), Scaled(kWidth), Scaled(kHeight), nullptr)) {
    return false;
  }
  ::SendMessageW(hwnd(), WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(common::ProgramIcon(common::SmallIconSize())));
  w1_ = std::make_unique<DirectShowPlayer>(hwnd(), kGraphEvent);
  form_ = std::make_unique<PlayerForm>(*this, box_, *w1_, *this, ansi_);
  CreateControls();
  form_->Load();
  ::SetTimer(hwnd(), kRefreshTimer, kTimerInterval, nullptr);
  return true;
}

void PlayerWindow::ShowModeless() {
  if (!hwnd() && !CreateHidden())
    return;
  if (::IsIconic(hwnd())) {
    ::ShowWindow(hwnd(), SW_RESTORE);
  } else {
    ::ShowWindow(hwnd(), SW_SHOW);
  }
}

void PlayerWindow::CreateControls() {
  chrome_.Create(hwnd(), look::WindowChrome::Layout::TopRight(
                             common::ScreenDpi(), common::Scaled(kWidth),
                             common::Scaled(kHeight), look::BackgroundStyle::kStrip, 4));
  chrome_.on_close = [this] { form_->Close(); };
  chrome_.on_minimise = [this] { Minimise(); };
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  // Places and sizes in pixels of the usual display; the edges are scaled,
  // so that neighbours stay neighbours at every density.
  auto make = [&](int id, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w,
                  int h, HFONT font) {
    using common::Scaled;
    HWND control = ::CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, Scaled(x),
                                     Scaled(y), Scaled(x + w) - Scaled(x), Scaled(y + h) - Scaled(y),
                                     chrome_.picture(),
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                                     nullptr);
    if (font)
      ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
  };
  image1_ =
      make(kImage1, L"Static", L"", SS_ICON | SS_NOTIFY | SS_CENTERIMAGE, 8, 6, 20, 20, nullptr);
  ::SendMessageW(image1_, STM_SETICON, reinterpret_cast<WPARAM>(icon_), 0);
  label1_ = make(kLabel1, L"Static", L"Tunelet", SS_NOTIFY | SS_ENDELLIPSIS | SS_NOPREFIX, 32, 9,
                 240, 16, font_.get());
  // The component's control bar across the lower half.
  const int x0 = (kWidth - kBarWidth) / 2, y0 = kHeight - kBarHeight - 4;
  seek_ = make(kSeek, TRACKBAR_CLASSW, L"", TBS_HORZ | TBS_NOTICKS | TBS_BOTH | WS_TABSTOP, x0, y0,
               kBarWidth, 22, nullptr);
  ::SendMessageW(seek_, TBM_SETRANGE, TRUE, MAKELPARAM(0, 1000));
  play_ = make(kPlay, L"Button", L"播放", WS_TABSTOP, x0, y0 + 24, 52, 22, font_.get());
  stop_ = make(kStop, L"Button", L"停止", WS_TABSTOP, x0 + 56, y0 + 24, 44, 22, font_.get());
  volume_label_ = make(kVolumeLabel, L"Static", L"音量", 0, x0 + 108, y0 + 28, 28, 16, font_.get());
  volume_ = make(kVolume, TRACKBAR_CLASSW, L"", TBS_HORZ | TBS_NOTICKS | TBS_BOTH | WS_TABSTOP,
                 x0 + 136, y0 + 24, 84, 22, nullptr);
  ::SendMessageW(volume_, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
  ::SendMessageW(volume_, TBM_SETPOS, TRUE, w1_->volume());
  // Label5 lies over the right end of the control bar.
  label5_ = make(kLabel5, L"Static", L"", SS_RIGHT | SS_NOPREFIX, x0 + 222, y0 + 28,
                 kBarWidth - 222, 16, small_font_.get());

  tooltip_ = common::CreateTooltip(hwnd());
  common::AddTip(tooltip_, hwnd(), label1_, L"");

  // Drops on Label1 and Picture1; drag handles Image1, Label1, Picture1;
  // mouse movement over the background puts the buttons back (RS).
  for (HWND target : {label1_, chrome_.picture()})
    ::DragAcceptFiles(target, TRUE);
  for (HWND handle : {image1_, label1_, chrome_.picture()}) {
    const bool background = handle == chrome_.picture();
    const bool drop_target = handle != image1_;
    common::SubclassControl(
        handle, [this, background, drop_target](HWND, UINT message, WPARAM wparam, LPARAM,
                                                LRESULT* result) {
          if (message == WM_DROPFILES && drop_target) {
            OnDrop(reinterpret_cast<HDROP>(wparam));
            *result = 0;
            return true;
          }
          if (message == WM_LBUTTONDOWN) {
            look::DragWindow(hwnd());
            *result = 0;
            return true;
          }
          if (message == WM_MOUSEMOVE && background)
            chrome_.RS();
          return false;
        });
  }
}

void PlayerWindow::OnDrop(HDROP drop) {
  const std::vector<std::wstring> files = DroppedFiles(drop);
  ::DragFinish(drop);
  form_->Drop(files);
}

void PlayerWindow::UpdateControlBar() {
  const double duration = w1_->DurationSeconds();
  if (!seeking_) {
    const int at =
        duration > 0 ? static_cast<int>(std::lround(w1_->PositionSeconds() / duration * 1000)) : 0;
    ::SendMessageW(seek_, TBM_SETPOS, TRUE, at);
  }
  look::SetButtonCaption(play_, w1_->state() == kStatePlaying ? L"暂停" : L"播放");
}

LRESULT PlayerWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case kGraphEvent:
      w1_->HandleGraphEvents();
      return 0;
    case WM_TIMER:
      if (wparam == kSyncTimer)
        form_->SyncTick();
      if (wparam == kRefreshTimer) {
        form_->Refresh();
        UpdateControlBar();
      }
      if (wparam == kDeferredTimer)
        form_->DeferredRefresh();
      return 0;
    case WM_COMMAND: {
      const int id = LOWORD(wparam), code = HIWORD(wparam);
      (void)id;
      const HWND from = reinterpret_cast<HWND>(lparam);
      if ((from == label1_ || from == chrome_.picture()) && code == STN_DBLCLK) {
        Minimise();
      } else if (id == kPlay && code == BN_CLICKED) {
        if (w1_->state() == kStatePlaying) {
          w1_->Pause();
        } else {
          w1_->Play();
        }
        UpdateControlBar();
      } else if (id == kStop && code == BN_CLICKED) {
        w1_->Stop();
        UpdateControlBar();
      }
      return 0;
    }
    case WM_HSCROLL: {
      HWND bar = reinterpret_cast<HWND>(lparam);
      const int position = static_cast<int>(::SendMessageW(bar, TBM_GETPOS, 0, 0));
      if (bar == volume_) {
        w1_->SetVolume(position);
      } else if (bar == seek_) {
        seeking_ = LOWORD(wparam) == TB_THUMBTRACK;
        if (LOWORD(wparam) != TB_THUMBTRACK)
          w1_->Seek(w1_->DurationSeconds() * position / 1000.0);
      }
      return 0;
    }
    case WM_CTLCOLORSTATIC:
      return chrome_.TransparentControl(reinterpret_cast<HWND>(lparam),
                                        reinterpret_cast<HDC>(wparam), RGB(255, 255, 255));
    case WM_CLOSE:
      // However the window is closed, the command box gets its input row
      // and an empty lyric line back.
      form_->Close();
      return 0;
    case WM_NCDESTROY: {
      LRESULT result = Window::HandleMessage(message, wparam, lparam);
      w1_.reset();  // the component goes with the window
      if (form_)    // not when the window went while it was being made
        form_->Unloaded();
      if (on_destroyed)
        on_destroyed();
      return result;
    }
    default:
      break;
  }
  return Window::HandleMessage(message, wparam, lparam);
}

void PlayerWindow::SetNowPlaying(const std::wstring& text, const std::wstring& tooltip) {
  if (common::WindowText(label1_) != text) {
    ::SetWindowTextW(label1_, text.c_str());
    ::InvalidateRect(label1_, nullptr, TRUE);
  }
  tooltip_text_ = tooltip;
  TOOLINFOW info = {};
  info.cbSize = TTTOOLINFOW_V1_SIZE;
  info.uFlags = TTF_IDISHWND;
  info.hwnd = hwnd();
  info.uId = reinterpret_cast<UINT_PTR>(label1_);
  info.lpszText = tooltip_text_.data();
  ::SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

void PlayerWindow::SetPositionLine(const std::wstring& text) {
  if (common::WindowText(label5_) == text)
    return;
  ::SetWindowTextW(label5_, text.c_str());
  ::InvalidateRect(label5_, nullptr, TRUE);
}

void PlayerWindow::EnableSyncTimer(bool enabled) {
  // Switching on a running timer keeps its rhythm, as a timer control's
  // does. SetTimer would start it afresh, and the reloads of the lyrics at
  // 00:00 and 00:03, as often as it ticks, would keep it from ever ticking
  // in those seconds: their lines never showed.
  if (enabled == sync_timer_on_)
    return;
  sync_timer_on_ = enabled;
  if (enabled) {
    ::SetTimer(hwnd(), kSyncTimer, kTimerInterval, nullptr);
  } else {
    ::KillTimer(hwnd(), kSyncTimer);
  }
}

void PlayerWindow::EnableDeferredTimer(bool enabled) {
  if (enabled) {
    ::SetTimer(hwnd(), kDeferredTimer, kTimerInterval, nullptr);
  } else {
    ::KillTimer(hwnd(), kDeferredTimer);
  }
}

void PlayerWindow::SetAlpha(int alpha) {
  ::SetWindowLongW(hwnd(), GWL_EXSTYLE, ::GetWindowLongW(hwnd(), GWL_EXSTYLE) | WS_EX_LAYERED);
  ::SetLayeredWindowAttributes(hwnd(), 0, static_cast<BYTE>(alpha), LWA_ALPHA);
}

void PlayerWindow::Minimise() {
  ::ShowWindow(hwnd(), SW_MINIMIZE);
}

void PlayerWindow::DestroyWindow() {
  if (hwnd())
    ::DestroyWindow(hwnd());
}

bool PlayerWindow::Exists(const std::wstring& path) {
  if (path.find_first_of(L"*?") != std::wstring::npos)
    return false;
  WIN32_FIND_DATAW data;
  if (!common::OwnedFind(::FindFirstFileW(path.c_str(), &data)))
    return false;
  // A hidden or system lyric file is not found this way.
  return !(data.dwFileAttributes &
           (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

bool PlayerWindow::Read(const std::wstring& path, std::string* bytes) {
  FileSource file(path);
  if (!file.ok())
    return false;
  *bytes = file.Read(0, static_cast<size_t>(std::min<uint64_t>(file.Size(), kMaxLyricBytes)));
  return true;
}

}  // namespace player
