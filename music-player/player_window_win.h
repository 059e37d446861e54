// Form2, the music player window: the background with its title, the
// now-playing and position lines, the component's control bar (play and
// pause, stop, a seek bar and a volume bar), drops, and the three timers.
// A humble view of PlayerForm.
#ifndef MUSIC_PLAYER_PLAYER_WINDOW_WIN_H_
#define MUSIC_PLAYER_PLAYER_WINDOW_WIN_H_

#include <functional>
#include <memory>

#include "common/owned_win.h"
#include "common/platform_win.h"
#include "common/window_win.h"
#include "music-player/dshow_player_win.h"
#include "music-player/player_form.h"
#include "window-look/chrome_win.h"

namespace player {

class PlayerWindow : public common::Window, public PlayerFormView, public LyricFiles {
 public:
  static constexpr int kWidth = 340;
  static constexpr int kHeight = 100;
  static constexpr int kBarWidth = 321;
  static constexpr int kBarHeight = 48;

  explicit PlayerWindow(CommandBoxLink& box);
  ~PlayerWindow() override;

  // Creation runs the load steps; the window is not shown.
  bool CreateHidden();
  void ShowModeless();

  PlayerForm& logic() { return *form_; }
  DirectShowPlayer& w1() { return *w1_; }
  // Called when the window is gone (closed by its button, or destroyed).
  std::function<void()> on_destroyed;

  HWND label1() const { return label1_; }
  HWND label5() const { return label5_; }
  HWND play_button() const { return play_; }
  HWND stop_button() const { return stop_; }
  HWND seek_bar() const { return seek_; }
  HWND volume_bar() const { return volume_; }
  look::WindowChrome& chrome() { return chrome_; }
  std::wstring Tooltip() const { return tooltip_text_; }

  // PlayerFormView
  void SetNowPlaying(const std::wstring& text, const std::wstring& tooltip) override;
  void SetPositionLine(const std::wstring& text) override;
  void EnableSyncTimer(bool enabled) override;
  void EnableDeferredTimer(bool enabled) override;
  void SetAlpha(int alpha) override;
  void Minimise() override;
  void DestroyWindow() override;

  // LyricFiles
  bool Exists(const std::wstring& path) override;
  bool Read(const std::wstring& path, std::string* bytes) override;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void CreateControls();
  void UpdateControlBar();
  void OnDrop(HDROP drop);

  CommandBoxLink& box_;
  common::AnsiCodePage ansi_;
  std::unique_ptr<DirectShowPlayer> w1_;
  std::unique_ptr<PlayerForm> form_;
  look::WindowChrome chrome_;
  common::OwnedFont font_, small_font_;
  HICON icon_ = nullptr;
  HWND image1_ = nullptr, label1_ = nullptr, label5_ = nullptr, tooltip_ = nullptr;
  HWND play_ = nullptr, stop_ = nullptr, seek_ = nullptr, volume_ = nullptr,
       volume_label_ = nullptr;
  std::wstring tooltip_text_;
  bool seeking_ = false;  // the user holds the seek bar's thumb
  bool sync_timer_on_ = false;  // Timer1
};

}  // namespace player

#endif  // MUSIC_PLAYER_PLAYER_WINDOW_WIN_H_
