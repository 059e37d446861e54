// tmpsweep's main window frmMain: the controls, and the wiring of their
// events to the window logic (TempCleaner). A humble view: everything it
// decides is in temp_cleaner.cpp.
#ifndef TEMP_CLEANER_TEMP_CLEANER_WINDOW_WIN_H_
#define TEMP_CLEANER_TEMP_CLEANER_WINDOW_WIN_H_

#include <functional>
#include <memory>

#include "cleaner-engine/cleaner_window_win.h"
#include "cleaner-engine/engine_ports_win.h"
#include "common/platform_win.h"
#include "common/window_win.h"
#include "temp-cleaner/temp_cleaner.h"
#include "window-look/chrome_win.h"

namespace tempclean {

// The system as tmpsweep sees it, over the Win32 API.
class Win32TempCleanerSystem : public TempCleanerSystem {
 public:
  bool EnableDebugPrivilege() override;
  std::wstring WindowsVersion() override;
  std::wstring WindowsFolder() override;
  std::wstring UserName() override;
  std::wstring SystemFolder() override;
  common::ProfilePort& Profile() override { return profile_; }
  bool WriteRunValue(const std::wstring& name, const std::wstring& data) override;
  bool DeleteRunValue(const std::wstring& name) override;
  common::ProgramPath Program() override;
  bool WriteScript(const std::wstring& path, const std::wstring& text) override;
  bool StartScriptHidden(const std::wstring& name, const std::wstring& folder) override;
  std::wstring TempFolder() override;
  UserFolders ShellFolders() override;
  std::wstring UserSid() override;
  bool EmptyRecycleBin(const std::wstring& root) override;
  uint64_t RecycleBinBytes(const std::wstring& root) override;
  std::wstring FullPath(const std::wstring& path) override;
  std::optional<FolderIdentity> Identity(const std::wstring& path) override;
  std::optional<std::string> ReadSmallFile(const std::wstring& path, size_t max_bytes) override;
  bool LockHeld(const std::wstring& path) override;
  std::optional<std::wstring> LinkTarget(const std::wstring& path) override;
  unsigned DriveType(const std::wstring& root) override;

 private:
  common::Win32SettingsProfile profile_;
};

class TempCleanerWindow : public engine::CleanerWindow, public TempCleanerView {
 public:
  static constexpr int kWidth = 680;
  static constexpr int kHeight = 470;

  explicit TempCleanerWindow(TempCleanerSystem& system);

  // Creates the window and its controls, runs Form_Load and shows it.
  bool Open();

  TempCleaner& logic() { return logic_; }

  // Controls, for tests and accessibility checks.
  HWND check(int box) const { return checks_[box]; }
  HWND label(int n) const { return n == 3 ? title() : (n == 4 ? label4_ : label5_); }
  HWND frame() const { return frame_; }
  HWND tooltip() const { return tooltip_; }

  // TempCleanerView
  void SetCheck(int box, bool ticked) override;
  void SetTargetText(const std::wstring& text) override;
  void EnableTimer1(bool enabled) override;
  void AttachSkins() override;
  void Focus(Control control) override { FocusControl(control); }
  void ExitProgram() override { EndProgram(); }

 protected:
  void OnCommand(int id, int code, HWND control) override;
  void OnEscape() override { logic_.EscapePressed(); }
  void OnCloseRequest() override { logic_.Form_Unload(); }
  bool OnMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) override;

 private:
  void CreateControls();
  void CreateTips();

  engine::Win32FileSystem files_;
  engine::Win32DriveList drives_;
  engine::Win32ProcessList processes_;
  TempCleaner logic_;
  HWND checks_[9] = {};
  HWND label4_ = nullptr, label5_ = nullptr, frame_ = nullptr, tooltip_ = nullptr;
  std::wstring tip_;  // the box tip the tooltip shows now
};

}  // namespace tempclean

#endif  // TEMP_CLEANER_TEMP_CLEANER_WINDOW_WIN_H_
