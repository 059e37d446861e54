#include "junk-cleaner/junk_cleaner.h"

namespace junkclean {

JunkCleaner::JunkCleaner(JunkCleanerView& view,
                         engine::FileSystem& files,
                         engine::DriveList& drives,
                         engine::ProcessList& processes)
    : ForwardingScanView(view),
      view_(view),
      engine_(flags_,
              files,
              drives,
              processes,
              *this,
              // The walk asks for every file: a box changed during a run
              // applies from the next file on.
              engine::JunkCleanerConfig(
                  [this](const std::wstring& path) { return slots_.Matches(path); })) {}

void JunkCleaner::Form_Load() {
  view_.EnableDebugPrivilege();
  view_.AttachSkins();
  SetBox(kSelectAll, true);
}

void JunkCleaner::SetBox(int box, bool ticked) {
  if (checks_[box] == ticked)
    return;
  checks_[box] = ticked;
  view_.SetCheck(box, ticked);
  RunHandler(box);
}

void JunkCleaner::CheckClicked(int box, bool ticked) {
  if (box < kFirstType || box > kSelectAll || checks_[box] == ticked)
    return;
  checks_[box] = ticked;
  RunHandler(box);
}

void JunkCleaner::RunHandler(int box) {
  if (box <= kLastType) {
    slots_.set(box, checks_[box] ? TypeOf(box).ending : L"");
    return;
  }
  if (box == kCustomBox) {
    if (checks_[box]) {
      view_.ShowHint(kHint);
      custom_enabled_ = true;
      view_.EnableCustomField(CustomField::kText1, true);
      view_.EnableCustomField(CustomField::kText27, true);
      SetCustom(CustomField::kText27, L"");
      SetCustom(CustomField::kText1, L"");
    } else {
      SetCustom(CustomField::kText27, L"");
      SetCustom(CustomField::kText1, L"");
      custom_enabled_ = false;
      view_.EnableCustomField(CustomField::kText1, false);
      view_.EnableCustomField(CustomField::kText27, false);
    }
    return;
  }
  // Select all: the 25 types one after the other; the custom endings stay.
  for (int type = kFirstType; type <= kLastType; ++type)
    SetBox(type, checks_[kSelectAll]);
}

// Sets both the field and the slot the walk compares with: at the start of
// a run, and when the custom box empties the fields (unticking it during a
// run stops the custom endings from the next file on, as for a type box).
void JunkCleaner::SetCustom(CustomField field, const std::wstring& text) {
  custom_text_[field == CustomField::kText1 ? 1 : 0] = text;
  slots_.set(field == CustomField::kText1 ? 1 : 27, text);
  view_.SetCustomText(field, text);
}

void JunkCleaner::CustomTextChanged(CustomField field, const std::wstring& text) {
  custom_text_[field == CustomField::kText1 ? 1 : 0] = text;
}

void JunkCleaner::cmdSearch_Click() {
  if (engine_.Running())
    return;
  SetCustom(CustomField::kText1, CutEnding(CustomText(CustomField::kText1)));
  SetCustom(CustomField::kText27, CutEnding(CustomText(CustomField::kText27)));
  engine_.RunScan();
}

void JunkCleaner::cmdStop_Click() {
  engine_.StopQuestion();
}

void JunkCleaner::cmdExit_Click() {
  view_.ExitProgram();
}

void JunkCleaner::Form_Unload() {
  view_.ExitProgram();
}

void JunkCleaner::EscapePressed() {
  if (cancel_ == Control::kStop)
    cmdStop_Click();
}

void JunkCleaner::SetAppState(bool ready) {
  cancel_ = engine::ApplyAppState(view_, view_, flags_, ready);
  view_.Focus(ready ? Control::kSearch : Control::kStop);
}

}  // namespace junkclean
