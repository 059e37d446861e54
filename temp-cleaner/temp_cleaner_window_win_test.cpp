#include "temp-cleaner/temp_cleaner_window_win.h"

#include <gtest/gtest.h>

#include "common/text_rules.h"
#include "temp-cleaner/recycle_script.h"
#include "testing/temp_cleaner_window_support_win.h"
#include "window-look/skin_engine_win.h"

namespace tempclean {
namespace {

using namespace window_test;

std::wstring SettingsPath() {
  return WindowsFolder() + L"\\qz64temp.ini";
}

void WriteSettings(std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> values) {
  ::DeleteFileW(SettingsPath().c_str());
  for (const auto& [key, value] : values)
    ::WritePrivateProfileStringW(L"Option", key, value, L"qz64temp.ini");
}

// What a clean walk should delete below a folder, found by a listing of
// its own: every file except .dat/.log/.ini, not below folders whose names
// begin with a dot, with its size as the list shows it; and the sum of
// their sizes.
void ExpectedRows(const std::wstring& folder,
                  std::map<std::wstring, std::wstring>* rows,
                  uint64_t* bytes) {
  Files files;
  Collect(folder, &files);
  for (const auto& [path, content] : files) {
    const std::wstring ending = common::RightChars(path, 4);
    if (path.find(L"\\.", folder.size()) < path.rfind(L'\\') || ending == L".dat" ||
        ending == L".log" || ending == L".ini")
      continue;
    (*rows)[path] = std::to_wstring(content.size() / 1024) + L" kb";
    *bytes += content.size();
  }
}

class TempCleanerWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { ::DeleteFileW(SettingsPath().c_str()); }
  void TearDown() override { ::DeleteFileW(SettingsPath().c_str()); }
  std::unique_ptr<TempCleanerWindow> Open() { return OpenWindow(system_, &exits_); }

  QuietSystem system_;
  int exits_ = 0;
};

TEST_F(TempCleanerWindowTest, ControlsCarryTheirTexts) {
  auto w = Open();
  EXPECT_EQ(common::WindowText(w->hwnd()), L"临时文件清除工具");
  EXPECT_EQ(common::WindowText(w->label(3)), L"临时文件清理 - Tovrix");
  EXPECT_EQ(common::WindowText(w->frame()), L"请选择要清理的项目：");
  const wchar_t* captions[] = {L"回收站",         L"tmpsweep",   L"Cookies",
                               L"最近使用的文档", L"IE临时文件", L"IE历史记录"};
  for (int box = 1; box <= 6; ++box) {
    EXPECT_EQ(common::WindowText(w->check(box)), captions[box - 1]);
    EXPECT_EQ(::IsWindowVisible(w->check(box)) != FALSE, box <= 5) << box;
  }
  EXPECT_EQ(common::WindowText(w->label(4)), L"开机启动");
  EXPECT_EQ(common::WindowText(w->label(5)), L"自动清理");
  EXPECT_EQ(common::WindowText(w->cmdSearch()), L"开始清理");
  EXPECT_EQ(common::WindowText(w->cmdStop()), L"停止");
  EXPECT_FALSE(::IsWindowEnabled(w->cmdStop()));
  EXPECT_EQ(common::WindowText(w->cmdExit()), L"退出(&C)");
  EXPECT_FALSE(::IsWindowVisible(w->cmdExit()));
  EXPECT_FALSE(::IsWindowVisible(w->textPath()));
  EXPECT_EQ(common::WindowText(w->chrome().minimise_button()), L"Mini");
  // The skin engine took over the push buttons.
  EXPECT_NE(::GetPropW(w->cmdSearch(), L"PROCADDR"), nullptr);
  EXPECT_EQ(look::PropValue(w->cmdStop(), L"OLDSTATE"), 3);
  // The two labels carry their tips (the tip window belongs to the
  // window), and so do the boxes of the browser's cookies and cache, which
  // name what they clean here: Internet Explorer alone on a machine
  // without other browsers.
  HWND tips = w->tooltip();
  wchar_t cls[64] = {};
  ::GetClassNameW(tips, cls, 64);
  EXPECT_EQ(_wcsicmp(cls, TOOLTIPS_CLASSW), 0) << cls;
  EXPECT_EQ(::GetWindow(tips, GW_OWNER), w->hwnd());
  EXPECT_EQ(::SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 4);
  EXPECT_EQ(TipText(*w, w->label(4)), L"开机自动启动");
  EXPECT_EQ(TipText(*w, w->label(5)), L"启动软件后自动清理");
  EXPECT_EQ(TipText(*w, w->check(3)), L"清除 Internet Explorer 的 Cookies");
  EXPECT_EQ(TipText(*w, w->check(5)), L"清除 Internet Explorer 的网页缓存");
}

TEST_F(TempCleanerWindowTest, AutomaticCleaningAtStartWithoutAClick) {
  WriteSettings({{L"auto", L"1"}, {L"temp", L"1"}});
  const std::wstring temp = WindowsFolder() + L"\\Temp";
  // Windows XP (the fixture's): the fixed folders of the user's profile.
  const std::wstring user_temp =
      L"C:\\Documents and Settings\\" + UserName() + L"\\Local Settings\\Temp";
  // A file a program holds open stays, and frees nothing.
  const std::wstring held = temp + L"\\held.tmp";
  const std::pair<std::wstring, size_t> planted[] = {
      {temp + L"\\a.tmp", 2500},      {temp + L"\\b.txt", 5000},
      {temp + L"\\sub\\c.bin", 1024}, {temp + L"\\sub\\deeper\\d.bin", 0},
      {temp + L"\\keep.log", 1},      {temp + L"\\keep.ini", 1},
      {temp + L"\\keep.dat", 1},      {temp + L"\\.cache\\cached.tmp", 1},
      {user_temp + L"\\u.tmp", 3000}, {held, 9000}};
  for (const auto& [file, size] : planted)
    Plant(file, size);
  std::map<std::wstring, std::wstring> expected;
  uint64_t bytes = 0;
  for (const std::wstring& f : {WindowsFolder() + L"\\Prefetch", user_temp, temp})
    ExpectedRows(f, &expected, &bytes);
  ASSERT_GE(expected.size(), 6u);
  HANDLE holder = ::CreateFileW(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);

  MessageBoxAnswerer answerer;
  const DWORD start = ::GetTickCount();
  auto w = Open();
  ASSERT_TRUE(PumpUntil([&] { return !answerer.boxes().empty(); }, 8000));
  const DWORD elapsed = ::GetTickCount() - start;
  // The start-up timer's two seconds and the run; an emulated tree's run
  // takes several times as long.
  EXPECT_LT(elapsed, testing_support::WaitLimit(4000));
  EXPECT_GE(elapsed, 1500u);  // the start-up timer, not the load

  ::CloseHandle(holder);
  std::map<std::wstring, std::wstring> outcomes;
  for (const auto& [item, size] : expected)
    outcomes[item] = item == held ? L"清除失败" : L"清除成功";
  EXPECT_EQ(Rows(*w), outcomes);
  EXPECT_EQ(Rows(*w, 1), expected);
  EXPECT_TRUE(FileExists(held));
  // The second panel: what went, in Windows' units, kept after the run.
  EXPECT_EQ(w->results().ShownFreed(), engine::FreedText(bytes - 9000));
  ::DeleteFileW(held.c_str());
  EXPECT_EQ(answerer.boxes()[0].text,
            L"此次搜索操作中发现垃圾：" + std::to_wstring(expected.size()) + L"项");
  EXPECT_EQ(answerer.boxes()[0].title, L"提示");
  EXPECT_EQ(answerer.boxes()[0].icon, static_cast<UINT>(MB_ICONQUESTION));
  for (const wchar_t* kept : {L"\\keep.log", L"\\keep.ini", L"\\keep.dat", L"\\.cache\\cached.tmp"})
    EXPECT_TRUE(FileExists(temp + kept)) << kept;
  EXPECT_FALSE(FileExists(temp + L"\\a.tmp"));
  EXPECT_TRUE(Ticked(*w, 2));
  EXPECT_TRUE(Ticked(*w, 7));
  EXPECT_TRUE(::IsWindowEnabled(w->cmdSearch()));
  EXPECT_FALSE(::IsWindowEnabled(w->cmdStop()));
  EXPECT_EQ(w->logic().Text(7).substr(0, 2), L"5.");
  EXPECT_EQ(w->logic().Text(2), L";" + WindowsFolder() + L"\\Prefetch;" + user_temp + L";" +
                                    WindowsFolder() + L"\\Temp");
}

TEST_F(TempCleanerWindowTest, RunValueThroughTheOptionBoxes) {
  auto w = Open();
  Click(w->check(8));
  EXPECT_TRUE(Ticked(*w, 8));
  EXPECT_TRUE(Ticked(*w, 7));  // start with Windows implies automatic cleaning
  std::wstring data;
  ASSERT_TRUE(common::ReadRunValue(L"AutoQz64", &data));
  EXPECT_EQ(data, testing_support::TestProgramFolder() + L"\\temp-cleaner_win_tests.Exe");
  wchar_t value[16] = {};
  ::GetPrivateProfileStringW(L"Option", L"run", L"", value, 16, L"qz64temp.ini");
  EXPECT_STREQ(value, L"1");
  // The Windows folder can be written here: the file is there, no copy.
  EXPECT_TRUE(FileExists(SettingsPath()));
  EXPECT_FALSE(FileExists(testing_support::VirtualStoreCopy(SettingsPath())));

  ClickLabel(w->label(5));  // clears Check7, which clears Check8
  EXPECT_FALSE(Ticked(*w, 7));
  EXPECT_FALSE(Ticked(*w, 8));
  EXPECT_FALSE(common::ReadRunValue(L"AutoQz64", &data));
  // Deleting a value that is already gone changes nothing, shows nothing.
  MessageBoxAnswerer answerer;
  Click(w->check(8));
  common::DeleteRunValue(L"AutoQz64");
  Click(w->check(8));
  EXPECT_FALSE(Ticked(*w, 8));
  EXPECT_TRUE(answerer.boxes().empty());
}

// Escape as the keyboard gives it, pressed while a run is in progress: it
// goes to the focused window, which is cmdStop once the window is busy.
// In the user's run Cancel lets the run go on; in the automatic run OK
// stops it. After either run the keyboard still works.
TEST_F(TempCleanerWindowTest, EscapeFromTheKeyboardDuringARunAsksTheStopQuestion) {
  const std::wstring many = WindowsFolder() + L"\\Temp\\many";
  for (const bool automatic : {false, true}) {
    MakeFolders(many);
    for (int i = 0; i < 400; ++i)
      ASSERT_TRUE(WriteFileBytes(many + L"\\f" + std::to_wstring(i) + L".bin", "x"));
    if (automatic)
      WriteSettings({{L"auto", L"1"}, {L"temp", L"1"}});
    else
      WriteSettings({});
    auto w = Open();
    MessageBoxAnswerer answerer;
    answerer.QueueAnswer(automatic ? IDOK : IDCANCEL);
    testing_support::StepTimer escape(20, [&] {
      if (!::IsWindowEnabled(w->cmdStop()))
        return false;
      testing_support::PressKey(VK_ESCAPE);
      return true;
    });
    if (automatic) {
      ASSERT_TRUE(PumpUntil([&] { return answerer.boxes().size() >= 2; }, 15000));
    } else {
      Click(w->check(2));
      Click(w->cmdSearch());
    }
    ASSERT_TRUE(escape.done()) << automatic;
    ASSERT_GE(answerer.boxes().size(), 2u) << automatic;
    const auto& question = answerer.boxes()[0];
    EXPECT_EQ(question.text, L"正在清理你确定要终止吗？");
    EXPECT_EQ(question.title, L"提示");
    EXPECT_EQ(question.icon, static_cast<UINT>(MB_ICONINFORMATION));
    EXPECT_EQ(question.buttons, (std::vector<int>{IDOK, IDCANCEL}));
    EXPECT_EQ(question.default_button, IDCANCEL);
    EXPECT_EQ(answerer.boxes().back().text.rfind(L"此次搜索操作中", 0), 0u);  // the summary
    // Cancel: the run went on to the end. OK: it stopped before it.
    EXPECT_EQ(FileExists(many + L"\\f399.bin"), automatic);
    // The keyboard works after the run: the focus is on cmdSearch, Tab
    // moves it on, and Escape in the ready state does nothing.
    EXPECT_EQ(::GetFocus(), w->cmdSearch()) << automatic;
    testing_support::PressKey(VK_TAB);
    testing_support::PumpFor(100);
    HWND focus = ::GetFocus();
    EXPECT_TRUE(focus != nullptr && focus != w->cmdSearch() && ::IsChild(w->hwnd(), focus));
    const size_t boxes = answerer.boxes().size();
    testing_support::PressKey(VK_ESCAPE);
    testing_support::PumpFor(100);
    EXPECT_EQ(answerer.boxes().size(), boxes);
    EXPECT_EQ(exits_, 0);
    testing_support::RemoveTree(many);
  }
}

// The start-up timer fires while a run of the user's (or the refusal box
// of an early click, with nothing ticked yet) is in progress: no second run
// starts inside it; the automatic run follows once it has ended.
TEST_F(TempCleanerWindowTest, StartUpTimerDuringARunStartsNoSecondRun) {
  const std::wstring temp = WindowsFolder() + L"\\Temp\\early";
  for (const bool users_run : {true, false}) {
    WriteSettings({{L"auto", L"1"}, {L"temp", L"1"}});
    Plant(temp + L"\\e.tmp", 1);
    MessageBoxAnswerer answerer;
    std::vector<HWND> seen;
    std::vector<bool> inside_another;
    answerer.on_box = [&](HWND box) {
      bool open = false;
      for (HWND earlier : seen)
        open |= ::IsWindow(earlier) != FALSE;
      inside_another.push_back(open);
      seen.push_back(box);
      if (seen.size() == 1)
        testing_support::PumpFor(2600);  // the start-up timer fires meanwhile
    };
    auto w = Open();
    if (users_run)
      Click(w->check(3));  // Cookies, before the start-up work
    Click(w->cmdSearch());
    ASSERT_EQ(answerer.boxes().size(), 2u) << users_run;
    EXPECT_EQ(inside_another, (std::vector<bool>{false, false})) << users_run;
    EXPECT_EQ(answerer.boxes()[0].text,
              users_run ? L"此次搜索操作中没有发现垃圾！" : L"请选择要清理的选项");
    EXPECT_EQ(answerer.boxes()[0].title, users_run ? L"提示" : L"提示：");
    EXPECT_EQ(answerer.boxes()[1].text.rfind(L"此次搜索操作中发现垃圾：", 0), 0u);
    EXPECT_FALSE(FileExists(temp + L"\\e.tmp"));
    EXPECT_TRUE(Ticked(*w, 2));
    EXPECT_TRUE(::IsWindowEnabled(w->cmdSearch()));
    EXPECT_FALSE(::IsWindowEnabled(w->cmdStop()));
  }
}

// C:\Recycled is a link to the user's documents (from the fixture), and
// C:\Recycler is real: an automatic run with the recycle-bin category ticked
// empties the real recycle-bin folders, leaves every document, and writes
// the script in the Chinese code page and starts it.
TEST_F(TempCleanerWindowTest, RecycleBinLinkStaysAndTheScriptIsWrittenInGbk) {
  ASSERT_TRUE(::GetFileAttributesW(L"C:\\Recycled") & FILE_ATTRIBUTE_REPARSE_POINT);
  Plant(L"C:\\Recycler\\S-1-5\\Dc2.txt", 7);
  ::DeleteFileW(kScriptName);
  WriteSettings({{L"auto", L"1"}, {L"Rec", L"1"}});
  MessageBoxAnswerer answerer;
  auto w = Open();
  ASSERT_TRUE(PumpUntil([&] { return !answerer.boxes().empty(); }, 8000));
  EXPECT_EQ(Rows(*w),
            (std::map<std::wstring, std::wstring>{{L"C:\\Recycler\\S-1-5\\Dc2.txt", L"清除成功"}}));
  EXPECT_TRUE(FileExists(L"C:\\mydocs\\letter.doc"));
  EXPECT_TRUE(FileExists(L"C:\\mydocs\\photo.jpg"));
  ASSERT_EQ(answerer.boxes().size(), 1u);
  EXPECT_EQ(answerer.boxes()[0].text, L"此次搜索操作中发现垃圾：1项");
  std::string bytes;
  ASSERT_TRUE(testing_support::ReadFileBytes(kScriptName, &bytes));
  EXPECT_EQ(bytes.size(), 512u);
  EXPECT_EQ(bytes, common::AnsiCodePage(936).Encode(RecycleScriptText()));
  EXPECT_EQ(system_.started, (std::vector<std::wstring>{L"RECYCLER.bat"}));
  ::DeleteFileW(kScriptName);
}

// Started from the Run key, the program works in the system folder, which a
// limited user cannot write (here C:\locked, which the fixture locks). The
// script is written to the temporary folder instead, started there, and its
// last line removes it. The folder holds a stand-in for taskkill (the
// command interpreter looks in the working directory first), which records
// that the script ran there and keeps the desktop shell of the test session
// alive.
TEST_F(TempCleanerWindowTest, RecycleScriptWhereTheWorkingDirectoryCannotBeWritten) {
  const std::wstring locked = L"C:\\locked";
  ASSERT_TRUE(testing_support::FolderRefusesNewFiles(locked));
  const std::wstring temp = common::TempFolder();
  ASSERT_FALSE(temp.empty());
  const std::wstring stand_in = common::JoinPath(temp, L"taskkill.exe");
  const std::wstring script = common::JoinPath(temp, kScriptName);
  ASSERT_TRUE(
      ::CopyFileW((testing_support::TestProgramFolder() + L"\\cmdline_recorder.exe").c_str(),
                  stand_in.c_str(), FALSE));
  const std::wstring record = testing_support::TestProgramFolder() + L"\\record_script.txt";
  ::DeleteFileW(record.c_str());
  ::SetEnvironmentVariableW(L"SUITE_RECORD", record.c_str());
  Plant(L"C:\\Recycler\\S-1-5\\Dc1.txt", 7);

  wchar_t before[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, before);
  ASSERT_TRUE(::SetCurrentDirectoryW(locked.c_str()));
  Win32TempCleanerSystem system;  // the script really starts
  MessageBoxAnswerer answerer;
  {
    auto w = OpenWindow(system);
    EXPECT_TRUE(PumpUntil([&] { return w->logic().Text(7) != L"版本号"; }, 5000));
    Click(w->check(1));
    Click(w->cmdSearch());
    ASSERT_EQ(answerer.boxes().size(), 1u);
    EXPECT_EQ(answerer.boxes()[0].text, L"此次搜索操作中发现垃圾：1项");
  }
  ::SetCurrentDirectoryW(before);
  EXPECT_FALSE(FileExists(locked + L"\\" + kScriptName));

  auto recorded = [&] {
    std::string bytes;
    if (!testing_support::ReadFileBytes(record, &bytes))
      return std::wstring();
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()),
                        bytes.size() / sizeof(wchar_t));
  };
  ASSERT_TRUE(PumpUntil([&] { return !recorded().empty(); }, 15000));
  EXPECT_NE(recorded().find(L"/f /im explorer.exe"), std::wstring::npos) << recorded();
  EXPECT_TRUE(PumpUntil([&] { return !FileExists(script); }, 15000)) << script;
  ::SetEnvironmentVariableW(L"SUITE_RECORD", nullptr);
  PumpUntil([&] { return ::DeleteFileW(stand_in.c_str()) != FALSE; }, 5000);
}

TEST_F(TempCleanerWindowTest, CloseButtonEndsAtOnce) {
  auto w = Open();
  HWND close = w->chrome().close_button();
  ::SendMessageW(close, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  ::SendMessageW(close, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  EXPECT_EQ(exits_, 1);
  ::SendMessageW(w->hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(exits_, 2);
}

// ---- at each display density --------------------------------------------------------

using testing_support::ByDensity;

class DensityTempCleanerWindowTest : public TempCleanerWindowTest {
 protected:
  void SetUp() override {
    TempCleanerWindowTest::SetUp();
    ASSERT_EQ(common::ScreenDpi(), testing_support::RequestedTestDpi());
  }
};

void ExpectRect(HWND control, int left, int top, int right, int bottom) {
  const RECT r = common::ControlRect(control);
  EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right, r.bottom}),
            (std::vector<LONG>{left, top, right, bottom}))
      << common::WindowText(control);
}

// The window is laid out for the usual display (680 by 470 pixels, 10,200
// by 7,050 twips) and grows with the density; no text is cut.
TEST_F(DensityTempCleanerWindowTest, TheWindowHasTheSizesOfItsTwips) {
  auto w = Open();
  const SIZE client = testing_support::ClientSize(w->hwnd());
  EXPECT_EQ(client.cx, ByDensity(680, 850, 1020));
  EXPECT_EQ(client.cy, ByDensity(470, 588, 705));
  ExpectRect(w->cmdSearch(), ByDensity(488, 610, 732), ByDensity(406, 508, 609),
             ByDensity(574, 718, 861), ByDensity(432, 540, 648));
  ExpectRect(w->results().list(), ByDensity(12, 15, 18), ByDensity(98, 123, 147),
             ByDensity(668, 835, 1002), ByDensity(398, 498, 597));
  // The columns: 6,000, 2,000 and 1,440 twips.
  HWND list = w->results().list();
  EXPECT_EQ(ListView_GetColumnWidth(list, 0), ByDensity(400, 500, 600));
  EXPECT_EQ(ListView_GetColumnWidth(list, 1), ByDensity(133, 167, 200));
  EXPECT_EQ(ListView_GetColumnWidth(list, 2), ByDensity(96, 120, 144));
  // The bare option box still holds its whole box.
  const SIZE box = testing_support::ClientSize(w->check(8));
  EXPECT_EQ(box.cx, ByDensity(13, 16, 20));
  EXPECT_EQ(box.cy, ByDensity(14, 18, 21));
  const RECT close = common::ControlRect(w->chrome().close_button());
  EXPECT_EQ(close.right - close.left, ByDensity(24, 30, 36));
  EXPECT_EQ(close.bottom - close.top, ByDensity(20, 25, 30));
  EXPECT_EQ(testing_support::JoinLines(testing_support::CutTexts(w->hwnd())), L"");
  // The status bar lies along the bottom, under the list.
  const RECT status = common::ControlRect(w->results().status());
  EXPECT_EQ(status.bottom, client.cy);
  EXPECT_GE(status.top, common::ControlRect(w->cmdSearch()).bottom);
}

}  // namespace
}  // namespace tempclean
