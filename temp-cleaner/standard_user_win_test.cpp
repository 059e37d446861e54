// tmpsweep as a standard user runs it: the Windows folder cannot be written
// (win_test_standard_user.sh locks it while these tests run), so neither
// "qz64temp.ini" there nor a script in a working directory there can be.
#include <gtest/gtest.h>

#include "testing/temp_cleaner_window_support_win.h"

namespace tempclean {
namespace {

using namespace window_test;
using testing_support::FolderRefusesNewFiles;
using testing_support::RemoveFile;
using testing_support::VirtualStoreCopy;

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
};

TEST_F(StandardUserTempCleanerTest, ChoicesStayForTheNextStartAndItsAutomaticRunCleans) {
  QuietSystem system;
  {
    auto w = OpenWindow(system);
    // The start-up work has run once Text7 holds the version.
    EXPECT_TRUE(PumpUntil([&] { return w->logic().Text(7) != L"版本号"; }, 5000));
    Click(w->check(2));       // system temporary folders
    Click(w->check(3));       // cookies
    ClickLabel(w->label(4));  // start with Windows
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
  const std::wstring user_temp = L"C:\\users\\" + UserName() + L"\\AppData\\Local\\Temp";
  const std::wstring temp = WindowsFolder() + L"\\Temp";
  const std::vector<std::wstring> planted = {temp + L"\\a.tmp", temp + L"\\sub\\b.bin",
                                             user_temp + L"\\u.tmp"};
  for (const std::wstring& file : planted)
    Plant(file, 3000);

  MessageBoxAnswerer answerer;
  auto w = OpenWindow(system);
  ASSERT_TRUE(PumpUntil([&] { return !answerer.boxes().empty(); }, 8000));
  for (int box : {2, 3, 7, 8})
    EXPECT_TRUE(Ticked(*w, box)) << box;
  EXPECT_FALSE(Ticked(*w, 1));
  const auto rows = Rows(*w);
  for (const std::wstring& file : planted) {
    EXPECT_FALSE(FileExists(file)) << file;
    EXPECT_EQ(rows.count(file) ? rows.at(file) : L"", L"清除成功") << file;
  }
  EXPECT_EQ(answerer.boxes()[0].text.rfind(L"此次搜索操作中发现垃圾：", 0), 0u);
  // Start with Windows is still on, pointing at this program.
  std::wstring data;
  EXPECT_TRUE(common::ReadRunValue(TempCleaner::kRunValue, &data));
  EXPECT_FALSE(FileExists(SettingsInWindows()));
}

}  // namespace
}  // namespace tempclean
