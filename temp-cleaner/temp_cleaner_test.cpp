#include "temp-cleaner/temp_cleaner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "temp-cleaner/recycle_script.h"
#include "testing/fake_engine_ports.h"
#include "testing/fake_profile.h"
#include "testing/iconv_code_page.h"
#include "testing/list_text.h"

namespace tempclean {
namespace {

using testing_support::FakeDriveList;
using testing_support::FakeFileSystem;
using testing_support::FakeProcessList;
using testing_support::FakeProfile;

using testing_support::Split;

TEST(RecycleScriptTest, EighteenLinesOf512GbkBytes) {
  const std::wstring text = RecycleScriptText();
  size_t lines = 0;
  for (size_t at = 0; (at = text.find(L"\r\n", at)) != std::wstring::npos; at += 2)
    ++lines;
  EXPECT_EQ(lines, 18u);
  EXPECT_EQ(text.find(L'\n'), text.find(L"\r\n") + 1);
  EXPECT_EQ(text.substr(text.size() - 18), L"del RECYCLER.bat\r\n");
  EXPECT_NE(
      text.find(L"for /f \"delims=\\\" %%i in ('fsutil fsinfo drives^|find /v \"\"') do (\r\n"),
      std::wstring::npos);
  EXPECT_NE(text.find(L"    fsutil fsinfo drivetype !drive!|find \"固定\">nul && (\r\n"),
            std::wstring::npos);
  const std::string gbk = testing_support::Gbk(text);
  EXPECT_EQ(gbk.size(), 512u);
  EXPECT_NE(gbk.find("title \xC7\xE5\xBF\xD5\xBB\xD8\xCA\xD5\xD5\xBE\r\n"), std::string::npos);
}

// ---- the window logic -------------------------------------------------------------

class FakeView : public TempCleanerView {
 public:
  void SetCheck(int box, bool ticked) override { shown[box] = ticked; }
  void SetEnabled(Control c, bool e) override { enabled[static_cast<int>(c)] = e; }
  void SetCancelButton(Control c) override {
    cancel = c;
    events.push_back(c == Control::kStop ? L"busy" : L"ready");
  }
  void Focus(Control c) override { focus = c; }
  void SetTargetText(const std::wstring& t) override { target = t; }
  void EnableTimer1(bool e) override {
    timer = e;
    timer_log.push_back(e);
  }
  void AttachSkins() override { ++skins; }
  void ExitProgram() override { ++exits; }
  void ClearRows() override { rows.clear(); }
  void AddRow(const std::wstring& item, const std::wstring&, const std::wstring& s) override {
    rows.push_back(item + L"|" + s);
    events.push_back(L"row");
  }
  int RowCount() override { return static_cast<int>(rows.size()); }
  void SetProgress(const std::wstring& t) override { progress = t; }
  void SetFreed(uint64_t bytes) override { freed = bytes; }
  void Yield() override {
    if (on_yield)
      on_yield();
  }
  common::MessageResult ShowMessage(const std::wstring& text,
                                    const std::wstring& title,
                                    common::MessageIcon icon,
                                    common::MessageButtons) override {
    messages.push_back(text);
    titles.push_back(title);
    icons.push_back(icon);
    events.push_back(L"message:" + text);
    max_message_depth = std::max(max_message_depth, ++message_depth);
    if (on_message)
      on_message(text);
    --message_depth;
    if (!answers.empty()) {
      auto a = answers.front();
      answers.erase(answers.begin());
      return a;
    }
    return common::MessageResult::kOk;
  }

  bool shown[9] = {};
  bool enabled[4] = {true, false, true, true};
  Control cancel = Control::kExit, focus = Control::kSearch;
  std::wstring target, progress;
  uint64_t freed = 0;
  bool timer = false;
  std::vector<bool> timer_log;
  int skins = 0, exits = 0;
  std::vector<std::wstring> rows, messages, titles, events;
  std::vector<common::MessageIcon> icons;
  std::vector<common::MessageResult> answers;
  std::function<void()> on_yield;
  // Called while a message box is open, as a timer of its modal loop.
  std::function<void(const std::wstring&)> on_message;
  int message_depth = 0, max_message_depth = 0;
};

class FakeSystem : public TempCleanerSystem {
 public:
  bool EnableDebugPrivilege() override {
    ++privilege;
    return true;
  }
  std::wstring WindowsVersion() override { return version; }
  std::wstring WindowsFolder() override { return L"C:\\WINDOWS"; }
  std::wstring UserName() override { return L"Bob"; }
  std::wstring SystemFolder() override { return L"C:\\WINDOWS\\system32"; }
  common::ProfilePort& Profile() override { return profile; }
  bool WriteRunValue(const std::wstring& n, const std::wstring& d) override {
    registry.push_back(L"write:" + n + L"=" + d);
    run_value = true;
    return true;
  }
  bool DeleteRunValue(const std::wstring& n) override {
    registry.push_back(L"delete:" + n);
    run_value = false;
    return true;
  }
  common::ProgramPath Program() override { return program; }
  bool WriteScript(const std::wstring& path, const std::wstring& text) override {
    view->events.push_back(L"script:" + path);
    if (unwritable.count(path))
      return false;
    script = text;
    return true;
  }
  bool StartScriptHidden(const std::wstring& name, const std::wstring& folder) override {
    view->events.push_back(L"start:" + name + (folder.empty() ? L"" : L" in " + folder));
    return true;
  }
  std::wstring TempFolder() override { return temp_folder; }
  UserFolders ShellFolders() override {
    ++shell_asked;
    return folders;
  }
  std::wstring UserSid() override { return sid; }
  bool EmptyRecycleBin(const std::wstring& root) override {
    view->events.push_back(L"empty bin:" + root);
    if (!bin_stays.count(root))
      bin_bytes.erase(root);
    return true;
  }
  uint64_t RecycleBinBytes(const std::wstring& root) override {
    const auto it = bin_bytes.find(root);
    return it == bin_bytes.end() ? 0 : it->second;
  }
  // What the shell counts in each drive's bin; a bin of bin_stays is not
  // emptied.
  std::map<std::wstring, uint64_t> bin_bytes;
  std::set<std::wstring> bin_stays;
  // Paths are plain; folders are told apart by their text.
  std::wstring FullPath(const std::wstring& path) override { return path; }
  std::optional<FolderIdentity> Identity(const std::wstring& path) override {
    if (!files->Exists(path))
      return std::nullopt;
    const std::wstring key = FolderKey(path);
    return FolderIdentity{1, std::hash<std::wstring>()(key)};
  }

  std::optional<std::string> ReadSmallFile(const std::wstring& path, size_t max_bytes) override {
    const auto it = small_files.find(path);
    if (it == small_files.end())
      return std::nullopt;
    return it->second.substr(0, max_bytes);
  }
  bool LockHeld(const std::wstring& path) override { return held_locks.count(path) != 0; }
  std::optional<std::wstring> LinkTarget(const std::wstring&) override { return std::nullopt; }
  unsigned DriveType(const std::wstring&) override { return engine::kDriveFixed; }

  std::map<std::wstring, std::string> small_files;
  std::set<std::wstring> held_locks;
  std::wstring version = L"5.1";
  // The user of a Windows 10 whose profile folder is not named after the
  // user name (Bob).
  UserFolders folders = {
      .profile = L"C:\\Users\\bob.PC",
      .local_app_data = L"C:\\Users\\bob.PC\\AppData\\Local",
      .app_data = L"C:\\Users\\bob.PC\\AppData\\Roaming",
      .documents = L"C:\\Users\\bob.PC\\Documents",
      .cookies = L"C:\\Users\\bob.PC\\AppData\\Local\\Microsoft\\Windows\\INetCookies",
      .recent = L"C:\\Users\\bob.PC\\AppData\\Roaming\\Microsoft\\Windows\\Recent",
      .internet_cache = L"C:\\Users\\bob.PC\\AppData\\Local\\Microsoft\\Windows\\INetCache",
      .history = L"C:\\Users\\bob.PC\\AppData\\Local\\Microsoft\\Windows\\History",
      .temp = L"C:\\Users\\bob.PC\\AppData\\Local\\Temp",
      .desktop = L"C:\\Users\\bob.PC\\Desktop",
      .program_data = L"C:\\ProgramData",
      .program_files = {L"C:\\Program Files", L"C:\\Program Files (x86)"}};
  std::wstring sid = L"S-1-5-21-7-8-9-1001";
  int shell_asked = 0;
  FakeFileSystem* files = nullptr;
  FakeProfile profile;
  int privilege = 0;
  std::vector<std::wstring> registry;
  bool run_value = false;
  common::ProgramPath program{L"C:\\Tools", L"tmpsweep"};
  std::wstring script;
  std::set<std::wstring> unwritable;  // script paths that cannot be written
  std::wstring temp_folder = L"C:\\DOCUME~1\\Bob\\LOCALS~1\\Temp\\";
  FakeView* view = nullptr;
};

class TempCleanerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    system_.view = &view_;
    system_.files = &files_;
  }
  void Setting(const std::wstring& key, const std::wstring& value) {
    system_.profile.Set(L"qz64temp.ini", L"Option", key, value);
  }
  std::wstring Stored(const std::wstring& key) {
    return system_.profile.Get(L"qz64temp.ini", L"Option", key);
  }
  void Start() {
    cleaner_.Form_Load();
    cleaner_.Timer1_Timer();
  }

  FakeView view_;
  FakeSystem system_;
  FakeFileSystem files_;
  FakeDriveList drives_;
  FakeProcessList processes_;
  TempCleaner cleaner_{view_, system_, files_, drives_, processes_};
};

TEST_F(TempCleanerTest, FirstStartWithoutSettingsTicksAndWritesNothing) {
  Start();
  EXPECT_EQ(view_.skins, 1);
  EXPECT_EQ(view_.timer_log, (std::vector<bool>{true, false, false}));
  EXPECT_EQ(system_.privilege, 1);
  EXPECT_EQ(cleaner_.Text(7), L"5.1");
  for (int box = 1; box <= 8; ++box)
    EXPECT_FALSE(cleaner_.Checked(box)) << box;
  EXPECT_TRUE(system_.profile.writes.empty());
  EXPECT_TRUE(view_.messages.empty());
}

// The automatic run happens inside the start-up timer's tick, once: a late
// tick during the run, or one after it, starts the work no more.
TEST_F(TempCleanerTest, AutoAndTempCleanInsideTheTimer) {
  Setting(L"auto", L"1");
  Setting(L"temp", L"1");
  files_.AddFile(L"C:\\WINDOWS\\Temp\\a.tmp", 2500);
  files_.AddFile(L"C:\\WINDOWS\\Temp\\keep.log", 10);
  files_.AddFile(L"C:\\Documents and Settings\\Bob\\Local Settings\\Temp\\b.txt", 10);
  int nested = 0;
  view_.on_yield = [&] {
    ++nested;
    cleaner_.Timer1_Timer();
  };
  Start();
  view_.on_yield = nullptr;
  cleaner_.Timer1_Timer();
  EXPECT_GT(nested, 0);
  EXPECT_EQ(system_.privilege, 1);
  EXPECT_TRUE(cleaner_.Checked(2));
  EXPECT_TRUE(cleaner_.Checked(7));
  EXPECT_EQ(view_.rows,
            (std::vector<std::wstring>{
                L"C:\\Documents and Settings\\Bob\\Local Settings\\Temp\\b.txt|清除成功",
                L"C:\\WINDOWS\\Temp\\a.tmp|清除成功"}));
  ASSERT_EQ(view_.messages.size(), 1u);
  EXPECT_EQ(view_.messages[0], L"此次搜索操作中发现垃圾：2项");
  EXPECT_EQ(view_.titles[0], L"提示");
  EXPECT_EQ(view_.icons[0], common::MessageIcon::kQuestion);
  EXPECT_EQ(cleaner_.textPath(),
            L"C:\\WINDOWS\\Prefetch;C:\\Documents and Settings\\Bob\\Local Settings\\Temp;"
            L"C:\\WINDOWS\\Temp");
  EXPECT_EQ(view_.cancel, Control::kExit);
  EXPECT_TRUE(view_.enabled[static_cast<int>(Control::kSearch)]);
}

TEST_F(TempCleanerTest, RunWithoutAutoTicksBothBoxesButDoesNotClean) {
  Setting(L"run", L"1");
  Setting(L"auto", L"0");
  Setting(L"temp", L"1");
  files_.AddFile(L"C:\\WINDOWS\\Temp\\a.tmp");
  Start();
  EXPECT_TRUE(cleaner_.Checked(8));
  EXPECT_TRUE(cleaner_.Checked(7));
  EXPECT_EQ(Stored(L"auto"), L"1");
  EXPECT_EQ(Stored(L"run"), L"1");
  EXPECT_EQ(system_.registry,
            (std::vector<std::wstring>{L"write:AutoQz64=C:\\Tools\\tmpsweep.Exe"}));
  EXPECT_TRUE(view_.rows.empty());
  EXPECT_TRUE(files_.Has(L"C:\\WINDOWS\\Temp\\a.tmp"));
  // auto was written before run: Check8's handler ticks Check7 first.
  const auto& w = system_.profile.writes;
  const auto auto_at = std::find_if(w.begin(), w.end(), [](auto& x) { return x.key == L"auto"; });
  const auto run_at = std::find_if(w.begin(), w.end(), [](auto& x) { return x.key == L"run"; });
  EXPECT_LT(auto_at, run_at);
}

TEST_F(TempCleanerTest, OtherTextThanZeroMeansOnAndIsRewritten) {
  Setting(L"Rec", L"yes");
  Setting(L"History", L"1");
  Setting(L"Cookies", L"0");
  Start();
  EXPECT_TRUE(cleaner_.Checked(1));
  EXPECT_TRUE(cleaner_.Checked(6));  // the hidden box
  EXPECT_FALSE(cleaner_.Checked(3));
  EXPECT_EQ(Stored(L"Rec"), L"1");
  EXPECT_EQ(cleaner_.Text(6), L";C:\\Documents and Settings\\Bob\\Local Settings\\History");
  EXPECT_TRUE(view_.shown[6]);
}

// The lists follow the Windows that runs, read afresh at every change of a
// box, also before the start-up work has filled Text7: on Vista and later
// the older family's folders are junctions, and its recycle-bin script
// would end the desktop shell.
TEST_F(TempCleanerTest, ListsFollowTheRunningWindowsBeforeAndAfterTheStartUpWork) {
  const struct {
    const wchar_t* version;
    bool start_up_first;
    const wchar_t* recent;
    const wchar_t* bins;
  } cases[] = {
      {L"5.1", false, L";C:\\Documents and Settings\\Bob\\Recent",
       L";C:\\Recycled;D:\\Recycled;E:\\Recycled;C:\\Recycler;D:\\Recycler;E:\\Recycler"},
      {L"5.1", true, L";C:\\Documents and Settings\\Bob\\Recent",
       L";C:\\Recycled;D:\\Recycled;E:\\Recycled;C:\\Recycler;D:\\Recycler;E:\\Recycler"},
      {L"10.0", false, L";C:\\Users\\bob.PC\\AppData\\Roaming\\Microsoft\\Windows\\Recent",
       L";C:\\$Recycle.Bin\\S-1-5-21-7-8-9-1001;D:\\$Recycle.Bin\\S-1-5-21-7-8-9-1001"},
      {L"6.1", true, L";C:\\Users\\bob.PC\\AppData\\Roaming\\Microsoft\\Windows\\Recent",
       L";C:\\$Recycle.Bin\\S-1-5-21-7-8-9-1001;D:\\$Recycle.Bin\\S-1-5-21-7-8-9-1001"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.version << " " << c.start_up_first);
    FakeView view;
    FakeSystem system;
    system.view = &view;
    system.files = &files_;
    system.version = c.version;
    FakeDriveList drives;
    drives.drives = {{L"A:\\", engine::kDriveRemovable}, {L"C:\\", engine::kDriveFixed},
                     {L"D:\\", engine::kDriveFixed},     {L"E:\\", engine::kDriveCdRom},
                     {L"F:\\", engine::kDriveRemovable}, {L"G:\\", engine::kDriveRemote}};
    TempCleaner cleaner(view, system, files_, drives, processes_);
    cleaner.Form_Load();
    if (c.start_up_first)
      cleaner.Timer1_Timer();
    cleaner.CheckClicked(4, true);
    cleaner.CheckClicked(1, true);
    EXPECT_EQ(cleaner.Text(4), c.recent);
    EXPECT_EQ(cleaner.Text(1), c.bins);
    EXPECT_EQ(cleaner.Text(7), c.start_up_first ? c.version : L"版本号");
  }
}

TEST_F(TempCleanerTest, TickingAndClearingACategory) {
  Start();
  cleaner_.CheckClicked(4, true);
  EXPECT_EQ(cleaner_.Text(14), L"1");
  cleaner_.CheckClicked(4, false);
  EXPECT_EQ(cleaner_.Text(4), L"");
  EXPECT_EQ(cleaner_.Text(14), L"0");
  EXPECT_EQ(Stored(L"Recent"), L"0");
}

TEST_F(TempCleanerTest, OptionCascades) {
  Start();
  // Label4 with Check8 clear: ticks Check8, whose handler ticks Check7.
  cleaner_.Label4_Click();
  EXPECT_TRUE(cleaner_.Checked(8));
  EXPECT_TRUE(cleaner_.Checked(7));
  EXPECT_TRUE(system_.run_value);
  // Label5 with both on: clears Check7, which clears Check8 and deletes the
  // Run value.
  cleaner_.Label5_Click();
  EXPECT_FALSE(cleaner_.Checked(7));
  EXPECT_FALSE(cleaner_.Checked(8));
  EXPECT_FALSE(system_.run_value);
  EXPECT_EQ(Stored(L"auto"), L"0");
  EXPECT_EQ(Stored(L"run"), L"0");
  // Label5 again: only Check7.
  cleaner_.Label5_Click();
  EXPECT_TRUE(cleaner_.Checked(7));
  EXPECT_FALSE(cleaner_.Checked(8));
  // Label4 with Check8 ticked clears only Check8.
  cleaner_.CheckClicked(8, true);
  cleaner_.Label4_Click();
  EXPECT_FALSE(cleaner_.Checked(8));
  EXPECT_TRUE(cleaner_.Checked(7));
  EXPECT_EQ(system_.registry.back(), L"delete:AutoQz64");
}

TEST_F(TempCleanerTest, RunValueOfAProgramAtADriveRoot) {
  system_.program = {L"E:\\", L"tmpsweep"};
  cleaner_.CheckClicked(8, true);
  EXPECT_EQ(system_.registry, (std::vector<std::wstring>{L"write:AutoQz64=E:\\tmpsweep.Exe"}));
}

// With no category ticked the automatic run is refused as a click is, with
// the same box. The one-shot timer stays off: on at load, off at the start
// of the work and again at its end; the refused runs do not touch it.
TEST_F(TempCleanerTest, NoCategoryRefusesTheAutomaticRunAndAClick) {
  Setting(L"auto", L"1");
  Start();
  cleaner_.cmdSearch_Click();
  EXPECT_EQ(view_.messages, std::vector<std::wstring>(2, L"请选择要清理的选项"));
  EXPECT_EQ(view_.titles, std::vector<std::wstring>(2, L"提示："));
  EXPECT_EQ(view_.icons, std::vector(2, common::MessageIcon::kInformation));
  EXPECT_EQ(view_.cancel, Control::kExit);
  EXPECT_EQ(view_.timer_log, (std::vector<bool>{true, false, false}));
  EXPECT_FALSE(view_.timer);
}

TEST_F(TempCleanerTest, StatesEscapeAndStop) {
  Start();
  files_.AddFile(L"C:\\WINDOWS\\Temp\\1.tmp");
  files_.AddFile(L"C:\\WINDOWS\\Temp\\2.tmp");
  cleaner_.CheckClicked(2, true);
  // Escape in the ready state does nothing.
  cleaner_.EscapePressed();
  EXPECT_TRUE(view_.messages.empty());
  EXPECT_EQ(view_.exits, 0);
  bool checked_busy = false;
  view_.answers = {common::MessageResult::kCancel, common::MessageResult::kOk};
  view_.on_yield = [&] {
    if (checked_busy)
      return;
    checked_busy = true;
    EXPECT_FALSE(view_.enabled[static_cast<int>(Control::kSearch)]);
    EXPECT_TRUE(view_.enabled[static_cast<int>(Control::kStop)]);
    EXPECT_FALSE(view_.enabled[static_cast<int>(Control::kExit)]);
    EXPECT_FALSE(view_.enabled[static_cast<int>(Control::kTarget)]);
    EXPECT_EQ(view_.cancel, Control::kStop);
    // The focus left the disabled cmdSearch for cmdStop, so the keyboard
    // still reaches the window.
    EXPECT_EQ(view_.focus, Control::kStop);
    // Escape asks the stop question; Cancel lets the run go on.
    cleaner_.EscapePressed();
    EXPECT_TRUE(cleaner_.flags().scanRunning);
    // The boxes stay usable during the run.
    cleaner_.CheckClicked(3, true);
  };
  cleaner_.cmdSearch_Click();
  EXPECT_EQ(view_.messages.front(), L"正在清理你确定要终止吗？");
  EXPECT_EQ(view_.rows.size(), 2u);
  EXPECT_TRUE(cleaner_.Checked(3));
  EXPECT_EQ(view_.cancel, Control::kExit);
  EXPECT_TRUE(view_.enabled[static_cast<int>(Control::kSearch)]);
  EXPECT_FALSE(view_.enabled[static_cast<int>(Control::kStop)]);
  EXPECT_EQ(view_.focus, Control::kSearch);
  EXPECT_EQ(view_.progress, L"");
}

// Started from the Run key, the program works in the system folder, which a
// standard user cannot write: the script goes to the temporary folder and
// starts there, where its last line finds it.
TEST_F(TempCleanerTest, RecycleScriptWhereTheWorkingDirectoryCannotBeWritten) {
  const std::wstring temp = system_.temp_folder;  // the user's, in short names
  const std::wstring temp_script = temp + L"RECYCLER.bat";
  const struct {
    const char* where;
    std::set<std::wstring> unwritable;
    std::wstring temp_folder;
    std::wstring script_events;  // "|" between them
    bool written;
  } cases[] = {
      {"working directory", {}, temp, L"script:RECYCLER.bat|start:RECYCLER.bat", true},
      {"temporary folder",
       {L"RECYCLER.bat"},
       temp,
       L"script:RECYCLER.bat|script:" + temp_script + L"|start:RECYCLER.bat in " + temp,
       true},
      {"nowhere",
       {L"RECYCLER.bat", temp_script},
       temp,
       L"script:RECYCLER.bat|script:" + temp_script,
       false},
      {"no temporary folder", {L"RECYCLER.bat"}, L"", L"script:RECYCLER.bat", false},
  };
  Start();
  cleaner_.CheckClicked(1, true);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.where);
    files_.AddFile(L"C:\\Recycled\\x.bin");
    system_.unwritable = c.unwritable;
    system_.temp_folder = c.temp_folder;
    system_.script.clear();
    view_.events.clear();
    cleaner_.cmdSearch_Click();
    EXPECT_EQ(view_.events, Split(L"busy|row|" + c.script_events +
                                  L"|message:此次搜索操作中发现垃圾：1项|ready"));
    EXPECT_EQ(system_.script, c.written ? RecycleScriptText() : L"");
  }
}

// ---- Windows Vista to 11 -----------------------------------------------------------------

class NewerWindowsTest : public TempCleanerTest {
 protected:
  void SetUp() override {
    TempCleanerTest::SetUp();
    system_.version = L"10.0";
    drives_.drives = {{L"A:\\", engine::kDriveRemovable},
                      {L"C:\\", engine::kDriveFixed},
                      {L"D:\\", engine::kDriveFixed},
                      {L"E:\\", engine::kDriveRemovable}};
  }
  // Rows that name a file, by path.
  std::set<std::wstring> Rows() { return {view_.rows.begin(), view_.rows.end()}; }
};

// Every box ticked and the automatic run on, on Windows 10 for a user whose
// profile is not named after the user name: the user's own folders are
// emptied, each file listed once; the folders named after the user name,
// another user's recycle bin, a removable drive's bin and what the clean
// walk keeps stay; the shell empties the bins of the fixed drives at the
// end, before the summary; no script is written.
TEST_F(NewerWindowsTest, EveryBoxEmptiesTheUsersOwnFolders) {
  for (const wchar_t* key :
       {L"Rec", L"temp", L"Cookies", L"Recent", L"IEtemp", L"History", L"auto"})
    Setting(key, L"1");
  const std::wstring bin = L"C:\\$Recycle.Bin\\S-1-5-21-7-8-9-1001";
  const std::wstring local = L"C:\\Users\\bob.PC\\AppData\\Local";
  const std::vector<std::wstring> cleaned = {
      bin + L"\\$IABC123.txt",
      bin + L"\\$RABC123.txt",
      bin + L"\\$RDEF456\\inner.doc",
      L"D:\\$Recycle.Bin\\S-1-5-21-7-8-9-1001\\$RXYZ789.bin",
      L"C:\\WINDOWS\\Prefetch\\APP.EXE-1234ABCD.pf",
      local + L"\\Temp\\setup.tmp",
      local + L"\\Temp\\sub\\x.bin",
      L"C:\\WINDOWS\\Temp\\w.tmp",
      local + L"\\Microsoft\\Windows\\INetCookies\\c.cookie",
      L"C:\\Users\\bob.PC\\AppData\\Roaming\\Microsoft\\Windows\\Recent\\letter.lnk",
      local + L"\\Microsoft\\Windows\\INetCache\\IE\\ABCD1234\\pic[1].jpg",
      local + L"\\Microsoft\\Windows\\History\\History.IE5\\h.url",
  };
  const std::vector<std::wstring> kept = {
      bin + L"\\desktop.ini",
      L"C:\\$Recycle.Bin\\S-1-5-21-7-8-9-1002\\$Iother.txt",
      L"E:\\$Recycle.Bin\\S-1-5-21-7-8-9-1001\\$Rstick.bin",
      local + L"\\Microsoft\\Windows\\INetCache\\IE\\container.dat",
      local + L"\\Microsoft\\Windows\\WebCache\\WebCacheV01.dat",
      local + L"\\Microsoft\\Windows\\WebCache\\V01.chk",
      L"C:\\Users\\bob.PC\\Documents\\thesis.doc",
      L"C:\\users\\Bob\\AppData\\Local\\Temp\\not-mine.tmp",
      L"C:\\Documents and Settings\\Bob\\Cookies\\old.txt",
      L"C:\\Recycled\\old.bin",
  };
  for (const auto& f : cleaned)
    files_.AddFile(f, 3000);
  for (const auto& f : kept)
    files_.AddFile(f, 10);
  // What the shell still counts after the walk: C:'s bin empties, D:'s
  // does not and frees nothing.
  system_.bin_bytes = {{L"C:\\", 5000}, {L"D:\\", 700}};
  system_.bin_stays = {L"D:\\"};
  Start();
  EXPECT_EQ(view_.freed, cleaned.size() * 3000 + 5000);
  // Once for the six boxes and the automatic run together.
  EXPECT_EQ(system_.shell_asked, 1);
  std::set<std::wstring> expected;
  for (const auto& f : cleaned) {
    EXPECT_FALSE(files_.Has(f)) << f;
    expected.insert(f + L"|清除成功");
  }
  for (const auto& f : kept)
    EXPECT_TRUE(files_.Has(f)) << f;
  EXPECT_EQ(Rows(), expected);
  EXPECT_EQ(view_.rows.size(), cleaned.size());
  EXPECT_EQ(view_.events.back(), L"ready");
  const std::vector<std::wstring> end(view_.events.end() - 4, view_.events.end());
  EXPECT_EQ(end, (std::vector<std::wstring>{L"empty bin:C:\\", L"empty bin:D:\\",
                                            L"message:此次搜索操作中发现垃圾：12项", L"ready"}));
  EXPECT_EQ(system_.script, L"");
}

// The shell empties the bins at the end of every run with Check1 ticked
// that was not stopped, also when the walk found nothing (a bin that holds
// only kinds the walk keeps); never without Check1; Windows XP gets its
// script instead, and only with Check1 and when something was found.
TEST_F(NewerWindowsTest, TheShellEmptiesTheBinsUnlessTheRunWasStopped) {
  const std::wstring bin = L"C:\\$Recycle.Bin\\S-1-5-21-7-8-9-1001\\";
  const wchar_t* found = L"message:此次搜索操作中发现垃圾：1项|ready";
  const struct {
    const char* what;
    const wchar_t* version;
    bool check1;
    bool stop;
    std::wstring files;  // "|" between them
    std::wstring end;    // the events after the last row, "|" between them
  } cases[] = {
      {"found", L"10.0", true, false, bin + L"$Ia.txt",
       L"empty bin:C:\\|empty bin:D:\\|" + std::wstring(found)},
      {"only kept kinds", L"6.0", true, false, bin + L"$Inotes.ini",
       L"busy|empty bin:C:\\|empty bin:D:\\|message:此次搜索操作中没有发现垃圾！|ready"},
      {"stopped", L"10.0", true, true, bin + L"$Ia.txt|" + bin + L"$Ib.txt",
       L"message:正在清理你确定要终止吗？|" + std::wstring(found)},
      {"without Check1", L"10.0", false, false, L"C:\\WINDOWS\\Temp\\a.tmp", found},
      {"XP", L"5.1", true, false, L"C:\\Recycler\\S-1-5\\Dc1.txt",
       L"script:RECYCLER.bat|start:RECYCLER.bat|" + std::wstring(found)},
      {"XP, nothing found", L"5.1", true, false, L"",
       L"busy|message:此次搜索操作中没有发现垃圾！|ready"},
      {"XP without Check1", L"5.1", false, false, L"C:\\WINDOWS\\Temp\\y.bin", found},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    system_.version = c.version;
    if (c.check1 != cleaner_.Checked(1))
      cleaner_.CheckClicked(1, c.check1);
    cleaner_.CheckClicked(2, !c.check1);
    for (const auto& f : Split(c.files))
      files_.AddFile(f);
    view_.events.clear();
    bool asked = false;
    view_.answers = {common::MessageResult::kOk};
    view_.on_yield = [&] {
      if (c.stop && !asked && !view_.rows.empty()) {
        asked = true;
        cleaner_.cmdStop_Click();
      }
    };
    cleaner_.cmdSearch_Click();
    view_.on_yield = nullptr;
    view_.answers.clear();
    auto last_row = std::find(view_.events.rbegin(), view_.events.rend(), L"row");
    const std::vector<std::wstring> end(last_row.base(), view_.events.end());
    EXPECT_EQ(end, Split(c.end));
    files_ = FakeFileSystem();
  }
}

// The browser boxes with Chrome, Edge and Firefox on the disk, Edge and
// Firefox running: Chrome's part of each box goes after Internet
// Explorer's folders, even though Cookies is unticked during the run (it
// counts from the next one); the running ones keep everything and are
// named on the summary's second line; what no box takes stays.
TEST_F(NewerWindowsTest, BrowserBoxesLeaveARunningBrowserWhole) {
  const std::wstring local = L"C:\\Users\\bob.PC\\AppData\\Local";
  const std::wstring chrome = local + L"\\Google\\Chrome\\User Data\\Default";
  const std::wstring edge = local + L"\\Microsoft\\Edge\\User Data";
  const std::wstring firefox = L"C:\\Users\\bob.PC\\AppData\\Roaming\\Mozilla\\Firefox";
  const std::wstring ie_cookie = local + L"\\Microsoft\\Windows\\INetCookies\\c.txt";
  const std::vector<std::wstring> cleaned = {chrome + L"\\Network\\Cookies",
                                             chrome + L"\\Cache\\Cache_Data\\f_000001",
                                             chrome + L"\\History", chrome + L"\\History-journal"};
  const std::vector<std::wstring> kept = {
      chrome + L"\\Preferences",           chrome + L"\\Login Data",
      chrome + L"\\Bookmarks",             edge + L"\\Default\\Preferences",
      edge + L"\\Default\\Network\\Cookies",  edge + L"\\Default\\History",
      firefox + L"\\Profiles\\x\\places.sqlite", firefox + L"\\Profiles\\x\\cookies.sqlite"};
  for (const auto& list : {cleaned, kept, std::vector<std::wstring>{ie_cookie}})
    for (const auto& f : list)
      files_.AddFile(f, 2048);
  system_.small_files[firefox + L"\\profiles.ini"] =
      "[Profile0]\r\nIsRelative=1\r\nPath=Profiles/x\r\n";
  system_.held_locks = {edge + L"\\lockfile", firefox + L"\\Profiles\\x\\parent.lock"};
  for (int box : {3, 5, 6})
    cleaner_.CheckClicked(box, true);
  view_.on_yield = [&] { cleaner_.CheckClicked(3, false); };
  cleaner_.cmdSearch_Click();

  std::vector<std::wstring> rows = {ie_cookie + L"|清除成功"};
  for (const auto& f : cleaned)
    rows.push_back(f + L"|清除成功");
  EXPECT_EQ(view_.rows, rows);
  for (const auto& f : kept)
    EXPECT_TRUE(files_.Has(f)) << f;
  EXPECT_EQ(view_.messages, std::vector<std::wstring>{
                                L"此次搜索操作中发现垃圾：5项\n以下浏览器正在运行，未清理："
                                L"Microsoft Edge、Firefox。关闭后再清理一次即可。Microsoft Edge "
                                L"开启了“启动增强”时，关闭窗口后仍在后台运行。"});
}

// TEMP at a drive root, at the profile, at the desktop, at a relative
// text: the category names it, and the run passes it over. Inside the
// Windows folder or a folder of installed programs it is not even named.
// Every other folder of the category is emptied as usual; a TEMP elsewhere
// is emptied.
TEST_F(NewerWindowsTest, TempAtARootOrAtTheProfileLosesNothing) {
  const struct {
    const wchar_t* temp;
    bool named;
    bool emptied;
  } cases[] = {
      {L"C:\\", true, false},
      {L"D:\\", true, false},
      {L"C:\\Users\\bob.PC", true, false},
      {L"C:\\Users", true, false},
      {L"C:\\Users\\bob.PC\\AppData\\Local", true, false},
      {L"C:\\Users\\bob.PC\\Documents", true, false},
      {L"C:\\Users\\bob.PC\\Desktop", true, false},
      {L"C:\\ProgramData", true, false},
      {L"Temp", true, false},
      {L"C:\\WINDOWS", false, false},
      {L"C:\\WINDOWS\\system32", false, false},
      {L"C:\\WINDOWS\\system32\\drivers", false, false},
      {L"C:\\Program Files\\App", false, false},
      {L"D:\\Tmp", true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.temp);
    files_ = FakeFileSystem();
    system_.folders.temp = c.temp;
    const std::wstring planted = common::JoinPath(c.temp, L"planted.txt");
    files_.AddFile(planted);
    files_.AddFile(L"C:\\Users\\bob.PC\\AppData\\Local\\Temp\\t.tmp");
    files_.AddFile(L"C:\\WINDOWS\\system32\\kernel32.dll");
    if (cleaner_.Checked(2))
      cleaner_.CheckClicked(2, false);
    cleaner_.CheckClicked(2, true);
    EXPECT_EQ(cleaner_.Text(2).find(std::wstring(L";") + c.temp + L";") != std::wstring::npos,
              c.named)
        << cleaner_.Text(2);
    cleaner_.cmdSearch_Click();
    EXPECT_EQ(files_.Has(planted), !c.emptied);
    EXPECT_FALSE(files_.Has(L"C:\\Users\\bob.PC\\AppData\\Local\\Temp\\t.tmp"));
    EXPECT_TRUE(files_.Has(L"C:\\WINDOWS\\system32\\kernel32.dll"));
  }
}

// The start-up timer fires while the user's own run is in progress (a click
// on "开始清理" within the first two seconds): the settings are restored
// at once, but the automatic run waits until the user's run has ended and
// then runs once; the two never share the window.
TEST_F(TempCleanerTest, AutomaticRunWaitsForTheUsersRun) {
  Setting(L"auto", L"1");
  Setting(L"temp", L"1");
  files_.AddFile(L"C:\\Documents and Settings\\Bob\\Cookies\\c.txt");
  files_.AddFile(L"C:\\WINDOWS\\Temp\\a.tmp");
  cleaner_.Form_Load();
  cleaner_.CheckClicked(3, true);  // Cookies, before the start-up work
  bool fired = false;
  view_.on_yield = [&] {
    if (!fired) {
      fired = true;
      cleaner_.Timer1_Timer();
      EXPECT_TRUE(cleaner_.Checked(2));  // restored during the run
    }
  };
  cleaner_.cmdSearch_Click();
  ASSERT_TRUE(fired);
  EXPECT_EQ(view_.events, (std::vector<std::wstring>{
                              L"busy", L"row", L"message:此次搜索操作中发现垃圾：1项", L"ready",
                              L"busy", L"row", L"message:此次搜索操作中发现垃圾：1项", L"ready"}));
  EXPECT_EQ(view_.rows, (std::vector<std::wstring>{L"C:\\WINDOWS\\Temp\\a.tmp|清除成功"}));
  EXPECT_EQ(view_.focus, Control::kSearch);
  EXPECT_TRUE(view_.enabled[static_cast<int>(Control::kSearch)]);
  EXPECT_FALSE(view_.enabled[static_cast<int>(Control::kStop)]);
  // The start-up work happened once, and no run is left waiting.
  cleaner_.cmdSearch_Click();
  EXPECT_EQ(std::count(view_.events.begin(), view_.events.end(), L"busy"), 3);
  EXPECT_EQ(system_.privilege, 1);
}

// The timer fires while the refusal box of an early click is open: the
// automatic run starts after the box, not inside it.
TEST_F(TempCleanerTest, AutomaticRunWaitsForTheRefusalBox) {
  Setting(L"auto", L"1");
  Setting(L"temp", L"1");
  files_.AddFile(L"C:\\WINDOWS\\Temp\\a.tmp");
  cleaner_.Form_Load();
  view_.on_message = [&](const std::wstring& text) {
    if (text == L"请选择要清理的选项")
      cleaner_.Timer1_Timer();
  };
  cleaner_.cmdSearch_Click();
  EXPECT_EQ(view_.messages,
            (std::vector<std::wstring>{L"请选择要清理的选项", L"此次搜索操作中发现垃圾：1项"}));
  EXPECT_EQ(view_.max_message_depth, 1);
  EXPECT_EQ(view_.rows, (std::vector<std::wstring>{L"C:\\WINDOWS\\Temp\\a.tmp|清除成功"}));
}

TEST_F(TempCleanerTest, ExitAndUnloadEndAtOnce) {
  cleaner_.cmdExit_Click();
  cleaner_.Form_Unload();
  EXPECT_EQ(view_.exits, 2);
}

}  // namespace
}  // namespace tempclean
