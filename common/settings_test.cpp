#include "common/settings.h"

#include <gtest/gtest.h>

#include "testing/fake_profile.h"

namespace common {
namespace {

using testing_support::FakeProfile;

class SettingsTest : public ::testing::Test {
 protected:
  FakeProfile profile_;
  std::wstring path_ = L"C:\\WINDOWS\\lnk.ini";
  SettingsFile settings_{profile_, [this] { return path_; }};
};

TEST_F(SettingsTest, ReadRules) {
  const struct {
    std::wstring stored;
    std::wstring read;
  } cases[] = {
      {L"1", L"1"},
      {L"  5700  ", L"5700"},
      {L"\t7\t", L"\t7\t"},  // only blanks are trimmed
      {std::wstring(L"12\0ab", 5), L"12"},
      {L"中文 ", L"中文"},
      {std::wstring(127, L'x'), std::wstring(127, L'x')},
      {std::wstring(200, L'y'), std::wstring(127, L'y')},  // 128-char buffer
  };
  for (const auto& c : cases) {
    profile_.Set(path_, L"Option", L"k", c.stored);
    EXPECT_EQ(settings_.ReadSetting(L"Option", L"k"), c.read);
  }
}

TEST_F(SettingsTest, MissingFileSectionOrKeyReadsEmpty) {
  EXPECT_EQ(settings_.ReadSetting(L"Option", L"wl.top"), L"");
  profile_.Set(path_, L"Other", L"wl.top", L"1");
  EXPECT_EQ(settings_.ReadSetting(L"Option", L"wl.top"), L"");
  profile_.Set(L"C:\\elsewhere.ini", L"Option", L"wl.top", L"1");
  EXPECT_EQ(settings_.ReadSetting(L"Option", L"wl.top"), L"");
}

TEST_F(SettingsTest, WriteRules) {
  settings_.WriteSetting(L"Option", L"TM", L"100");
  settings_.WriteSetting(L"Option", L"long", std::wstring(300, L'z'));
  settings_.WriteSetting(L"Option", L"nul", std::wstring(L"ab\0cd", 5));
  ASSERT_EQ(profile_.writes.size(), 3u);
  EXPECT_EQ(profile_.writes[0], (FakeProfile::Write{path_, L"Option", L"TM", L"100"}));
  EXPECT_EQ(profile_.writes[1].value, std::wstring(128, L'z'));
  EXPECT_EQ(profile_.writes[2].value, L"ab");
}

// A refused write reports nothing and keeps nothing: the next read gives
// what the file holds, not what was asked for.
TEST_F(SettingsTest, FailedWriteIsNotReportedNorRemembered) {
  settings_.WriteSetting(L"Option", L"TM", L"90");
  profile_.fail_writes = true;
  settings_.WriteSetting(L"Option", L"TM", L"100");  // no exception, no result
  settings_.WriteSetting(L"Option", L"AutoLnk", L"1");
  EXPECT_EQ(profile_.writes.size(), 3u);
  EXPECT_EQ(settings_.ReadSetting(L"Option", L"TM"), L"90");
  EXPECT_EQ(settings_.ReadSetting(L"Option", L"AutoLnk"), L"");
  profile_.fail_writes = false;
  settings_.WriteSetting(L"Option", L"TM", L"100");
  EXPECT_EQ(settings_.ReadSetting(L"Option", L"TM"), L"100");
}

TEST_F(SettingsTest, PathIsAskedForAtEveryAccess) {
  settings_.WriteSetting(L"Option", L"a", L"1");
  path_ = L"D:\\WIN\\lnk.ini";
  settings_.WriteSetting(L"Option", L"a", L"2");
  EXPECT_EQ(profile_.writes[0].file, L"C:\\WINDOWS\\lnk.ini");
  EXPECT_EQ(profile_.writes[1].file, L"D:\\WIN\\lnk.ini");
}

}  // namespace
}  // namespace common
