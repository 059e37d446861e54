#include "temp-cleaner/temp_cleaner.h"

#include <algorithm>

#include "common/text_rules.h"
#include "temp-cleaner/recycle_script.h"

namespace tempclean {
namespace {

constexpr wchar_t kOption[] = L"Option";

// "0" and the empty text mean off; anything else on.
bool IsOn(const std::wstring& value) {
  return !value.empty() && value != L"0";
}

}  // namespace

TempCleaner::TempCleaner(TempCleanerView& view,
                         TempCleanerSystem& system,
                         engine::FileSystem& files,
                         engine::DriveList& drives,
                         engine::ProcessList& processes)
    : ForwardingScanView(view),
      view_(view),
      system_(system),
      files_(files),
      drives_(drives),
      settings_(system.Profile(), [] { return std::wstring(kSettingsFile); }),
      engine_(flags_, files, drives, processes, *this, MakeEngineConfig()) {
  text_[7] = L"版本号";
}

engine::EngineConfig TempCleaner::MakeEngineConfig() {
  engine::EngineConfig config = engine::TempCleanerConfig([this] {
    if (checks_[kRecycleBinBox] && !IsNewerFamily(system_.WindowsVersion()))
      WriteRecycleScript();
  });
  config.on_end = [this] { EmptyRecycleBins(); };
  config.after_folders = [this] { CleanBrowsers(); };
  config.summary_note = [this] {
    const std::wstring running = RunningBrowsersNote(running_browsers_);
    const std::wstring linked = NotFollowedNote(not_followed_);
    return running.empty() || linked.empty() ? running + linked : running + L"\n" + linked;
  };
  config.start_folder_test = [this](const std::wstring& folder) {
    return !guard_ || guard_->MayEmpty(folder);
  };
  return config;
}

void TempCleaner::Form_Load() {
  view_.AttachSkins();
  view_.EnableTimer1(true);
}

void TempCleaner::Timer1_Timer() {
  if (timer_busy_ || timer_done_)
    return;
  timer_busy_ = true;
  // One shot: off before anything can yield.
  view_.EnableTimer1(false);

  system_.EnableDebugPrivilege();
  text_[7] = system_.WindowsVersion();
  text_[9] = settings_.ReadSetting(kOption, L"auto");
  text_[10] = settings_.ReadSetting(kOption, L"run");
  for (int i = 0; i < kCategoryCount; ++i)
    text_[11 + i] = settings_.ReadSetting(kOption, CategoryInfo(i).settings_key);
  // The boxes restored here and the automatic run all ask for the user's
  // folders within a moment: the shell is asked once for all of them.
  folders_ = system_.ShellFolders();
  for (int i = 0; i < kCategoryCount; ++i)
    if (IsOn(text_[11 + i]))
      SetBox(kRecycleBinBox + i, true);
  if (IsOn(text_[9])) {
    SetBox(kAutoCleanBox, true);
    if (searching_) {
      automatic_run_waiting_ = true;
    } else {
      cmdSearch_Click();  // the whole run, summary included, happens here
    }
  }
  if (IsOn(text_[10]))
    SetBox(kAutoStartBox, true);
  folders_.reset();

  view_.EnableTimer1(false);
  timer_done_ = true;
  timer_busy_ = false;
}

void TempCleaner::SetBox(int box, bool ticked) {
  if (checks_[box] == ticked)
    return;
  checks_[box] = ticked;
  view_.SetCheck(box, ticked);
  RunHandler(box);
}

void TempCleaner::CheckClicked(int box, bool ticked) {
  if (box < 1 || box > 8 || checks_[box] == ticked)
    return;
  checks_[box] = ticked;
  RunHandler(box);
}

void TempCleaner::RunHandler(int box) {
  if (box <= kCategoryCount) {
    CategoryClick(box - 1);
  } else if (box == 7) {
    Check7_Click();
  } else {
    Check8_Click();
  }
}

void TempCleaner::CategoryClick(int index) {
  if (checks_[index + 1]) {
    ListInputs inputs;
    inputs.windows_folder = system_.WindowsFolder();
    inputs.user_name = system_.UserName();
    inputs.system_root = common::LeftChars(system_.SystemFolder(), 3);
    // The family of the Windows that runs, also before the start-up work
    // has filled Text7: on Vista and later the older family's folders are
    // junctions, and its recycle-bin script would end the desktop shell.
    inputs.version = system_.WindowsVersion();
    if (IsNewerFamily(inputs.version)) {
      if (index == 0) {
        const std::wstring sid = system_.UserSid();
        if (!sid.empty())
          for (const std::wstring& root : FixedDriveRoots())
            inputs.recycle_bins.push_back(root + L"$Recycle.Bin\\" + sid);
      } else {
        inputs.folders = UsersFolders();
      }
    }
    text_[1 + index] = FolderList(index, inputs);
    text_[11 + index] = L"1";
  } else {
    text_[1 + index] = L"";
    text_[11 + index] = L"0";
  }
  settings_.WriteSetting(kOption, CategoryInfo(index).settings_key, text_[11 + index]);
}

void TempCleaner::Check7_Click() {
  if (checks_[kAutoCleanBox]) {
    text_[9] = L"1";
  } else {
    text_[9] = L"0";
    // Without automatic cleaning there is no start with Windows either.
    SetBox(kAutoStartBox, false);
  }
  settings_.WriteSetting(kOption, L"auto", text_[9]);
}

void TempCleaner::Check8_Click() {
  if (checks_[kAutoStartBox]) {
    system_.WriteRunValue(kRunValue, common::RunValueData(system_.Program()));
    text_[10] = L"1";
    // Start with Windows implies cleaning after the start.
    SetBox(kAutoCleanBox, true);
  } else {
    text_[10] = L"0";
    // A value that something else removed already is no error.
    system_.DeleteRunValue(kRunValue);
  }
  settings_.WriteSetting(kOption, L"run", text_[10]);
}

void TempCleaner::Label4_Click() {
  if (checks_[kAutoStartBox]) {
    SetBox(kAutoStartBox, false);
  } else {
    SetBox(kAutoStartBox, true);
    SetBox(kAutoCleanBox, true);
  }
}

void TempCleaner::Label5_Click() {
  SetBox(kAutoCleanBox, !checks_[kAutoCleanBox]);
}

void TempCleaner::cmdSearch_Click() {
  if (searching_)
    return;
  searching_ = true;
  SearchOnce();
  while (automatic_run_waiting_) {
    automatic_run_waiting_ = false;
    SearchOnce();
  }
  searching_ = false;
}

void TempCleaner::SearchOnce() {
  const std::wstring lists[kCategoryCount] = {text_[1], text_[2], text_[3],
                                              text_[4], text_[5], text_[6]};
  textPath_ = JoinTarget(lists);
  view_.SetTargetText(textPath_);
  if (textPath_.empty()) {
    view_.ShowMessage(L"请选择要清理的选项", L"提示：", common::MessageIcon::kInformation,
                      common::MessageButtons::kOk);
    return;
  }
  run_folders_ = UsersFolders();
  guard_.emplace(system_, KeptFolders(*run_folders_));
  run_cookies_ = checks_[kCookiesBox];
  run_cache_ = checks_[kCacheBox];
  run_history_ = checks_[kHistoryBox];
  running_browsers_.clear();
  not_followed_.clear();
  engine_.RunScan();
  guard_.reset();
  run_folders_.reset();
}

// Each browser's lock is asked right before its files: a browser that runs
// keeps its databases open (their sets then fail whole), but not its cache
// files, which delete fine under it and leave it confused; so a lock that
// is held leaves everything it covers as it is. No browser is ended.
void TempCleaner::CleanBrowsers() {
  if (!run_folders_ || !(run_cookies_ || run_cache_ || run_history_))
    return;
  const std::vector<BrowserData> found = FindBrowserData(
      files_, system_, run_folders_->local_app_data, run_folders_->app_data, &not_followed_);
  for (const BrowserData& data : found) {
    if (engine_.Stopping())
      return;
    const bool wanted =
        (run_cookies_ && !data.cookie_sets.empty()) ||
        (run_cache_ && !data.cache_folders.empty()) ||
        (run_history_ && (!data.history_sets.empty() || !data.history_folders.empty()));
    if (!wanted)
      continue;
    if (system_.LockHeld(data.lock)) {
      if (std::find(running_browsers_.begin(), running_browsers_.end(), data.name) ==
          running_browsers_.end())
        running_browsers_.push_back(data.name);
      continue;
    }
    if (run_cookies_)
      for (const auto& set : data.cookie_sets)
        engine_.DeleteFileSet(set);
    if (run_cache_)
      for (const std::wstring& folder : data.cache_folders)
        engine_.CleanFolder(folder);
    if (run_history_) {
      for (const auto& set : data.history_sets)
        engine_.DeleteFileSet(set);
      for (const std::wstring& folder : data.history_folders)
        engine_.CleanFolder(folder);
    }
  }
}

std::wstring TempCleaner::BoxTip(int box) {
  const UserFolders user = UsersFolders();
  const std::vector<std::wstring> names =
      BrowserNames(FindBrowserData(files_, system_, user.local_app_data, user.app_data));
  return box == kCookiesBox ? CookiesTip(names) : CacheTip(names);
}

std::vector<std::wstring> TempCleaner::KeptFolders(const UserFolders& user) {
  std::vector<std::wstring> kept = {system_.WindowsFolder(), system_.SystemFolder(),
                                    user.profile,            user.local_app_data,
                                    user.app_data,           user.documents,
                                    user.desktop,            user.program_data};
  kept.insert(kept.end(), user.program_files.begin(), user.program_files.end());
  return kept;
}

UserFolders TempCleaner::UsersFolders() {
  return folders_ ? *folders_ : system_.ShellFolders();
}

std::vector<std::wstring> TempCleaner::FixedDriveRoots() {
  std::vector<std::wstring> fixed;
  for (const std::wstring& root : engine::DriveRoots(drives_))
    if (drives_.DriveType(root) == engine::kDriveFixed)
      fixed.push_back(root);
  return fixed;
}

void TempCleaner::cmdStop_Click() {
  engine_.StopQuestion();
}

void TempCleaner::cmdExit_Click() {
  view_.ExitProgram();
}

void TempCleaner::Form_Unload() {
  view_.ExitProgram();
}

void TempCleaner::EscapePressed() {
  if (cancel_ == Control::kStop)
    cmdStop_Click();
}

// The focus follows the state: disabling the focused cmdSearch would leave
// no focus window, and Escape would then arrive as a system key nobody
// handles, during the run and after it.
void TempCleaner::SetAppState(bool ready) {
  cancel_ = engine::ApplyAppState(view_, view_, flags_, ready);
  view_.Focus(ready ? Control::kSearch : Control::kStop);
}

// From Vista on, at the end of every run with Check1 ticked: the walk has
// emptied the user's own recycle-bin folders file by file; the shell's own
// function then removes what the walk leaves (the folders, the bin's
// records, the kinds the walk keeps, which in a recycle bin are deleted
// files like any other) and shows the bin empty, with no need to end the
// desktop shell. Windows XP gets its script instead, when the run found
// something. After a confirmed stop nothing more is deleted.
//
// The space freed counts what the shell held in each bin before and no
// longer holds after: a bin the shell could not empty frees nothing, and
// the files the walk deleted already are counted once, by their rows.
// The script of Windows XP runs after the summary and counts nothing.
void TempCleaner::EmptyRecycleBins() {
  if (!checks_[kRecycleBinBox] || flags_.stopRequested || !IsNewerFamily(system_.WindowsVersion()))
    return;
  for (const std::wstring& root : FixedDriveRoots()) {
    const uint64_t before = system_.RecycleBinBytes(root);
    system_.EmptyRecycleBin(root);
    const uint64_t after = system_.RecycleBinBytes(root);
    if (after < before)
      engine_.AddFreed(before - after);
  }
}

void TempCleaner::WriteRecycleScript() {
  // Nothing is reported: the summary follows in any case. The script is
  // written to and started from the working directory, and its last line,
  // "del RECYCLER.bat", removes it from there. Started from the Run key, the
  // program works in the system folder, which a standard user cannot write:
  // then the user's temporary folder takes its place, the script starts
  // there the same way, and its last line finds it all the same.
  const std::wstring text = RecycleScriptText();
  if (system_.WriteScript(kScriptName, text)) {
    system_.StartScriptHidden(kScriptName, L"");
    return;
  }
  const std::wstring temp = system_.TempFolder();
  if (!temp.empty() && system_.WriteScript(common::JoinPath(temp, kScriptName), text))
    system_.StartScriptHidden(kScriptName, temp);
}

}  // namespace tempclean
