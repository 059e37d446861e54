// Form1, Tovrix's command box: the translucent, always-on-top strip with
// its input line, the lyric line, the notification icon, the About window
// and the music player. It implements the interpreter's host and the
// player's view of the command box.
#ifndef COMMAND_BOX_COMMAND_BOX_WINDOW_WIN_H_
#define COMMAND_BOX_COMMAND_BOX_WINDOW_WIN_H_

#include <functional>
#include <memory>

#include "command-box/command_box_fields.h"
#include "command-box/command_box_ports.h"
#include "command-box/default_browser_win.h"
#include "command-box/host_platform_win.h"
#include "command-box/installed_programs_win.h"
#include "command-box/interpreter.h"
#include "common/owned_win.h"
#include "common/window_win.h"
#include "music-player/player_form.h"
#include "music-player/player_window_win.h"
#include "tray/about_window_win.h"
#include "tray/tray_icon_win.h"
#include "tray/tray_presence.h"
#include "window-look/chrome_win.h"

namespace commandbox {

// The window's place and opacity at start-up, from "lnk.ini". Values that
// are not numbers, and a level that gives no opacity (below 0, from 256
// on), give the defaults; the opacity of a level is the one the "tm"
// command and the player give it (common::OpacityLevel).
struct StartupPlacement {
  int top_twips = 5700;
  int left_twips = 100;
  int alpha = 200;
};
StartupPlacement ReadStartupSettings(CommandBoxFields& fields,
                                     const common::SettingsFile& settings);

class CommandBoxWindow : public common::Window,
                         public CommandBoxHost,
                         public player::CommandBoxLink {
 public:
  // The client area in twips: 340 by 100 pixels on the usual display.
  static constexpr int kWidthTwips = 5100;
  static constexpr int kHeightTwips = 1500;
  static constexpr UINT_PTR kTopmostTimer = 2;
  static constexpr UINT kTopmostInterval = 5000;
  static constexpr wchar_t kCaption[] = L"Zirro Lnk V1.0";

  CommandBoxWindow();
  ~CommandBoxWindow() override;

  // The start-up: tray icon, skins, settings, position, opacity; then shown.
  bool Open();
  // The shut-down: icon, player, About window; then the window goes.
  void Shutdown();

  CommandBoxFields& fields() { return fields_; }
  Interpreter& interpreter() { return interpreter_; }
  tray::AboutWindow& about() { return *about_; }
  player::PlayerWindow* player_window() { return player_.get(); }
  look::WindowChrome& chrome() { return chrome_; }
  HWND text1() const { return text1_; }
  HWND command1() const { return command1_; }
  HWND label4() const { return label4_; }
  HWND label5() const { return label5_; }
  HWND image1() const { return image1_; }
  // The notification icon's record, and whether the shell has the icon.
  const tray::TrayIcon& tray_icon() const { return tray_icon_; }
  bool tray_icon_present() const { return presence_.present(); }
  // The notification area as the box reaches it: the shell (tray_icon),
  // or a test's stand-in in front of it, given before Open.
  void set_notify_area(tray::NotifyAreaPort* area) { presence_.set_area(area); }
  tray::TrayIcon& shell_tray_icon() { return tray_icon_; }

  // CommandBoxHost
  int WindowTopTwips() override;
  int WindowLeftTwips() override;
  void ShowInputText(const std::wstring& text) override;
  void FocusInput() override;
  void SetInputRowTop(int twips) override;
  void SetLyricLine(const std::wstring& text) override;
  void SetWindowAlpha(int alpha) override;
  void ShowAbout() override;
  void ShowMessage(const std::wstring& text, const std::wstring& title) override;
  void SignalFailure() override;
  PlayerPort& Player() override { return player_port_; }
  bool StartCommandLine(const std::wstring& command_line) override {
    return platform_.StartCommandLine(command_line);
  }
  std::wstring BrowserPrefix() override { return CurrentBrowserPrefix(); }
  bool StartCommandLineAndWait(const std::wstring& command_line, unsigned timeout_ms) override {
    return platform_.StartCommandLineAndWait(command_line, timeout_ms);
  }
  bool StartThroughShell(const std::wstring& target) override {
    return platform_.StartThroughShell(target);
  }
  ProgramLookupPort& Lookup() override { return platform_; }
  bool FileExists(const std::wstring& path) override { return platform_.FileExists(path); }
  bool RenameFile(const std::wstring& from, const std::wstring& to) override {
    return platform_.RenameFile(from, to);
  }
  bool WriteRunValue(const std::wstring& name, const std::wstring& data) override {
    return platform_.WriteRunValue(name, data);
  }
  bool DeleteRunValue(const std::wstring& name) override { return platform_.DeleteRunValue(name); }
  bool ReadRunValue(const std::wstring& name, std::wstring* data) override {
    return common::ReadRunValue(name, data);
  }
  common::ProgramPath Program() override { return platform_.Program(); }
  std::wstring WindowsFolder() override { return platform_.WindowsFolder(); }
  common::ProfilePort& Profile() override { return platform_.Profile(); }
  InstalledProgramsPort* InstalledPrograms() override { return &installed_programs_; }

  // player::CommandBoxLink
  std::wstring Text9() override { return fields_.Text9; }
  void SetText10(const std::wstring& value) override { fields_.Text10 = value; }

  bool PreTranslateMessage(MSG& msg) override;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  // The music player as the interpreter drives it.
  class PlayerAdapter : public PlayerPort {
   public:
    explicit PlayerAdapter(CommandBoxWindow& box) : box_(box) {}
    void Show() override;
    void EnsureCreated() override;
    void LoadLyrics(const std::wstring& stem) override;
    void ClearLyricList() override;
    void EnableDeferredRefresh() override;
    std::wstring URL() override;
    void SetURL(const std::wstring& url) override;
    std::wstring CurrentMediaInfo(const std::wstring& name) override;

   private:
    CommandBoxWindow& box_;
  };

  void CreateControls();
  // The player, created (hidden) when there is none; nullptr when its
  // window cannot be made.
  player::PlayerWindow* EnsurePlayer();
  void TrayRestore();
  // A later start of Tovrix asked for the box: the tray restore, and the
  // box brought to the front.
  void ShowForLaterStart();
  // A box on no monitor (its screen was unplugged, a remote session of
  // another size) moves onto the nearest one.
  void KeepOnScreen();
  // The shell's taskbar (re)started: the icon is added again.
  void OnTaskbarCreated();
  void MenuChosen(tray::MenuItem item);
  void OnDrop(HDROP drop);

  CommandBoxFields fields_;
  Win32HostPlatform platform_;
  Win32InstalledPrograms installed_programs_{[this] { return hwnd(); }};
  Interpreter interpreter_;
  PlayerAdapter player_port_{*this};
  std::unique_ptr<player::PlayerWindow> player_;
  std::unique_ptr<tray::AboutWindow> about_;
  look::WindowChrome chrome_;
  common::OwnedFont input_font_, title_font_, label_font_;
  HICON icon_ = nullptr;
  tray::TrayIcon tray_icon_;
  tray::TrayPresence presence_{&tray_icon_};
  UINT taskbar_created_ = 0;
  UINT show_box_ = 0;
  HWND image1_ = nullptr, label4_ = nullptr, label5_ = nullptr, text1_ = nullptr,
       command1_ = nullptr;
  bool shut_down_ = false;
};

}  // namespace commandbox

#endif  // COMMAND_BOX_COMMAND_BOX_WINDOW_WIN_H_
