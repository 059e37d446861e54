// tmpsweep's window logic (frmMain): the start-up work, the category and
// option boxes with their cascades, the settings file "qz64temp.ini",
// start with Windows, the runs and the ready/busy state. The Win32 window
// is a humble view of this.
#ifndef TEMP_CLEANER_TEMP_CLEANER_H_
#define TEMP_CLEANER_TEMP_CLEANER_H_

#include <optional>
#include <string>
#include <vector>
#include "common/no_yield_macro.h"

#include "cleaner-engine/engine_ports.h"
#include "cleaner-engine/scan_engine.h"
#include "common/program_path.h"
#include "common/settings.h"
#include "temp-cleaner/browsers.h"
#include "temp-cleaner/categories.h"
#include "temp-cleaner/folder_guard.h"

namespace tempclean {

using Control = engine::CleanerControl;

// What the window shows and does, besides the run's display and the
// ready/busy switches.
class TempCleanerView : public virtual engine::RunDisplay, public virtual engine::CleanerButtons {
 public:
  // Check1 .. Check8; shows the state, raises no event.
  virtual void SetCheck(int box, bool ticked) = 0;
  virtual void SetTargetText(const std::wstring& text) = 0;
  // The one-shot start-up timer (2,000 ms).
  virtual void EnableTimer1(bool enabled) = 0;
  virtual void AttachSkins() = 0;
  // Gives a control the keyboard focus.
  virtual void Focus(Control control) = 0;
  // Ends the program at once, also in the middle of a run.
  virtual void ExitProgram() = 0;
};

// What tmpsweep needs of the system; FolderFacts for the folders a run may
// empty, BrowserSystem for the browsers' profiles.
class TempCleanerSystem : public FolderFacts, public BrowserSystem {
 public:
  virtual bool EnableDebugPrivilege() = 0;
  // "major.minor" of the running Windows.
  virtual std::wstring WindowsVersion() = 0;
  virtual std::wstring WindowsFolder() = 0;  // "windir"
  virtual std::wstring UserName() = 0;
  virtual std::wstring SystemFolder() = 0;
  virtual common::ProfilePort& Profile() = 0;
  virtual bool WriteRunValue(const std::wstring& name, const std::wstring& data) = 0;
  virtual bool DeleteRunValue(const std::wstring& name) = 0;
  virtual common::ProgramPath Program() = 0;
  // Writes a script in the ANSI code page, replacing an existing one; a
  // bare name is a file of the current working directory. False when it
  // cannot be written.
  virtual bool WriteScript(const std::wstring& path, const std::wstring& text) = 0;
  // Starts a script of `folder` by its name, with a hidden window and that
  // folder as its working directory ("": ours), without waiting.
  virtual bool StartScriptHidden(const std::wstring& name, const std::wstring& folder) = 0;
  // The user's folder for temporary files; "" when unknown.
  virtual std::wstring TempFolder() = 0;
  // The logged-on user's folders, as the shell names them.
  virtual UserFolders ShellFolders() = 0;
  // The logged-on user's security identifier ("S-1-5-21-..."); "" when
  // unknown.
  virtual std::wstring UserSid() = 0;
  // Tells the shell that the user's recycle bin on a drive ("C:") is to be
  // empty, through its own function, without asking, showing progress or a
  // sound; the desktop's bin then shows empty.
  virtual bool EmptyRecycleBin(const std::wstring& root) = 0;
  // The bytes the shell counts in the user's recycle bin on a drive ("C:\");
  // 0 when it cannot tell.
  virtual uint64_t RecycleBinBytes(const std::wstring& root) = 0;
};

// The check boxes by their numbers (Check1..Check8): the six categories in
// their order, then the two options. Check6 (the history) exists but is
// never shown.
enum Box : int {
  kRecycleBinBox = 1,
  kTempBox,
  kCookiesBox,
  kRecentBox,
  kCacheBox,
  kHistoryBox,
  kAutoCleanBox,  // "删除文件", labelled "自动清理"
  kAutoStartBox,  // "开机启动"
};
// The boxes whose tip names the browsers found on this machine.
constexpr int kBrowserTipBoxes[] = {kCookiesBox, kCacheBox};

class TempCleaner : public engine::ForwardingScanView {
 public:
  static constexpr unsigned kTimer1Interval = 2000;  // ms
  static constexpr wchar_t kSettingsFile[] = L"qz64temp.ini";
  static constexpr wchar_t kRunValue[] = L"AutoQz64";

  TempCleaner(TempCleanerView& view,
              TempCleanerSystem& system,
              engine::FileSystem& files,
              engine::DriveList& drives,
              engine::ProcessList& processes);

  void Form_Load();
  // The start-up work. When the timer fires while cmdSearch_Click is in
  // progress (the user started a run at once, or its refusal box is open),
  // everything but the automatic run happens now; the automatic run waits
  // and starts right after the user's run (or the refusal box) has ended,
  // so that two runs never share the window.
  void Timer1_Timer();
  // The user clicked Check1 .. Check8; the box already shows its new state.
  void CheckClicked(int box, bool ticked);
  void Label4_Click();
  void Label5_Click();
  // Starts a run; never inside another one.
  void cmdSearch_Click();
  void cmdStop_Click();
  void cmdExit_Click();
  void Form_Unload();
  // The Escape key: it stands for the cancel button. During a run that is
  // cmdStop, which asks the stop question. In the ready state it is the
  // invisible cmdExit, and Escape does nothing: the rows of the last run
  // stay readable, and the close button ends the program.
  void EscapePressed();
  // The tip of the Cookies box and the cache box (kBrowserTipBoxes):
  // Internet Explorer and the browsers found here now.
  std::wstring BoxTip(int box);

  // engine::ScanView
  void SetAppState(bool ready) override;
  std::wstring TargetText() override { return textPath_; }

  // State, for the window and for tests.
  bool Checked(int box) const { return checks_[box]; }
  // Text1 .. Text16 (Text8 is unused).
  const std::wstring& Text(int n) const { return text_[n]; }
  const std::wstring& textPath() const { return textPath_; }
  Control cancel_button() const { return cancel_; }
  const engine::EngineFlags& flags() const { return flags_; }

 private:
  // Code sets a box: a change runs the box's handler, as a click would.
  void SetBox(int box, bool ticked);
  void RunHandler(int box);
  void CategoryClick(int index);
  void Check7_Click();
  void Check8_Click();
  engine::EngineConfig MakeEngineConfig();
  void EmptyRecycleBins();
  void WriteRecycleScript();
  void SearchOnce();
  // The browsers' cookies, caches and histories for the browser boxes of
  // the run, after Internet Explorer's folders; a browser that runs is
  // left as it is and named in the summary.
  void CleanBrowsers();
  // The folders no run may empty, with everything above them.
  std::vector<std::wstring> KeptFolders(const UserFolders& user);
  std::vector<std::wstring> FixedDriveRoots();
  // The user's folders as the shell names them now, or as it named them at
  // the start of the start-up work while that runs.
  UserFolders UsersFolders();

  TempCleanerView& view_;
  TempCleanerSystem& system_;
  engine::FileSystem& files_;
  engine::DriveList& drives_;
  common::SettingsFile settings_;
  // Text1..Text6 folder lists, Text7 version, Text9/Text10 option states,
  // Text11..Text16 category states; index 0 and 8 unused.
  std::wstring text_[17];
  bool checks_[9] = {};
  std::wstring textPath_;
  Control cancel_ = Control::kExit;
  // True while Timer1's start-up work runs; a long automatic run yields,
  // and the work must not start again meanwhile.
  bool timer_busy_ = false;
  bool timer_done_ = false;
  // True from the click on cmdSearch until its run (or refusal) has ended.
  bool searching_ = false;
  // The start-up work found "auto" on while a run was in progress.
  bool automatic_run_waiting_ = false;
  engine::EngineFlags flags_;
  // Made afresh for each run.
  std::optional<FolderGuard> guard_;
  // The run's user folders, and its browser boxes (Check3, Check5, Check6)
  // as they were at its start: a box changed during a run counts from the
  // next one, as its folder list does.
  std::optional<UserFolders> run_folders_;
  bool run_cookies_ = false, run_cache_ = false, run_history_ = false;
  // The browsers a run left alone because they were running.
  std::vector<std::wstring> running_browsers_;
  // The browsers whose data folder is a link the run did not follow.
  std::vector<std::wstring> not_followed_;
  std::optional<UserFolders> folders_;  // while the start-up work runs
  engine::ScanEngine engine_;
};

}  // namespace tempclean

#endif  // TEMP_CLEANER_TEMP_CLEANER_H_
