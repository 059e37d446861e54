// junksweep's window logic (frmMain): the type boxes, the custom endings,
// select-all, the whole-disk runs and the ready/busy state. The Win32
// window is a humble view of this.
#ifndef JUNK_CLEANER_JUNK_CLEANER_H_
#define JUNK_CLEANER_JUNK_CLEANER_H_

#include "common/no_yield_macro.h"

#include <string>

#include "cleaner-engine/engine_ports.h"
#include "cleaner-engine/scan_engine.h"
#include "junk-cleaner/junk_catalogue.h"

namespace junkclean {

using Control = engine::CleanerControl;
// The two custom-ending fields: Text27 (left) and Text1 (right).
enum class CustomField { kText27, kText1 };

// What the window shows and does, besides the run's display and the
// ready/busy switches.
class JunkCleanerView : public virtual engine::RunDisplay, public virtual engine::CleanerButtons {
 public:
  // Check2 .. Check28; shows the state, raises no event.
  virtual void SetCheck(int box, bool ticked) = 0;
  virtual void SetCustomText(CustomField field, const std::wstring& text) = 0;
  virtual void EnableCustomField(CustomField field, bool enabled) = 0;
  virtual void Focus(Control control) = 0;
  virtual void AttachSkins() = 0;
  virtual bool EnableDebugPrivilege() = 0;
  virtual void ExitProgram() = 0;
  // A message box with an OK button, no icon and the program's own title.
  virtual void ShowHint(const std::wstring& text) = 0;
};

class JunkCleaner : public engine::ForwardingScanView {
 public:
  static constexpr wchar_t kHint[] = L"无须输入*号，可直接输入点后缀名，例如： .exe .mp3 等等！";

  JunkCleaner(JunkCleanerView& view,
              engine::FileSystem& files,
              engine::DriveList& drives,
              engine::ProcessList& processes);

  void Form_Load();
  // The user clicked Check2 .. Check28; the box already shows its new state.
  void CheckClicked(int box, bool ticked);
  // The user changed a custom field. The walk uses the endings cut at the
  // start of a run; text typed during a run stays in the field and takes
  // effect at the next run (a half-typed ".docx" would otherwise delete
  // every ".doc" met meanwhile).
  void CustomTextChanged(CustomField field, const std::wstring& text);
  void cmdSearch_Click();
  void cmdStop_Click();
  void cmdExit_Click();
  void Form_Unload();
  // Escape stands for the cancel button: cmdStop during a run asks the
  // stop question; in the ready state (the invisible cmdExit) it does
  // nothing, so the rows of the last run stay readable.
  void EscapePressed();

  // engine::ScanView
  void SetAppState(bool ready) override;
  std::wstring TargetText() override { return engine::kWholeDiskTarget; }

  bool Checked(int box) const { return checks_[box]; }
  // What a custom field holds (the slot the walk uses is set from it at the
  // start of each run).
  const std::wstring& CustomText(CustomField field) const {
    return custom_text_[field == CustomField::kText1 ? 1 : 0];
  }
  const SuffixSlots& slots() const { return slots_; }
  bool CustomEnabled() const { return custom_enabled_; }
  Control cancel_button() const { return cancel_; }
  const engine::EngineFlags& flags() const { return flags_; }

 private:
  void SetBox(int box, bool ticked);
  void RunHandler(int box);
  void SetCustom(CustomField field, const std::wstring& text);

  JunkCleanerView& view_;
  bool checks_[29] = {};
  SuffixSlots slots_;
  std::wstring custom_text_[2];  // Text27, Text1
  bool custom_enabled_ = false;
  Control cancel_ = Control::kExit;
  engine::EngineFlags flags_;
  engine::ScanEngine engine_;
};

}  // namespace junkclean

#endif  // JUNK_CLEANER_JUNK_CLEANER_H_
