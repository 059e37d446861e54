// tmpsweep as a standard user runs it: the Windows folder cannot be written
// (win_test_standard_user.sh locks it while these tests run), so neither
// "qz64temp.ini" there nor a script in a working directory there can be.
#include <gtest/gtest.h>

#include "common/platform_win.h"
#include "common/text_rules.h"
#include "temp-cleaner/recycle_script.h"
#include "temp-cleaner/temp_cleaner_window_win.h"
#include "testing/win_test_support_win.h"

namespace tempclean {
namespace {

using testing_support::FileExists;
using testing_support::FolderRefusesNewFiles;
using testing_support::MakeFolders;
using testing_support::MessageBoxAnswerer;
using testing_support::PumpUntil;
using testing_support::RemoveFile;
using testing_support::TestProgramFolder;
using testing_support::VirtualStoreCopy;
using testing_support::WriteFileBytes;

// The recycle-bin script is not started: it would end the desktop shell of
// the test session.
class QuietSystem : public Win32TempCleanerSystem {
 public:
  bool StartScriptHidden(const std::wstring&, const std::wstring&) override { return true; }
};

std::wstring WindowsFolder() {
  return common::GetEnvironmentText(L"windir");
}

std::wstring SettingsInWindows() {
  return WindowsFolder() + L"\\qz64temp.ini";
}

std::wstring Raw(const std::wstring& file, const wchar_t* key) {
  wchar_t value[16] = {};
  ::GetPrivateProfileStringW(L"Option", key, L"", value, 16, file.c_str());
  return value;
}

class StandardUserTempCleanerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(FolderRefusesNewFiles(WindowsFolder()))
        << "run with temp-cleaner/win_test_standard_user.sh as the fixture";
    RemoveFile(VirtualStoreCopy(SettingsInWindows()));
  }
  void TearDown() override {
    RemoveFile(VirtualStoreCopy(SettingsInWindows()));
    common::DeleteRunValue(TempCleaner::kRunValue);
  }
  std::unique_ptr<TempCleanerWindow> Open(TempCleanerSystem& system) {
    auto window = std::make_unique<TempCleanerWindow>(system);
    window->exit_action = [] {};
    window->quit_on_destroy = false;
    EXPECT_TRUE(window->Open());
    return window;
  }
  // The start-up work has run once Text7 holds the version.
  void WaitForStartUp(TempCleanerWindow& w) {
    EXPECT_TRUE(PumpUntil([&] { return w.logic().Text(7) != L"版本号"; }, 5000));
  }
  void Click(HWND control) { ::SendMessageW(control, BM_CLICK, 0, 0); }
  bool Ticked(TempCleanerWindow& w, int box) {
    return ::SendMessageW(w.check(box), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
};

TEST_F(StandardUserTempCleanerTest, ChoicesStayForTheNextStartAndItsAutomaticRunCleans) {
  QuietSystem system;
  {
    auto w = Open(system);
    WaitForStartUp(*w);
    Click(w->check(2));  // system temporary folders
    Click(w->check(3));  // cookies
    ::SendMessageW(w->label(4), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::SendMessageW(w->label(4), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));  // start with Windows
    EXPECT_TRUE(Ticked(*w, 7));
    EXPECT_TRUE(Ticked(*w, 8));
  }
  EXPECT_FALSE(FileExists(SettingsInWindows()));
  const std::wstring copy = VirtualStoreCopy(SettingsInWindows());
  for (const wchar_t* key : {L"temp", L"Cookies", L"auto", L"run"})
    EXPECT_EQ(Raw(copy, key), L"1") << key;
  EXPECT_EQ(Raw(copy, L"Rec"), L"");

  // Something to clean at the next start, in folders a standard user may
  // write.
  wchar_t user[256] = {};
  DWORD size = 255;
  ::GetUserNameW(user, &size);
  const std::wstring user_temp = std::wstring(L"C:\\users\\") + user + L"\\AppData\\Local\\Temp";
  const std::wstring temp = WindowsFolder() + L"\\Temp";
  MakeFolders(temp + L"\\sub");
  MakeFolders(user_temp);
  const std::vector<std::wstring> planted = {temp + L"\\a.tmp", temp + L"\\sub\\b.bin",
                                             user_temp + L"\\u.tmp"};
  for (const std::wstring& file : planted)
    ASSERT_TRUE(WriteFileBytes(file, std::string(3000, 'x'))) << file;

  MessageBoxAnswerer answerer;
  auto w = Open(system);
  ASSERT_TRUE(PumpUntil([&] { return !answerer.boxes().empty(); }, 8000));
  for (int box : {2, 3, 7, 8})
    EXPECT_TRUE(Ticked(*w, box)) << box;
  EXPECT_FALSE(Ticked(*w, 1));
  std::vector<std::wstring> cleaned;
  for (int r = 0; r < w->results().RowCount(); ++r)
    if (w->results().CellText(r, 2) == L"清除成功")
      cleaned.push_back(w->results().CellText(r, 0));
  for (const std::wstring& file : planted) {
    EXPECT_FALSE(FileExists(file)) << file;
    EXPECT_NE(std::find(cleaned.begin(), cleaned.end(), file), cleaned.end()) << file;
  }
  EXPECT_EQ(answerer.boxes()[0].text.rfind(L"此次搜索操作中发现垃圾：", 0), 0u);
  // Start with Windows is still on, pointing at this program.
  std::wstring data;
  EXPECT_TRUE(common::ReadRunValue(TempCleaner::kRunValue, &data));
  EXPECT_FALSE(FileExists(SettingsInWindows()));
}

}  // namespace
}  // namespace tempclean
