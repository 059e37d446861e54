#include "temp-cleaner/temp_cleaner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "temp-cleaner/categories.h"
#include "temp-cleaner/recycle_script.h"
#include "testing/fake_engine_ports.h"
#include "testing/fake_profile.h"
#include "testing/iconv_code_page.h"

namespace tempclean {
namespace {

using testing_support::FakeDriveList;
using testing_support::FakeFileSystem;
using testing_support::FakeProcessList;
using testing_support::FakeProfile;

// ---- categories -----------------------------------------------------------------

const ListInputs kXp{L"C:\\WINDOWS", L"Bob", L"C:\\", L"5.1"};
const ListInputs kSeven{L"C:\\Windows", L"Bob", L"C:\\", L"6.1"};

TEST(CategoriesTest, FolderListsOfBothFamilies) {
  const struct {
    int index;
    const ListInputs& inputs;
    const wchar_t* list;
  } cases[] = {
      {0, kXp, L";C:\\Recycled;D:\\Recycled;E:\\Recycled;C:\\Recycler;D:\\Recycler;E:\\Recycler"},
      {0, kSeven,
       L";C:\\Recycled;D:\\Recycled;E:\\Recycled;C:\\Recycler;D:\\Recycler;E:\\Recycler"},
      {1, kXp,
       L";C:\\WINDOWS\\Prefetch;C:\\Documents and Settings\\Bob\\Local "
       L"Settings\\Temp;C:\\WINDOWS\\Temp"},
      {1, kSeven, L";C:\\Windows\\Prefetch;C:\\users\\Bob\\AppData\\Local\\Temp;C:\\Windows\\Temp"},
      {2, kXp, L";C:\\Documents and Settings\\Bob\\Cookies"},
      {2, kSeven, L";C:\\users\\Bob\\AppData\\Roaming\\Microsoft\\Windows\\Cookies"},
      {3, kXp, L";C:\\Documents and Settings\\Bob\\Recent"},
      {3, kSeven, L";C:\\users\\Bob\\AppData\\Roaming\\Microsoft\\Windows\\Recent"},
      {4, kXp, L";C:\\Documents and Settings\\Bob\\Local Settings\\Temporary Internet Files"},
      {4, kSeven, L";C:\\users\\Bob\\AppData\\Local\\Microsoft\\Windows\\Temporary Internet Files"},
      {5, kXp, L";C:\\Documents and Settings\\Bob\\Local Settings\\History"},
      {5, kSeven, L";C:\\users\\Bob\\AppData\\Local\\Microsoft\\Windows\\History"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FolderList(c.index, c.inputs), c.list) << c.index << " " << c.inputs.version;
}

TEST(CategoriesTest, FamiliesByVersion) {
  for (const wchar_t* v : {L"6.0", L"6.1"})
    EXPECT_TRUE(IsNewerFamily(v)) << v;
  for (const wchar_t* v : {L"5.1", L"5.0", L"6.2", L"10.0", L"版本号", L"", L"6.10"})
    EXPECT_FALSE(IsNewerFamily(v)) << v;
}

TEST(CategoriesTest, JoiningTheLists) {
  std::wstring lists[kCategoryCount];
  EXPECT_EQ(JoinTarget(lists), L"");
  lists[2] = FolderList(2, kXp);
  EXPECT_EQ(JoinTarget(lists), L"C:\\Documents and Settings\\Bob\\Cookies");
  lists[1] = FolderList(1, kXp);
  EXPECT_EQ(JoinTarget(lists),
            L"C:\\WINDOWS\\Prefetch;C:\\Documents and Settings\\Bob\\Local Settings\\Temp;"
            L"C:\\WINDOWS\\Temp;C:\\Documents and Settings\\Bob\\Cookies");
  const ListInputs ten{L"C:\\Windows", L"Bob", L"C:\\", L"10.0"};
  EXPECT_EQ(FolderList(3, ten), L";C:\\Documents and Settings\\Bob\\Recent");
}

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

  std::wstring version = L"5.1";
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
  void SetUp() override { system_.view = &view_; }
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

TEST_F(TempCleanerTest, AutoAndTempCleanInsideTheTimer) {
  Setting(L"auto", L"1");
  Setting(L"temp", L"1");
  files_.AddFile(L"C:\\WINDOWS\\Temp\\a.tmp", 2500);
  files_.AddFile(L"C:\\WINDOWS\\Temp\\keep.log", 10);
  files_.AddFile(L"C:\\Documents and Settings\\Bob\\Local Settings\\Temp\\b.txt", 10);
  Start();
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

TEST_F(TempCleanerTest, RestoredBoxesUseTheRunningFamily) {
  system_.version = L"6.1";
  Setting(L"Recent", L"1");
  Start();
  EXPECT_EQ(cleaner_.Text(4), L";C:\\users\\Bob\\AppData\\Roaming\\Microsoft\\Windows\\Recent");
}

TEST_F(TempCleanerTest, BoxesBeforeTheStartUpWorkUseTheOlderFamily) {
  system_.version = L"6.1";
  cleaner_.CheckClicked(3, true);
  EXPECT_EQ(cleaner_.Text(3), L";C:\\Documents and Settings\\Bob\\Cookies");
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

TEST_F(TempCleanerTest, NoCategoryRefusesTheRun) {
  Start();
  cleaner_.cmdSearch_Click();
  ASSERT_EQ(view_.messages.size(), 1u);
  EXPECT_EQ(view_.messages[0], L"请选择要清理的选项");
  EXPECT_EQ(view_.titles[0], L"提示：");
  EXPECT_EQ(view_.icons[0], common::MessageIcon::kInformation);
  EXPECT_EQ(view_.cancel, Control::kExit);
  // The one-shot timer stays off: on at load, off at the start of the work
  // and again at its end; the refused run does not touch it.
  EXPECT_EQ(view_.timer_log, (std::vector<bool>{true, false, false}));
  EXPECT_FALSE(view_.timer);
}

TEST_F(TempCleanerTest, AutoWithoutCategoryIsRefusedLikeAClick) {
  Setting(L"auto", L"1");
  Start();
  EXPECT_EQ(view_.messages, (std::vector<std::wstring>{L"请选择要清理的选项"}));
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

TEST_F(TempCleanerTest, RecycleScriptOnlyWithCheck1AndRows) {
  Start();
  files_.AddFile(L"C:\\Recycled\\x.bin");
  cleaner_.CheckClicked(1, true);
  cleaner_.cmdSearch_Click();
  EXPECT_EQ(view_.events,
            (std::vector<std::wstring>{L"busy", L"row", L"script:RECYCLER.bat",
                                       L"start:RECYCLER.bat", L"message:此次搜索操作中发现垃圾：1项",
                                       L"ready"}));
  EXPECT_EQ(system_.script, RecycleScriptText());

  // Nothing found: no script.
  view_.events.clear();
  cleaner_.cmdSearch_Click();
  EXPECT_EQ(view_.events, (std::vector<std::wstring>{L"busy", L"message:此次搜索操作中没有发现垃圾！",
                                                     L"ready"}));

  // Rows but Check1 clear: no script.
  view_.events.clear();
  cleaner_.CheckClicked(1, false);
  cleaner_.CheckClicked(2, true);
  files_.AddFile(L"C:\\WINDOWS\\Temp\\y.bin");
  cleaner_.cmdSearch_Click();
  EXPECT_EQ(view_.events,
            (std::vector<std::wstring>{L"busy", L"row", L"message:此次搜索操作中发现垃圾：1项",
                                       L"ready"}));
}

// Started from the Run key, the program works in the system folder, which a
// standard user cannot write: the script goes to the temporary folder and
// starts there, where its last line finds it.
TEST_F(TempCleanerTest, RecycleScriptWhereTheWorkingDirectoryCannotBeWritten) {
  const std::wstring temp_script = L"C:\\DOCUME~1\\Bob\\LOCALS~1\\Temp\\RECYCLER.bat";
  const struct {
    const char* where;
    std::set<std::wstring> unwritable;
    std::wstring temp_folder;
    std::vector<std::wstring> script_events;
    bool written;
  } cases[] = {
      {"working directory",
       {},
       system_.temp_folder,
       {L"script:RECYCLER.bat", L"start:RECYCLER.bat"},
       true},
      {"temporary folder",
       {L"RECYCLER.bat"},
       system_.temp_folder,
       {L"script:RECYCLER.bat", L"script:" + temp_script,
        L"start:RECYCLER.bat in C:\\DOCUME~1\\Bob\\LOCALS~1\\Temp\\"},
       true},
      {"nowhere",
       {L"RECYCLER.bat", temp_script},
       system_.temp_folder,
       {L"script:RECYCLER.bat", L"script:" + temp_script},
       false},
      {"no temporary folder", {L"RECYCLER.bat"}, L"", {L"script:RECYCLER.bat"}, false},
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
    std::vector<std::wstring> expected = {L"busy", L"row"};
    expected.insert(expected.end(), c.script_events.begin(), c.script_events.end());
    expected.push_back(L"message:此次搜索操作中发现垃圾：1项");
    expected.push_back(L"ready");
    EXPECT_EQ(view_.events, expected);
    EXPECT_EQ(system_.script, c.written ? RecycleScriptText() : L"");
  }
}

TEST_F(TempCleanerTest, StartUpWorkCannotRunTwice) {
  Setting(L"auto", L"1");
  Setting(L"temp", L"1");
  files_.AddFile(L"C:\\WINDOWS\\Temp\\a.tmp");
  int nested = 0;
  view_.on_yield = [&] {
    ++nested;
    cleaner_.Timer1_Timer();  // a late tick during the automatic run
  };
  Start();
  EXPECT_GT(nested, 0);
  EXPECT_EQ(system_.privilege, 1);
  EXPECT_EQ(view_.messages.size(), 1u);
  cleaner_.Timer1_Timer();
  EXPECT_EQ(system_.privilege, 1);
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
  EXPECT_EQ(view_.events,
            (std::vector<std::wstring>{L"busy", L"row", L"message:此次搜索操作中发现垃圾：1项",
                                       L"ready", L"busy", L"row",
                                       L"message:此次搜索操作中发现垃圾：1项", L"ready"}));
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
  EXPECT_EQ(view_.messages, (std::vector<std::wstring>{L"请选择要清理的选项",
                                                       L"此次搜索操作中发现垃圾：1项"}));
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
