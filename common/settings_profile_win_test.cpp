// The settings files' placement against the real file system: the Windows
// folder where it can be written, the per-user copy where it cannot. The
// suites named StandardUser* run in a prefix whose Windows folder is locked
// (win_test_standard_user.sh), the others where it can be written.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "common/platform_win.h"
#include "testing/win_test_support_win.h"

namespace common {
namespace {

using testing_support::FileExists;
using testing_support::FolderRefusesNewFiles;
using testing_support::ReadFileBytes;
using testing_support::RemoveFile;
using testing_support::VirtualStoreCopy;

std::wstring WindowsFolder() {
  return GetEnvironmentText(L"windir");
}

std::wstring Raw(const std::wstring& file, const wchar_t* key) {
  wchar_t value[128] = {};
  ::GetPrivateProfileStringW(L"Option", key, L"", value, 128, file.c_str());
  return value;
}

void MakeFoldersFor(const std::wstring& file) {
  for (size_t at = 3; at < file.size(); ++at)
    if (file[at] == L'\\')
      ::CreateDirectoryW(file.substr(0, at).c_str(), nullptr);
}

// Both programs' ways of naming their file, a bare name and windir with the
// name, and where each lies in the Windows folder.
std::vector<std::pair<std::wstring, std::wstring>> Namings() {
  const std::wstring full = WindowsFolder() + L"\\suite_full.ini";
  return {{L"suite_bare.ini", WindowsFolder() + L"\\suite_bare.ini"}, {full, full}};
}

class SettingsProfileWinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(FolderRefusesNewFiles(WindowsFolder()));
    for (const wchar_t* name : {L"suite_bare.ini", L"suite_full.ini"}) {
      RemoveFile(WindowsFolder() + L"\\" + name);
      RemoveFile(VirtualStoreCopy(WindowsFolder() + L"\\" + name));
    }
  }
  Win32SettingsProfile profile_;
};

TEST_F(SettingsProfileWinTest, WritableWindowsFolderKeepsTheFileThere) {
  for (const auto& [file, in_windows] : Namings()) {
    SCOPED_TRACE(file);
    SettingsFile settings(profile_, [&] { return file; });
    settings.WriteSetting(L"Option", L"wl.top", L"5700");
    EXPECT_EQ(Raw(in_windows, L"wl.top"), L"5700");
    EXPECT_EQ(settings.ReadSetting(L"Option", L"wl.top"), L"5700");
    EXPECT_FALSE(FileExists(VirtualStoreCopy(in_windows)));
    // Where the copy would be: the same place for both builds, the one
    // Windows' own virtualisation uses.
    EXPECT_EQ(profile_.CopyOf(file), VirtualStoreCopy(in_windows));
    EXPECT_NE(profile_.CopyOf(file).find(L"\\VirtualStore\\"), std::wstring::npos);
  }
}

TEST_F(SettingsProfileWinTest, CopyInTheVirtualStoreIsRead) {
  for (const auto& [file, in_windows] : Namings()) {
    const std::wstring copy = VirtualStoreCopy(in_windows);
    SCOPED_TRACE(file);
    // Left there by Windows for an older build, or by a standard user.
    MakeFoldersFor(copy);
    ::WritePrivateProfileStringW(L"Option", L"TM", L"120", copy.c_str());
    ::WritePrivateProfileStringW(L"Option", L"TM", L"90", in_windows.c_str());
    SettingsFile settings(profile_, [&] { return file; });
    EXPECT_EQ(settings.ReadSetting(L"Option", L"TM"), L"120");
    settings.WriteSetting(L"Option", L"wl.left", L"100");
    EXPECT_EQ(Raw(copy, L"wl.left"), L"100");
    EXPECT_EQ(Raw(in_windows, L"wl.left"), L"");
    EXPECT_EQ(Raw(in_windows, L"TM"), L"90");
    RemoveFile(copy);
    RemoveFile(in_windows);
  }
}

// ---- where the Windows folder cannot be written -------------------------------

class StandardUserProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // win_test_standard_user.sh locks the folder for this run.
    ASSERT_TRUE(FolderRefusesNewFiles(WindowsFolder()))
        << "run with common/win_test_standard_user.sh as the fixture";
  }
  Win32SettingsProfile profile_;
};

TEST_F(StandardUserProfileTest, RefusedWriteLandsInThePerUserCopy) {
  // The platform's own write is refused, without a word to the user.
  Win32Profile raw;
  EXPECT_FALSE(raw.WriteString(L"suite_refused.ini", L"Option", L"a", L"1"));

  // A file that someone who could write there left: the copy starts as
  // that file, so its values are still read.
  const std::wstring planted = WindowsFolder() + L"\\suite_planted.ini";
  const std::wstring copy = VirtualStoreCopy(planted);
  ASSERT_TRUE(FileExists(planted));
  SettingsFile settings(profile_, [] { return std::wstring(L"suite_planted.ini"); });
  EXPECT_EQ(settings.ReadSetting(L"Option", L"TM"), L"90");
  settings.WriteSetting(L"Option", L"wl.top", L"3000");
  ASSERT_TRUE(FileExists(copy)) << copy;
  EXPECT_EQ(settings.ReadSetting(L"Option", L"wl.top"), L"3000");
  EXPECT_EQ(settings.ReadSetting(L"Option", L"TM"), L"90");
  EXPECT_EQ(Raw(planted, L"wl.top"), L"1500");
  // Written as the platform writes a settings file: GBK, CR LF, no BOM.
  settings.WriteSetting(L"Option", L"name", L"开机启动");
  std::string bytes;
  ASSERT_TRUE(ReadFileBytes(copy, &bytes));
  EXPECT_EQ(bytes.rfind("[Option]\r\n", 0), 0u) << bytes;
  EXPECT_NE(bytes.find("name=\xBF\xAA\xBB\xFA\xC6\xF4\xB6\xAF\r\n"), std::string::npos) << bytes;

  // Without a file in the Windows folder the copy holds what was written.
  const std::wstring fresh = WindowsFolder() + L"\\suite_fresh.ini";
  SettingsFile fresh_settings(profile_, [&] { return fresh; });
  fresh_settings.WriteSetting(L"Option", L"AutoLnk", L"1");
  EXPECT_FALSE(FileExists(fresh));
  EXPECT_EQ(Raw(VirtualStoreCopy(fresh), L"AutoLnk"), L"1");
  EXPECT_EQ(fresh_settings.ReadSetting(L"Option", L"AutoLnk"), L"1");
  RemoveFile(copy);
  RemoveFile(VirtualStoreCopy(fresh));
}

}  // namespace
}  // namespace common
