#include "junk-cleaner/junk_cleaner_window_win.h"

#include <gtest/gtest.h>

#include <set>

#include "common/text_rules.h"
#include "testing/win_test_support_win.h"
#include "window-look/skin_engine_win.h"

namespace junkclean {
namespace {

using testing_support::FileExists;
using testing_support::MessageBoxAnswerer;

// Junk below a folder, found by a listing of its own: files whose last four
// characters are one of the 25 endings, not below dot folders or links;
// and the sum of their sizes.
void ExpectedJunk(const std::wstring& folder,
                  std::set<std::wstring>* junk,
                  uint64_t* bytes = nullptr) {
  static const wchar_t* const kEndings[] = {
      L".tmp", L"._mp", L".syd", L".gid", L".old", L".bak", L".chk", L".fts", L".ftg",
      L".prv", L".wbk", L".xlk", L".~mp", L".pch", L".err", L".$$$", L".---", L".___",
      L".??$", L".?~?", L".%%%", L".@@@", L"cdr_", L"temp", L"#Res"};
  WIN32_FIND_DATAW data;
  HANDLE find = ::FindFirstFileW((folder + L"*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE)
    return;
  do {
    const std::wstring name = data.cFileName;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (name[0] != L'.' && !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        ExpectedJunk(folder + name + L"\\", junk, bytes);
      continue;
    }
    const std::wstring ending = common::RightChars(folder + name, 4);
    for (const wchar_t* e : kEndings) {
      if (ending == e && junk->insert(folder + name).second && bytes)
        *bytes += (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
  } while (::FindNextFileW(find, &data));
  ::FindClose(find);
}

class JunkCleanerWindowTest : public ::testing::Test {
 protected:
  std::unique_ptr<JunkCleanerWindow> Open() {
    auto window = std::make_unique<JunkCleanerWindow>();
    window->exit_action = [this] { ++exits_; };
    window->quit_on_destroy = false;
    EXPECT_TRUE(window->Open());
    return window;
  }
  bool Ticked(JunkCleanerWindow& w, int box) {
    return ::SendMessageW(w.check(box), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  int exits_ = 0;
};

TEST_F(JunkCleanerWindowTest, StartsWithEveryTypeTickedAndItsTexts) {
  // No Z: in this prefix: the walk cannot reach the host.
  EXPECT_EQ(::GetDriveTypeW(L"Z:\\"), static_cast<UINT>(DRIVE_NO_ROOT_DIR));
  auto w = Open();
  EXPECT_EQ(common::WindowText(w->hwnd()), L"临时文件清除工具");
  EXPECT_EQ(common::WindowText(w->title()), L"junksweep － Tovrix");
  EXPECT_EQ(common::WindowText(w->frame()), L"请选择要清理的文件格式：");
  EXPECT_EQ(common::WindowText(w->textPath()), L"全盘扫描");
  for (int box = kFirstType; box <= kLastType; ++box) {
    EXPECT_TRUE(Ticked(*w, box)) << box;
    EXPECT_EQ(common::WindowText(w->check(box)), TypeOf(box).caption);
  }
  EXPECT_EQ(common::WindowText(w->check(kCustomBox)), L"自定义：");
  EXPECT_EQ(common::WindowText(w->check(kSelectAll)), L"全  选");
  EXPECT_FALSE(Ticked(*w, kCustomBox));
  EXPECT_TRUE(Ticked(*w, kSelectAll));
  EXPECT_FALSE(::IsWindowEnabled(w->custom(CustomField::kText1)));
  EXPECT_FALSE(::IsWindowEnabled(w->custom(CustomField::kText27)));
  EXPECT_FALSE(::IsWindowVisible(w->cmdExit()));
  EXPECT_FALSE(::IsWindowEnabled(w->cmdStop()));

  // The custom box shows its hint with the program's title, no icon.
  MessageBoxAnswerer answerer;
  ::SendMessageW(w->check(kCustomBox), BM_CLICK, 0, 0);
  ASSERT_EQ(answerer.boxes().size(), 1u);
  EXPECT_EQ(answerer.boxes()[0].text, L"无须输入*号，可直接输入点后缀名，例如： .exe .mp3 等等！");
  EXPECT_EQ(answerer.boxes()[0].title, L"junksweep");
  EXPECT_EQ(answerer.boxes()[0].icon, 0u);
  EXPECT_EQ(answerer.boxes()[0].buttons, (std::vector<int>{IDOK}));
  EXPECT_TRUE(::IsWindowEnabled(w->custom(CustomField::kText1)));
  ::SendMessageW(w->check(kCustomBox), BM_CLICK, 0, 0);
  EXPECT_FALSE(::IsWindowEnabled(w->custom(CustomField::kText27)));
}

TEST_F(JunkCleanerWindowTest, RunStoppedAtOnceStillEndsWithTheClosingMessage) {
  auto w = Open();
  MessageBoxAnswerer answerer;
  answerer.QueueAnswer(IDOK);  // the stop question's default is Cancel
  ::PostMessageW(w->cmdSearch(), WM_KEYDOWN, VK_ESCAPE, 0);
  ::SendMessageW(w->cmdSearch(), BM_CLICK, 0, 0);
  ASSERT_EQ(answerer.boxes().size(), 2u);
  EXPECT_EQ(answerer.boxes()[0].text, L"正在搜索你确定要终止吗？");
  EXPECT_EQ(answerer.boxes()[0].default_button, IDCANCEL);
  EXPECT_EQ(answerer.boxes()[1].text,
            L"此次搜索操作中发现垃圾：" + std::to_wstring(w->results().RowCount()) + L"项！！！");
  EXPECT_EQ(answerer.boxes()[1].icon, static_cast<UINT>(MB_ICONINFORMATION));
  EXPECT_TRUE(::IsWindowEnabled(w->cmdSearch()));
  EXPECT_FALSE(::IsWindowEnabled(w->cmdStop()));
  EXPECT_EQ(::GetFocus(), w->cmdSearch());
  EXPECT_FALSE(w->logic().flags().scanRunning);
  EXPECT_FALSE(w->logic().flags().stopRequested);
  // Stopped at the first directory entry: nothing was deleted.
  EXPECT_EQ(w->results().RowCount(), 0);
  EXPECT_TRUE(FileExists(L"C:\\junk\\a.tmp"));
}

TEST_F(JunkCleanerWindowTest, WholeDiskRunDeletesExactlyTheJunkOfTheVisitedDrives) {
  ASSERT_TRUE(::SetFileAttributesW(L"C:\\junk\\hidden.bak",
                                   FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(::GetDriveTypeW(L"D:\\"), static_cast<UINT>(DRIVE_CDROM));
  EXPECT_EQ(::GetDriveTypeW(L"F:\\"), static_cast<UINT>(DRIVE_REMOTE));
  EXPECT_EQ(::GetDriveTypeW(L"H:\\"), static_cast<UINT>(DRIVE_REMOVABLE));
  // A file a program holds open stays, and frees nothing.
  const std::wstring held = L"C:\\junk\\held.tmp";
  ASSERT_TRUE(testing_support::WriteFileBytes(held, std::string(6000, 'h')));
  std::set<std::wstring> expected;
  uint64_t bytes = 0;
  for (const wchar_t* fixed : {L"C:\\", L"E:\\", L"G:\\"})
    ExpectedJunk(fixed, &expected, &bytes);
  uint64_t autorun_bytes = 0;
  {
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(::GetFileAttributesExW(L"E:\\autorun.inf", GetFileExInfoStandard, &data));
    autorun_bytes = data.nFileSizeLow;
  }
  HANDLE holder = ::CreateFileW(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  for (const wchar_t* planted :
       {L"C:\\junk\\a.tmp", L"C:\\junk\\sub\\b.chk", L"C:\\junk\\hidden.bak", L"C:\\junk\\x.temp",
        L"C:\\junk\\mytemp", L"E:\\e.tmp", L"E:\\deep\\deeper\\f.$$$", L"G:\\g.tmp"})
    EXPECT_EQ(expected.count(planted), 1u) << planted;
  // The network drive's files, byte for byte, as the fixture wrote them.
  const struct {
    const wchar_t* path;
    std::string bytes;
  } share[] = {{L"F:\\报告.doc.bak", "report of 2026\r\n"},
               {L"F:\\backup\\db.old", "database copy"},
               {L"F:\\x.tmp", "temporary"},
               {L"F:\\autorun.inf", "[autorun]\r\nicon=share.ico\r\n"}};

  auto w = Open();
  MessageBoxAnswerer answerer;
  ::SendMessageW(w->cmdSearch(), BM_CLICK, 0, 0);
  ::CloseHandle(holder);
  ASSERT_EQ(answerer.boxes().size(), 1u);
  const int rows = w->results().RowCount();
  EXPECT_EQ(answerer.boxes()[0].text,
            L"此次搜索操作中发现垃圾：" + std::to_wstring(rows) + L"项！！！");
  // The second panel: what went, the autorun.inf included, in Windows'
  // units, kept after the run.
  EXPECT_EQ(w->results().ShownFreed(), engine::FreedText(bytes - 6000 + autorun_bytes));

  std::set<std::wstring> deleted;
  bool autorun = false;
  for (int r = 0; r < rows; ++r) {
    const std::wstring item = w->results().CellText(r, 0);
    if (item == L"autorun.inf") {
      EXPECT_EQ(w->results().CellText(r, 1), L"E:\\autorun.inf");
      EXPECT_EQ(w->results().CellText(r, 2), L"删除成功");
      autorun = true;
      continue;
    }
    EXPECT_EQ(w->results().CellText(r, 2), item == held ? L"清除失败" : L"清除成功") << item;
    EXPECT_NE(item.substr(0, 3), L"F:\\") << item;
    deleted.insert(item);
  }
  EXPECT_TRUE(autorun);
  EXPECT_EQ(deleted, expected);
  for (const auto& path : expected)
    EXPECT_EQ(FileExists(path), path == held) << path;
  ::DeleteFileW(held.c_str());
  EXPECT_FALSE(FileExists(L"E:\\autorun.inf"));
  // Not junk, not reached, or behind a link: all still there.
  for (const wchar_t* kept :
       {L"C:\\junk\\REPORT.TMP", L"C:\\junk\\.cache\\cached.tmp", L"C:\\junk\\keep.txt",
        L"E:\\photo.jpeg", L"E:\\link\\precious.tmp", L"E:\\link\\precious.bak",
        L"D:\\on-cdrom.tmp", L"H:\\on-floppy.tmp", L"I:\\after-floppy.tmp",
        L"E:\\zdocs\\a.docx", L"E:\\zdocs\\b.doc"})
    EXPECT_TRUE(FileExists(kept)) << kept;
  for (const auto& f : share) {
    std::string bytes;
    EXPECT_TRUE(testing_support::ReadFileBytes(f.path, &bytes) && bytes == f.bytes) << f.path;
  }
  EXPECT_EQ(::GetFocus(), w->cmdSearch());
}

// A custom ending typed during a run, its characters posted to the focused
// field as the keyboard's come: ".doc" on the way to ".docx" deletes no ".doc" file of that run;
// the text stays in the field and the next run takes it, cut to "docx".
TEST_F(JunkCleanerWindowTest, CustomEndingTypedDuringARunWaitsForTheNextRun) {
  auto w = Open();
  {
    MessageBoxAnswerer hint;
    ::SendMessageW(w->check(kCustomBox), BM_CLICK, 0, 0);
    ASSERT_EQ(hint.boxes().size(), 1u);
  }
  HWND field = w->custom(CustomField::kText27);
  ASSERT_TRUE(::IsWindowEnabled(field));
  MessageBoxAnswerer answerer;
  testing_support::StepTimer typing(20, [&] {
    if (!::IsWindowEnabled(w->cmdStop()))
      return false;
    ::SetFocus(field);  // the user clicks into the field
    testing_support::PostChars(field, L".doc");
    // The keys arrive while the run waits here, inside one of its yields:
    // a short run could otherwise end before they are taken.
    testing_support::PumpUntil([&] { return common::WindowText(field) == L".doc"; }, 5000);
    return true;
  });
  ::SendMessageW(w->cmdSearch(), BM_CLICK, 0, 0);
  ASSERT_TRUE(typing.done());
  ASSERT_EQ(answerer.boxes().size(), 1u);
  EXPECT_EQ(common::WindowText(field), L".doc");
  for (int r = 0; r < w->results().RowCount(); ++r)
    EXPECT_EQ(w->results().CellText(r, 0).find(L".doc"), std::wstring::npos)
        << w->results().CellText(r, 0);
  EXPECT_TRUE(FileExists(L"E:\\zdocs\\b.doc"));
  EXPECT_TRUE(FileExists(L"E:\\zdocs\\a.docx"));

  // The user finishes the word; the next run uses it.
  ::SetFocus(field);
  ::SendMessageW(field, EM_SETSEL, 4, 4);
  testing_support::PostChars(field, L"x");
  testing_support::PumpUntil([&] { return common::WindowText(field) == L".docx"; }, 5000);
  ASSERT_EQ(common::WindowText(field), L".docx");
  ::SendMessageW(w->cmdSearch(), BM_CLICK, 0, 0);
  ASSERT_EQ(answerer.boxes().size(), 2u);
  EXPECT_EQ(common::WindowText(field), L"docx");
  EXPECT_FALSE(FileExists(L"E:\\zdocs\\a.docx"));
  EXPECT_TRUE(FileExists(L"E:\\zdocs\\b.doc"));
}

// ---- on 64-bit Windows ---------------------------------------------------------------

// A whole-disk run as 64-bit Windows shows the disk, for the 32-bit build
// (under WOW64) as for the 64-bit one; in a 32-bit prefix the fixture puts
// a plain SysWOW64 beside the one system folder. Both hold a "sweep._wj"
// (System32's 2 KB, SysWOW64's 3 KB): each is deleted and listed once,
// under its own name.
using Wow64JunkCleanerWindowTest = JunkCleanerWindowTest;

TEST_F(Wow64JunkCleanerWindowTest, SystemFoldersAreEachWalkedAsThemselves) {
  const std::wstring native = testing_support::NativeSystemFolder() + L"\\sweep._wj";
  ASSERT_TRUE(FileExists(native));
  // Only the ending typed, and no autorun row left by an earlier test.
  testing_support::RemoveFile(L"E:\\autorun.inf");
  auto w = Open();
  {
    MessageBoxAnswerer hint;
    ::SendMessageW(w->check(kSelectAll), BM_CLICK, 0, 0);
    ::SendMessageW(w->check(kCustomBox), BM_CLICK, 0, 0);
  }
  ::SetWindowTextW(w->custom(CustomField::kText1), L"._wj");
  MessageBoxAnswerer answerer;
  ::SendMessageW(w->cmdSearch(), BM_CLICK, 0, 0);
  ASSERT_EQ(answerer.boxes().size(), 1u);
  EXPECT_EQ(answerer.boxes()[0].text, L"此次搜索操作中发现垃圾：2项！！！");
  std::vector<std::wstring> rows;
  for (int r = 0; r < w->results().RowCount(); ++r)
    rows.push_back(w->results().CellText(r, 0) + L" " + w->results().CellText(r, 1) + L" " +
                   w->results().CellText(r, 2));
  EXPECT_EQ(rows, (std::vector<std::wstring>{L"C:\\windows\\system32\\sweep._wj 2 kb 清除成功",
                                             L"C:\\windows\\syswow64\\sweep._wj 3 kb 清除成功"}));
  EXPECT_FALSE(FileExists(native));
  EXPECT_FALSE(FileExists(L"C:\\windows\\syswow64\\sweep._wj"));
}

// ---- at each display density --------------------------------------------------------

using testing_support::ByDensity;

class DensityJunkCleanerWindowTest : public JunkCleanerWindowTest {
 protected:
  void SetUp() override { ASSERT_EQ(common::ScreenDpi(), testing_support::RequestedTestDpi()); }
};

// The window is laid out for the usual display (680 by 480 pixels) and
// grows with the density; no caption of the 28 boxes is cut, nor any
// other text.
TEST_F(DensityJunkCleanerWindowTest, TheWindowHasTheSizesOfItsTwips) {
  auto w = Open();
  const SIZE client = testing_support::ClientSize(w->hwnd());
  EXPECT_EQ(client.cx, ByDensity(680, 850, 1020));
  EXPECT_EQ(client.cy, ByDensity(480, 600, 720));
  // Text27 at (420, 111), 64 by 20 pixels of the usual display.
  const RECT field = common::ControlRect(w->custom(CustomField::kText27));
  EXPECT_EQ(field.left, ByDensity(420, 525, 630));
  EXPECT_EQ(field.top, ByDensity(111, 139, 167));
  EXPECT_EQ(field.right, ByDensity(484, 605, 726));
  EXPECT_EQ(field.bottom, ByDensity(131, 164, 197));
  HWND list = w->results().list();
  EXPECT_EQ(ListView_GetColumnWidth(list, 0), ByDensity(400, 500, 600));
  EXPECT_EQ(ListView_GetColumnWidth(list, 1), ByDensity(133, 167, 200));
  EXPECT_EQ(ListView_GetColumnWidth(list, 2), ByDensity(96, 120, 144));
  const RECT box = common::ControlRect(w->check(kFirstType));
  EXPECT_EQ(box.right - box.left, ByDensity(60, 75, 90));
  EXPECT_EQ(testing_support::JoinLines(testing_support::CutTexts(w->hwnd())), L"");
}

}  // namespace
}  // namespace junkclean
