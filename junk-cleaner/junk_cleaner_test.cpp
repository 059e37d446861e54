#include "junk-cleaner/junk_cleaner.h"

#include <gtest/gtest.h>

#include "testing/fake_engine_ports.h"

namespace junkclean {
namespace {

using testing_support::FakeDriveList;
using testing_support::FakeFileSystem;
using testing_support::FakeProcessList;

TEST(JunkCatalogueTest, TheTwentyFiveTypes) {
  const struct {
    int box;
    const wchar_t* caption;
    const wchar_t* ending;
  } table[] = {
      {2, L"*.tmp", L".tmp"},   {3, L"*._mp", L"._mp"},   {4, L"*.syd", L".syd"},
      {5, L"*.gid", L".gid"},   {6, L"*.old", L".old"},   {7, L"*.bak", L".bak"},
      {8, L"*.chk", L".chk"},   {9, L"*.fts", L".fts"},   {10, L"*.ftg", L".ftg"},
      {11, L"*.prv", L".prv"},  {12, L"*.wbk", L".wbk"},  {13, L"*.xlk", L".xlk"},
      {14, L"*.~mp", L".~mp"},  {15, L"*.pch", L".pch"},  {16, L"*.err", L".err"},
      {17, L"*.$$$", L".$$$"},  {18, L"*.---", L".---"},  {19, L"*.___", L".___"},
      {20, L"*.??$", L".??$"},  {21, L"*.?~?", L".?~?"},  {22, L"*.%%%", L".%%%"},
      {23, L"*.@@@", L".@@@"},  {24, L"*.cdr_", L"cdr_"}, {25, L"*.temp", L"temp"},
      {26, L"*.#Res", L"#Res"},
  };
  ASSERT_EQ(std::size(table), 25u);
  for (const auto& t : table) {
    EXPECT_STREQ(TypeOf(t.box).caption, t.caption);
    EXPECT_STREQ(TypeOf(t.box).ending, t.ending);
    EXPECT_EQ(std::wstring(t.ending).size(), 4u);
  }
}

TEST(JunkCatalogueTest, SlotMatching) {
  SuffixSlots slots;
  EXPECT_FALSE(slots.Matches(L"C:\\Text2"));  // placeholders never match
  EXPECT_FALSE(slots.Matches(L"C:\\ext2"));
  slots.set(2, L".tmp");
  slots.set(25, L"temp");
  slots.set(20, L".??$");
  slots.set(1, L".7z");
  const struct {
    const wchar_t* path;
    bool junk;
  } cases[] = {
      {L"C:\\a.tmp", true},  {L"C:\\REPORT.TMP", false}, {L"C:\\.tmp", true},
      {L"C:\\x.temp", true}, {L"C:\\mytemp", true},      {L"C:\\a.??$", true},
      {L"C:\\a.ab$", false}, {L"C:\\a.7z", false},       {L"C:\\tmp", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(slots.Matches(c.path), c.junk) << c.path;
}

TEST(JunkCatalogueTest, CutToTheLastFourCharacters) {
  for (const auto& [typed, cut] : {std::pair{L".jpeg", L"jpeg"}, {L".7z", L".7z"},
                                   {L"*.exe", L".exe"}, {L"", L""}, {L".c", L".c"}})
    EXPECT_EQ(CutEnding(typed), cut) << typed;
}

class FakeView : public JunkCleanerView {
 public:
  void SetCheck(int box, bool ticked) override {
    shown[box] = ticked;
    log.push_back(L"check" + std::to_wstring(box) + (ticked ? L"+" : L"-"));
  }
  void SetCustomText(CustomField f, const std::wstring& t) override {
    (f == CustomField::kText1 ? text1 : text27) = t;
  }
  void EnableCustomField(CustomField f, bool e) override {
    (f == CustomField::kText1 ? text1_enabled : text27_enabled) = e;
    log.push_back(std::wstring(f == CustomField::kText1 ? L"Text1" : L"Text27") +
                  (e ? L" on" : L" off"));
  }
  void SetEnabled(Control c, bool e) override { enabled[static_cast<int>(c)] = e; }
  void SetCancelButton(Control c) override { cancel = c; }
  void Focus(Control c) override { focus = c; }
  void AttachSkins() override { log.push_back(L"skins"); }
  bool EnableDebugPrivilege() override {
    log.push_back(L"privilege");
    return true;
  }
  void ExitProgram() override { ++exits; }
  void ShowHint(const std::wstring& text) override {
    hints.push_back(text);
    log.push_back(L"hint");
  }
  void ClearRows() override { rows.clear(); }
  void AddRow(const std::wstring& item, const std::wstring&, const std::wstring&) override {
    rows.push_back(item);
  }
  int RowCount() override { return static_cast<int>(rows.size()); }
  void SetProgress(const std::wstring&) override {}
  void SetFreed(uint64_t) override {}
  void Yield() override {
    if (on_yield)
      on_yield();
  }
  common::MessageResult ShowMessage(const std::wstring& text,
                                    const std::wstring&,
                                    common::MessageIcon,
                                    common::MessageButtons) override {
    messages.push_back(text);
    return common::MessageResult::kOk;
  }

  bool shown[29] = {};
  std::wstring text1, text27;
  bool text1_enabled = false, text27_enabled = false;
  bool enabled[4] = {};
  Control cancel = Control::kExit, focus = Control::kSearch;
  int exits = 0;
  std::vector<std::wstring> log, hints, rows, messages;
  std::function<void()> on_yield;
};

// A loaded window over one fixed drive.
class JunkCleanerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    drives_.drives = {{L"C:\\", engine::kDriveFixed}};
    cleaner_.Form_Load();
  }
  FakeView view_;
  FakeFileSystem files_;
  FakeDriveList drives_;
  FakeProcessList processes_;
  JunkCleaner cleaner_{view_, files_, drives_, processes_};
};

TEST_F(JunkCleanerTest, LoadTicksEveryTypeThroughSelectAll) {
  EXPECT_EQ(view_.log[0], L"privilege");
  EXPECT_EQ(view_.log[1], L"skins");
  EXPECT_EQ(view_.log[2], L"check28+");
  EXPECT_EQ(view_.log[3], L"check2+");
  EXPECT_EQ(view_.log.back(), L"check26+");
  for (int box = 2; box <= 26; ++box) {
    EXPECT_TRUE(cleaner_.Checked(box));
    EXPECT_EQ(cleaner_.slots().slot(box), TypeOf(box).ending);
  }
  EXPECT_FALSE(cleaner_.Checked(27));
  EXPECT_FALSE(cleaner_.CustomEnabled());
  EXPECT_EQ(cleaner_.slots().slot(1), L"");
  EXPECT_EQ(cleaner_.slots().slot(27), L"");
}

TEST_F(JunkCleanerTest, SelectAllAfterSingleChanges) {
  cleaner_.CheckClicked(7, false);  // *.bak off
  EXPECT_EQ(cleaner_.slots().slot(7), L"");
  EXPECT_TRUE(cleaner_.Checked(28));  // select-all stays ticked
  view_.log.clear();
  cleaner_.CheckClicked(28, false);  // clears all 25
  for (int box = 2; box <= 26; ++box) {
    EXPECT_FALSE(cleaner_.Checked(box));
    EXPECT_EQ(cleaner_.slots().slot(box), L"");
  }
  EXPECT_EQ(view_.log.size(), 24u);  // Check7 was already clear: nothing ran for it
  cleaner_.CheckClicked(3, true);
  view_.log.clear();
  cleaner_.CheckClicked(28, true);  // ticks only those that were clear
  EXPECT_EQ(view_.log.size(), 24u);
  EXPECT_EQ(cleaner_.slots().slot(3), L"._mp");
}

TEST_F(JunkCleanerTest, CustomBoxHintAndFields) {
  view_.log.clear();
  cleaner_.CheckClicked(27, true);
  EXPECT_EQ(view_.log, (std::vector<std::wstring>{L"hint", L"Text1 on", L"Text27 on"}));
  EXPECT_EQ(
      view_.hints,
      (std::vector<std::wstring>{L"无须输入*号，可直接输入点后缀名，例如： .exe .mp3 等等！"}));
  cleaner_.CustomTextChanged(CustomField::kText27, L".jpeg");
  cleaner_.CustomTextChanged(CustomField::kText1, L".7z");
  EXPECT_EQ(cleaner_.CustomText(CustomField::kText27), L".jpeg");
  EXPECT_EQ(cleaner_.slots().slot(27), L"");  // taken up by the next run only
  cleaner_.CheckClicked(27, false);
  EXPECT_EQ(cleaner_.CustomText(CustomField::kText27), L"");
  EXPECT_EQ(cleaner_.CustomText(CustomField::kText1), L"");
  EXPECT_EQ(cleaner_.slots().slot(27), L"");
  EXPECT_EQ(cleaner_.slots().slot(1), L"");
  EXPECT_FALSE(view_.text1_enabled);
  EXPECT_FALSE(view_.text27_enabled);
  cleaner_.CheckClicked(27, true);
  EXPECT_EQ(view_.hints.size(), 2u);  // every tick
  // Select-all leaves the custom box alone.
  cleaner_.CheckClicked(28, false);
  EXPECT_TRUE(cleaner_.Checked(27));
}

TEST_F(JunkCleanerTest, RunCutsTheCustomEndingsAndWalksEveryDrive) {
  cleaner_.CheckClicked(27, true);
  cleaner_.CustomTextChanged(CustomField::kText27, L".jpeg");
  cleaner_.CustomTextChanged(CustomField::kText1, L".7z");
  files_.AddFile(L"C:\\a.jpeg");
  files_.AddFile(L"C:\\bjpeg");
  files_.AddFile(L"C:\\c.7z");
  files_.AddFile(L"C:\\d.tmp");
  cleaner_.cmdSearch_Click();
  EXPECT_EQ(view_.text27, L"jpeg");
  EXPECT_EQ(view_.text1, L".7z");
  EXPECT_EQ(view_.rows, (std::vector<std::wstring>{L"C:\\a.jpeg", L"C:\\bjpeg", L"C:\\d.tmp"}));
  EXPECT_EQ(view_.messages, (std::vector<std::wstring>{L"此次搜索操作中发现垃圾：3项！！！"}));
  EXPECT_EQ(view_.focus, Control::kSearch);
  EXPECT_EQ(view_.cancel, Control::kExit);
}

TEST_F(JunkCleanerTest, BoxChangedDuringARunAppliesFromTheNextFile) {
  for (const wchar_t* f : {L"C:\\1.tmp", L"C:\\2.tmp", L"C:\\3.bak", L"C:\\4.tmp"})
    files_.AddFile(f);
  bool busy_seen = false;
  view_.on_yield = [&] {
    busy_seen |= view_.focus == Control::kStop && view_.cancel == Control::kStop;
    if (view_.rows.size() == 1 && cleaner_.Checked(2))
      cleaner_.CheckClicked(2, false);
  };
  cleaner_.cmdSearch_Click();
  EXPECT_TRUE(busy_seen);
  EXPECT_EQ(view_.rows, (std::vector<std::wstring>{L"C:\\1.tmp", L"C:\\3.bak"}));
}

// Typing ".docx" passes through ".doc": what is typed during a run waits
// in the field for the next run, also when the field was empty at the
// start; unticking the custom box during a run stops its endings at once.
TEST_F(JunkCleanerTest, CustomEndingsOfARunAreTheOnesCutAtItsStart) {
  cleaner_.CheckClicked(kSelectAll, false);
  cleaner_.CheckClicked(27, true);
  cleaner_.CustomTextChanged(CustomField::kText1, L".old1");  // cut to "old1"
  for (const wchar_t* f : {L"C:\\a\\1.doc", L"C:\\a\\2.docx", L"C:\\a\\3.old1", L"C:\\b\\4.doc",
                           L"C:\\b\\5.docx", L"C:\\b\\6.old1"})
    files_.AddFile(f);
  // ".doc" from the first entry on, ".docx" after the first row.
  view_.on_yield = [&] {
    if (cleaner_.CustomText(CustomField::kText27).empty())
      cleaner_.CustomTextChanged(CustomField::kText27, L".doc");
    else if (view_.rows.size() == 1)
      cleaner_.CustomTextChanged(CustomField::kText27, L".docx");
  };
  cleaner_.cmdSearch_Click();
  EXPECT_EQ(view_.rows, (std::vector<std::wstring>{L"C:\\a\\3.old1", L"C:\\b\\6.old1"}));
  EXPECT_EQ(cleaner_.CustomText(CustomField::kText27), L".docx");  // kept in the field

  view_.on_yield = nullptr;
  cleaner_.cmdSearch_Click();
  EXPECT_EQ(view_.text27, L"docx");
  EXPECT_EQ(view_.rows, (std::vector<std::wstring>{L"C:\\a\\2.docx", L"C:\\b\\5.docx"}));

  // Unticking the box during a run: from the next file on, no custom ending.
  for (const wchar_t* f : {L"C:\\c\\7.docx", L"C:\\c\\8.docx"})
    files_.AddFile(f);
  view_.on_yield = [&] {
    if (view_.rows.size() == 1 && cleaner_.Checked(27))
      cleaner_.CheckClicked(27, false);
  };
  cleaner_.cmdSearch_Click();
  EXPECT_EQ(view_.rows, (std::vector<std::wstring>{L"C:\\c\\7.docx"}));
}

TEST_F(JunkCleanerTest, EscapeAndExit) {
  cleaner_.EscapePressed();  // ready: nothing
  EXPECT_TRUE(view_.messages.empty());
  EXPECT_EQ(view_.exits, 0);
  files_.AddFile(L"C:\\1.tmp");
  files_.AddFile(L"C:\\2.tmp");
  view_.on_yield = [&] {
    if (cleaner_.flags().scanRunning)
      cleaner_.EscapePressed();
  };
  cleaner_.cmdSearch_Click();
  EXPECT_EQ(view_.messages.front(), L"正在搜索你确定要终止吗？");
  EXPECT_EQ(view_.messages.back(), L"此次搜索操作中发现垃圾：0项！！！");
  cleaner_.cmdExit_Click();
  cleaner_.Form_Unload();
  EXPECT_EQ(view_.exits, 2);
}

}  // namespace
}  // namespace junkclean
