#include "common/virtual_store.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "testing/fake_profile.h"

namespace common {
namespace {

using testing_support::FakeProfile;

constexpr wchar_t kSevenAppData[] = L"C:\\Users\\Bob\\AppData\\Local";

TEST(VirtualStorePathTest, WhereWindowsKeepsThePerUserCopy) {
  const struct {
    const wchar_t* local_app_data;
    const wchar_t* path;
    const wchar_t* copy;
  } cases[] = {
      {kSevenAppData, L"C:\\Windows\\lnk.ini",
       L"C:\\Users\\Bob\\AppData\\Local\\VirtualStore\\Windows\\lnk.ini"},
      // XP has no virtualisation, but a limited user there gets the same
      // kind of place.
      {L"C:\\Documents and Settings\\Bob\\Local Settings\\Application Data",
       L"C:\\WINDOWS\\qz64temp.ini",
       L"C:\\Documents and Settings\\Bob\\Local Settings\\Application "
       L"Data\\VirtualStore\\WINDOWS\\qz64temp.ini"},
      {L"C:\\Users\\Bob\\AppData\\Local\\", L"D:\\WINNT\\lnk.ini",
       L"C:\\Users\\Bob\\AppData\\Local\\VirtualStore\\WINNT\\lnk.ini"},
      {kSevenAppData, L"c:\\\\Windows\\lnk.ini",
       L"C:\\Users\\Bob\\AppData\\Local\\VirtualStore\\Windows\\lnk.ini"},
      // No copy: no local application data, no drive ("windir" unset gives
      // "\lnk.ini"), a network path, a bare name, a drive root.
      {L"", L"C:\\Windows\\lnk.ini", L""},
      {kSevenAppData, L"\\lnk.ini", L""},
      {kSevenAppData, L"\\\\server\\share\\lnk.ini", L""},
      {kSevenAppData, L"lnk.ini", L""},
      {kSevenAppData, L"C:\\", L""},
      {kSevenAppData, L"1:\\x\\lnk.ini", L""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(VirtualStorePath(c.local_app_data, c.path), c.copy) << c.path;
}

// The file system as the placement sees it, over the fake profile's files.
class FakeStore : public VirtualStorePort {
 public:
  explicit FakeStore(FakeProfile& profile) : profile_(profile) {}
  std::wstring WindowsFolder() override { return L"C:\\WINDOWS"; }
  std::wstring LocalAppData() override { return local_app_data; }
  bool FileExists(const std::wstring& path) override { return profile_.HasFile(path); }
  bool CopyToNewFile(const std::wstring& from, const std::wstring& to) override {
    copies.push_back(from + L">" + to);
    if (fail_copies || profile_.HasFile(to))
      return false;
    profile_.CopyFile(from, to);
    return true;
  }
  bool MakeFolders(const std::wstring& path) override {
    folders.push_back(path);
    return true;
  }

  std::wstring local_app_data = kSevenAppData;
  bool fail_copies = false;
  std::vector<std::wstring> copies, folders;

 private:
  FakeProfile& profile_;
};

constexpr wchar_t kOption[] = L"Option";
constexpr wchar_t kLnk[] = L"C:\\WINDOWS\\lnk.ini";
constexpr wchar_t kLnkCopy[] = L"C:\\Users\\Bob\\AppData\\Local\\VirtualStore\\WINDOWS\\lnk.ini";
constexpr wchar_t kStoreFolder[] = L"C:\\Users\\Bob\\AppData\\Local\\VirtualStore\\WINDOWS";

class VirtualStoreProfileTest : public ::testing::Test {
 protected:
  void SetUp() override { files_.bare_name_folder = L"C:\\WINDOWS"; }
  FakeProfile files_;
  FakeStore store_{files_};
  VirtualStoreProfile profile_{files_, store_};
};

// Both programs' files: Tovrix's by full path, tmpsweep's by bare name.
const struct {
  const wchar_t* file;
  const wchar_t* original;
  const wchar_t* copy;
} kFiles[] = {
    {kLnk, kLnk, kLnkCopy},
    {L"qz64temp.ini", L"C:\\WINDOWS\\qz64temp.ini",
     L"C:\\Users\\Bob\\AppData\\Local\\VirtualStore\\WINDOWS\\qz64temp.ini"},
};

TEST_F(VirtualStoreProfileTest, WritableWindowsFolderChangesNothing) {
  for (const auto& f : kFiles) {
    SCOPED_TRACE(f.file);
    files_.writes.clear();
    EXPECT_TRUE(profile_.WriteString(f.file, kOption, L"TM", L"100"));
    // The platform gets the name as it came, a bare name included.
    ASSERT_EQ(files_.writes.size(), 1u);
    EXPECT_EQ(files_.writes[0].file, f.file);
    EXPECT_EQ(profile_.GetString(f.file, kOption, L"TM", 128), L"100");
    EXPECT_FALSE(files_.HasFile(f.copy));
    EXPECT_EQ(profile_.CopyOf(f.file), f.copy);
  }
  EXPECT_TRUE(store_.folders.empty());
  EXPECT_TRUE(store_.copies.empty());
}

TEST_F(VirtualStoreProfileTest, RefusedWriteGoesToACopyOfTheOriginal) {
  for (const auto& f : kFiles) {
    SCOPED_TRACE(f.file);
    // Set by an administrator, or before: read from the Windows folder.
    files_.Set(f.original, kOption, L"TM", L"90");
    files_.Set(f.original, kOption, L"wl.top", L"1500");
    files_.unwritable.insert(f.original);
    EXPECT_EQ(profile_.GetString(f.file, kOption, L"TM", 128), L"90");

    EXPECT_TRUE(profile_.WriteString(f.file, kOption, L"wl.top", L"3000"));
    EXPECT_EQ(files_.Get(f.copy, kOption, L"wl.top"), L"3000");
    EXPECT_EQ(files_.Get(f.copy, kOption, L"TM"), L"90");  // nothing hidden
    EXPECT_EQ(files_.Get(f.original, kOption, L"wl.top"), L"1500");
    EXPECT_EQ(profile_.GetString(f.file, kOption, L"wl.top", 128), L"3000");
    EXPECT_EQ(profile_.GetString(f.file, kOption, L"TM", 128), L"90");
    EXPECT_EQ(store_.folders.back(), kStoreFolder);
    EXPECT_EQ(store_.copies.back(), std::wstring(f.original) + L">" + f.copy);

    // From now on the copy takes every write at once.
    files_.writes.clear();
    EXPECT_TRUE(profile_.WriteString(f.file, kOption, L"TM", L"120"));
    ASSERT_EQ(files_.writes.size(), 1u);
    EXPECT_EQ(files_.writes[0].file, f.copy);
  }
}

TEST_F(VirtualStoreProfileTest, RefusedWriteWithoutOriginalStartsAnEmptyCopy) {
  files_.unwritable.insert(kLnk);
  EXPECT_TRUE(profile_.WriteString(kLnk, kOption, L"AutoLnk", L"1"));
  EXPECT_TRUE(store_.copies.empty());
  EXPECT_EQ(files_.Get(kLnkCopy, kOption, L"AutoLnk"), L"1");
  EXPECT_FALSE(files_.HasFile(kLnk));
  EXPECT_EQ(profile_.GetString(kLnk, kOption, L"AutoLnk", 128), L"1");
}

// A copy that exists wins, also where the Windows folder could be written:
// it holds what this user set.
TEST_F(VirtualStoreProfileTest, ExistingCopyWinsForReadingAndWriting) {
  files_.Set(kLnk, kOption, L"TM", L"90");
  files_.Set(kLnkCopy, kOption, L"TM", L"120");
  EXPECT_EQ(profile_.GetString(kLnk, kOption, L"TM", 128), L"120");
  EXPECT_EQ(profile_.GetString(kLnk, kOption, L"wl.top", 128), L"");
  EXPECT_TRUE(profile_.WriteString(kLnk, kOption, L"wl.top", L"600"));
  ASSERT_EQ(files_.writes.size(), 1u);
  EXPECT_EQ(files_.writes[0].file, kLnkCopy);
  EXPECT_FALSE(files_.Has(kLnk, kOption, L"wl.top"));
}

TEST_F(VirtualStoreProfileTest, NoPlaceForACopyReportsTheRefusal) {
  files_.Set(kLnk, kOption, L"TM", L"90");
  files_.unwritable.insert(kLnk);
  const struct {
    const char* why;
    std::wstring local_app_data;
    bool fail_copies;
  } cases[] = {
      {"no local application data", L"", false},
      {"the copy cannot be made", kSevenAppData, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    store_.local_app_data = c.local_app_data;
    store_.fail_copies = c.fail_copies;
    EXPECT_FALSE(profile_.WriteString(kLnk, kOption, L"TM", L"100"));
    EXPECT_FALSE(files_.HasFile(kLnkCopy));
    EXPECT_EQ(profile_.GetString(kLnk, kOption, L"TM", 128), L"90");
  }
}

// What the programs see: a value a standard user set is read back.
TEST_F(VirtualStoreProfileTest, SettingsOfAStandardUserAreReadBack) {
  files_.unwritable.insert(kLnk);
  SettingsFile settings(profile_, [] { return std::wstring(kLnk); });
  settings.WriteSetting(kOption, L"wl.top", L"4500");
  settings.WriteSetting(kOption, L"wl.left", L"300");
  SettingsFile next_start(profile_, [] { return std::wstring(kLnk); });
  EXPECT_EQ(next_start.ReadSetting(kOption, L"wl.top"), L"4500");
  EXPECT_EQ(next_start.ReadSetting(kOption, L"wl.left"), L"300");
  EXPECT_EQ(store_.folders.size(), 1u);  // made once
}

}  // namespace
}  // namespace common
