// junksweep's main window frmMain: the junk type boxes, the two custom
// fields and select-all over the shared cleaner frame; a humble view of
// JunkCleaner.
#ifndef JUNK_CLEANER_JUNK_CLEANER_WINDOW_WIN_H_
#define JUNK_CLEANER_JUNK_CLEANER_WINDOW_WIN_H_

#include "cleaner-engine/cleaner_window_win.h"
#include "cleaner-engine/engine_ports_win.h"
#include "junk-cleaner/junk_cleaner.h"

namespace junkclean {

// The title of the program's own message boxes (the hint of "自定义：").
inline constexpr wchar_t kProgramTitle[] = L"junksweep";

class JunkCleanerWindow : public engine::CleanerWindow, public JunkCleanerView {
 public:
  static constexpr int kWidth = 680;
  static constexpr int kHeight = 480;

  JunkCleanerWindow();

  // Creates the window and its controls, runs Form_Load and shows it.
  bool Open();

  JunkCleaner& logic() { return logic_; }
  HWND check(int box) const { return checks_[box]; }
  HWND custom(CustomField field) const { return field == CustomField::kText1 ? text1_ : text27_; }
  HWND frame() const { return frame_; }

  // JunkCleanerView
  void SetCheck(int box, bool ticked) override;
  void SetCustomText(CustomField field, const std::wstring& text) override;
  void EnableCustomField(CustomField field, bool enabled) override;
  void Focus(Control control) override { FocusControl(control); }
  void AttachSkins() override;
  bool EnableDebugPrivilege() override { return engine::EnableDebugPrivilege(); }
  void ExitProgram() override { EndProgram(); }
  void ShowHint(const std::wstring& text) override;

 protected:
  void OnCommand(int id, int code, HWND control) override;
  void OnEscape() override { logic_.EscapePressed(); }
  void OnCloseRequest() override { logic_.Form_Unload(); }

 private:
  void CreateControls();

  engine::Win32FileSystem files_;
  engine::Win32DriveList drives_;
  engine::Win32ProcessList processes_;
  JunkCleaner logic_;
  HWND checks_[29] = {};
  HWND text1_ = nullptr, text27_ = nullptr, frame_ = nullptr;
  // True while the window itself puts text into a custom field.
  bool setting_text_ = false;
};

}  // namespace junkclean

#endif  // JUNK_CLEANER_JUNK_CLEANER_WINDOW_WIN_H_
