#include "temp-cleaner/categories.h"

#include <gtest/gtest.h>

#include <map>

#include "temp-cleaner/folder_guard.h"

namespace tempclean {
namespace {

ListInputs Xp() {
  ListInputs in;
  in.windows_folder = L"C:\\WINDOWS";
  in.user_name = L"Bob";
  in.system_root = L"C:\\";
  in.version = L"5.1";
  return in;
}

// A user's folders as the shell of Vista and 7 gives them, below `profile`.
UserFolders SevenFolders(const std::wstring& profile) {
  UserFolders f;
  f.profile = profile;
  f.local_app_data = profile + L"\\AppData\\Local";
  f.app_data = profile + L"\\AppData\\Roaming";
  f.documents = profile + L"\\Documents";
  f.cookies = profile + L"\\AppData\\Roaming\\Microsoft\\Windows\\Cookies";
  f.recent = profile + L"\\AppData\\Roaming\\Microsoft\\Windows\\Recent";
  f.internet_cache = profile + L"\\AppData\\Local\\Microsoft\\Windows\\Temporary Internet Files";
  f.history = profile + L"\\AppData\\Local\\Microsoft\\Windows\\History";
  f.temp = profile + L"\\AppData\\Local\\Temp";
  return f;
}

// The same on 8.1, 10 and 11: the browser's cache and cookies moved.
UserFolders TenFolders(const std::wstring& profile) {
  UserFolders f = SevenFolders(profile);
  f.cookies = profile + L"\\AppData\\Local\\Microsoft\\Windows\\INetCookies";
  f.internet_cache = profile + L"\\AppData\\Local\\Microsoft\\Windows\\INetCache";
  return f;
}

ListInputs Newer(const wchar_t* version, const UserFolders& folders) {
  ListInputs in = Xp();
  in.windows_folder = L"C:\\Windows";
  in.version = version;
  in.folders = folders;
  return in;
}

TEST(CategoriesTest, XpListsAreTheFixedTexts) {
  const wchar_t* lists[kCategoryCount] = {
      L";C:\\Recycled;D:\\Recycled;E:\\Recycled;C:\\Recycler;D:\\Recycler;E:\\Recycler",
      L";C:\\WINDOWS\\Prefetch;C:\\Documents and Settings\\Bob\\Local "
      L"Settings\\Temp;C:\\WINDOWS\\Temp",
      L";C:\\Documents and Settings\\Bob\\Cookies",
      L";C:\\Documents and Settings\\Bob\\Recent",
      L";C:\\Documents and Settings\\Bob\\Local Settings\\Temporary Internet Files",
      L";C:\\Documents and Settings\\Bob\\Local Settings\\History",
  };
  // What the shell would say does not matter on XP.
  ListInputs in = Xp();
  in.folders = TenFolders(L"D:\\Profiles\\bob.PC");
  in.recycle_bins = {L"C:\\$Recycle.Bin\\S-1-5-21-1-2-3-1000"};
  for (int i = 0; i < kCategoryCount; ++i)
    EXPECT_EQ(FolderList(i, in), lists[i]) << i;
}

// From Vista on each list names the shell's folders, spelled as the older
// Vista and 7 texts ("C:\users\Bob\...") where they are those folders.
TEST(CategoriesTest, VistaToElevenListTheShellsFolders) {
  const std::vector<std::wstring> bins = {L"C:\\$Recycle.Bin\\S-1-5-21-7-8-9-1001",
                                          L"D:\\$Recycle.Bin\\S-1-5-21-7-8-9-1001"};
  const wchar_t kSevenLists[kCategoryCount - 1][100] = {
      L";C:\\Windows\\Prefetch;C:\\users\\Bob\\AppData\\Local\\Temp;C:\\Windows\\Temp",
      L";C:\\users\\Bob\\AppData\\Roaming\\Microsoft\\Windows\\Cookies",
      L";C:\\users\\Bob\\AppData\\Roaming\\Microsoft\\Windows\\Recent",
      L";C:\\users\\Bob\\AppData\\Local\\Microsoft\\Windows\\Temporary Internet Files",
      L";C:\\users\\Bob\\AppData\\Local\\Microsoft\\Windows\\History",
  };
  const struct {
    const char* what;
    std::vector<const wchar_t*> versions;
    UserFolders folders;
    std::vector<std::wstring> lists;  // Check2 .. Check6
  } cases[] = {
      {"Vista and 7",
       {L"6.0", L"6.1"},
       SevenFolders(L"C:\\Users\\Bob"),
       {kSevenLists[0], kSevenLists[1], kSevenLists[2], kSevenLists[3], kSevenLists[4]}},
      {"8.1, 10 and 11",
       {L"6.3", L"10.0"},
       TenFolders(L"C:\\Users\\Bob"),
       {kSevenLists[0], L";C:\\Users\\Bob\\AppData\\Local\\Microsoft\\Windows\\INetCookies",
        kSevenLists[2], L";C:\\Users\\Bob\\AppData\\Local\\Microsoft\\Windows\\INetCache",
        kSevenLists[4]}},
      {"profile not named after the user",
       {L"10.0"},
       TenFolders(L"C:\\Users\\bob.PC"),
       {L";C:\\Windows\\Prefetch;C:\\Users\\bob.PC\\AppData\\Local\\Temp;C:\\Windows\\Temp",
        L";C:\\Users\\bob.PC\\AppData\\Local\\Microsoft\\Windows\\INetCookies",
        L";C:\\Users\\bob.PC\\AppData\\Roaming\\Microsoft\\Windows\\Recent",
        L";C:\\Users\\bob.PC\\AppData\\Local\\Microsoft\\Windows\\INetCache",
        L";C:\\Users\\bob.PC\\AppData\\Local\\Microsoft\\Windows\\History"}},
      {"profiles on another drive",
       {L"6.1"},
       SevenFolders(L"D:\\Users\\Bob"),
       {L";C:\\Windows\\Prefetch;D:\\Users\\Bob\\AppData\\Local\\Temp;C:\\Windows\\Temp",
        L";D:\\Users\\Bob\\AppData\\Roaming\\Microsoft\\Windows\\Cookies",
        L";D:\\Users\\Bob\\AppData\\Roaming\\Microsoft\\Windows\\Recent",
        L";D:\\Users\\Bob\\AppData\\Local\\Microsoft\\Windows\\Temporary Internet Files",
        L";D:\\Users\\Bob\\AppData\\Local\\Microsoft\\Windows\\History"}},
      {"nothing known of the user",
       {L"10.0"},
       UserFolders{},
       {L";C:\\Windows\\Prefetch;C:\\Windows\\Temp", L"", L"", L"", L""}},
  };
  for (const auto& c : cases) {
    for (const wchar_t* version : c.versions) {
      SCOPED_TRACE(testing::Message() << c.what << " " << version);
      ListInputs in = Newer(version, c.folders);
      in.recycle_bins = bins;
      EXPECT_EQ(FolderList(0, in),
                L";C:\\$Recycle.Bin\\S-1-5-21-7-8-9-1001;D:\\$Recycle.Bin\\S-1-5-21-7-8-9-1001");
      for (int i = 1; i < kCategoryCount; ++i)
        EXPECT_EQ(FolderList(i, in), c.lists[i - 1]) << i;
    }
  }
  ListInputs no_bins = Newer(L"10.0", TenFolders(L"C:\\Users\\Bob"));
  EXPECT_EQ(FolderList(0, no_bins), L"");
}

// The TEMP of the user's programs joins the temporary category where the
// user moved it, once, and not where another of its folders covers it.
TEST(CategoriesTest, TheUsersOwnTempFolder) {
  const struct {
    const wchar_t* temp;
    const wchar_t* joins;  // what the list names between the user's and the system's Temp
  } cases[] = {
      {L"C:\\Users\\Bob\\AppData\\Local\\Temp", L""},
      {L"c:\\users\\bob\\appdata\\local\\temp\\", L""},
      // A session's own folder below it (a terminal server's "Temp\2").
      {L"C:\\Users\\Bob\\AppData\\Local\\Temp\\2", L""},
      {L"C:\\Windows\\Temp", L""},
      {L"", L""},
      {L"D:\\Tmp", L"D:\\Tmp;"},
      // Named here all the same; the run passes these over (FolderGuard).
      {L"C:\\", L"C:\\;"},
      {L"C:\\Users\\Bob", L"C:\\Users\\Bob;"},
      // Inside the Windows folder or a folder of installed programs: never.
      {L"C:\\Windows\\System32\\drivers", L""},
      {L"c:\\windows", L""},
      {L"C:\\Program Files\\App\\tmp", L""},
      {L"C:\\Program Files (x86)", L""},
      {L"C:\\Program Files Temp", L"C:\\Program Files Temp;"},
  };
  for (const auto& c : cases) {
    UserFolders folders = SevenFolders(L"C:\\Users\\Bob");
    folders.program_files = {L"C:\\Program Files (x86)", L"", L"C:\\Program Files"};
    folders.temp = c.temp;
    EXPECT_EQ(FolderList(1, Newer(L"10.0", folders)),
              std::wstring(L";C:\\Windows\\Prefetch;C:\\users\\Bob\\AppData\\Local\\Temp;") +
                  c.joins + L"C:\\Windows\\Temp")
        << c.temp;
  }
}

TEST(CategoriesTest, FamiliesByVersion) {
  for (const wchar_t* v : {L"6.0", L"6.1", L"6.2", L"6.3", L"10.0", L"6.10", L"11.0"})
    EXPECT_TRUE(IsNewerFamily(v)) << v;
  for (const wchar_t* v : {L"5.1", L"5.0", L"5.2", L"4.10", L"版本号", L"", L"6", L"6.", L".1",
                           L"x.1", L"6.x", L"１０.0", L"-6.0", L"10000.0"})
    EXPECT_FALSE(IsNewerFamily(v)) << v;
}

TEST(CategoriesTest, JoiningTheLists) {
  std::wstring lists[kCategoryCount];
  EXPECT_EQ(JoinTarget(lists), L"");
  lists[2] = FolderList(2, Xp());
  EXPECT_EQ(JoinTarget(lists), L"C:\\Documents and Settings\\Bob\\Cookies");
  lists[1] = FolderList(1, Xp());
  EXPECT_EQ(JoinTarget(lists),
            L"C:\\WINDOWS\\Prefetch;C:\\Documents and Settings\\Bob\\Local Settings\\Temp;"
            L"C:\\WINDOWS\\Temp;C:\\Documents and Settings\\Bob\\Cookies");
}

// ---- which folders a run may empty ----------------------------------------------------

TEST(FolderTextTest, SpellingsOfOneFolder) {
  const struct {
    const wchar_t* a;
    const wchar_t* b;
    bool same;
    bool a_within_b;
  } cases[] = {
      {L"C:\\Users\\Bob", L"c:\\users\\bob", true, true},
      {L"C:\\Users\\Bob\\", L"C:/Users//Bob", true, true},
      {L"\\\\?\\C:\\Users\\Bob", L"C:\\Users\\Bob", true, true},
      {L"C:\\Users\\Bob\\AppData", L"C:\\Users\\Bob", false, true},
      {L"C:\\Users\\Bobby", L"C:\\Users\\Bob", false, false},
      {L"C:\\Users", L"C:\\Users\\Bob", false, false},
      {L"C:\\Temp", L"C:\\", false, true},
      {L"C:\\Temp", L"C:", false, true},
      {L"D:\\Temp", L"C:\\", false, false},
      {L"\\\\server\\share\\x", L"\\\\?\\UNC\\server\\share", false, true},
      {L"C:\\Users\\Élodie", L"C:\\Users\\Élodie", true, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SameFolderText(c.a, c.b), c.same) << c.a << " " << c.b;
    EXPECT_EQ(FolderTextWithin(c.a, c.b), c.a_within_b) << c.a << " " << c.b;
  }
  for (const wchar_t* root :
       {L"C:\\", L"c:", L"C:/", L"C:\\\\", L"\\\\?\\D:\\", L"\\\\server\\share",
        L"\\\\server\\share\\", L"\\\\?\\UNC\\server\\share", L"\\\\server"})
    EXPECT_TRUE(IsDriveRootText(root)) << root;
  for (const wchar_t* folder : {L"C:\\Temp", L"\\\\server\\share\\x", L"Temp", L"\\Temp", L""})
    EXPECT_FALSE(IsDriveRootText(folder)) << folder;
}

// Paths as the file system of a Vista-and-later machine answers them: the
// junctions of the older names lead to the real folders, short names are
// made long.
class FakeFacts : public FolderFacts {
 public:
  FakeFacts() {
    const wchar_t* folders[] = {
        L"C:\\",
        L"C:\\Users",
        L"C:\\Users\\Bob",
        L"C:\\Users\\Bob\\AppData",
        L"C:\\Users\\Bob\\AppData\\Local",
        L"C:\\Users\\Bob\\AppData\\Local\\Temp",
        L"C:\\Users\\Bob\\Documents",
        L"C:\\Windows",
        L"C:\\Windows\\Temp",
        L"D:\\",
        L"D:\\Tmp",
    };
    uint64_t index = 5;
    for (const wchar_t* f : folders)
      ids_[FolderKey(f)] = FolderIdentity{f[0] == L'C' ? 1u : 2u, index++};
    // Junctions: another path to the same folder.
    ids_[FolderKey(L"C:\\Documents and Settings")] = ids_[FolderKey(L"C:\\Users")];
    ids_[FolderKey(L"C:\\Documents and Settings\\Bob")] = ids_[FolderKey(L"C:\\Users\\Bob")];
    ids_[FolderKey(L"C:\\Users\\Bob\\Local Settings")] =
        ids_[FolderKey(L"C:\\Users\\Bob\\AppData\\Local")];
    ids_[FolderKey(L"C:\\Users\\Bob\\Local Settings\\Temp")] =
        ids_[FolderKey(L"C:\\Users\\Bob\\AppData\\Local\\Temp")];
    // A link elsewhere to the system drive's root, and a mounted volume.
    ids_[FolderKey(L"D:\\cdrive")] = ids_[FolderKey(L"C:\\")];
  }
  std::wstring FullPath(const std::wstring& path) override {
    return SameFolderText(path, L"C:\\Users\\BOB~1") ? L"C:\\Users\\Bob" : path;
  }
  std::optional<FolderIdentity> Identity(const std::wstring& path) override {
    ++identity_reads;
    const auto found = ids_.find(FolderKey(path));
    if (found == ids_.end())
      return std::nullopt;
    return found->second;
  }
  int identity_reads = 0;

 private:
  std::map<std::wstring, FolderIdentity> ids_;
};

TEST(FolderGuardTest, DriveRootsKeptFoldersAndWhatLiesAboveThemAreNotEmptied) {
  FakeFacts facts;
  FolderGuard guard(facts, {L"C:\\Windows", L"C:\\Users\\Bob", L"C:\\Users\\Bob\\AppData\\Local",
                            L"C:\\Users\\Bob\\Documents", L""});
  const struct {
    const wchar_t* folder;
    bool may;
  } cases[] = {
      {L"C:\\Users\\Bob\\AppData\\Local\\Temp", true},
      {L"C:\\Windows\\Temp", true},
      {L"D:\\Tmp", true},
      {L"C:\\Users\\Bob\\AppData\\Roaming", true},
      {L"C:\\Missing", true},  // the walk finds nothing there
      // No full path: it would be taken where the program works.
      {L"\\Temp", false},
      {L"Temp", false},
      {L"C:Temp", false},
      {L"", false},
      {L"C:\\", false},
      {L"c:", false},
      {L"D:\\", false},
      {L"E:\\", false},  // a root, even of a drive the guard knows nothing of
      {L"\\\\server\\share", false},
      {L"C:\\Windows", false},
      {L"c:\\windows\\", false},
      {L"C:\\Users\\Bob", false},
      {L"C:\\Users\\BOB~1", false},
      {L"\\\\?\\C:\\Users\\Bob", false},
      {L"C:\\Users", false},
      {L"C:\\Users\\Bob\\AppData", false},
      {L"C:\\Users\\Bob\\AppData\\Local", false},
      {L"C:\\Users\\Bob\\Documents", false},
      // Other paths to kept folders: junctions and links.
      {L"C:\\Documents and Settings\\Bob", false},
      {L"C:\\Documents and Settings", false},
      {L"C:\\Users\\Bob\\Local Settings", false},
      {L"D:\\cdrive", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(guard.MayEmpty(c.folder), c.may) << c.folder;
  // Each folder once a run, by whatever path it is named again.
  EXPECT_FALSE(guard.MayEmpty(L"C:\\Users\\Bob\\AppData\\Local\\Temp"));
  EXPECT_FALSE(guard.MayEmpty(L"C:\\Users\\Bob\\Local Settings\\Temp"));
  FolderGuard next_run(facts, {});
  EXPECT_TRUE(next_run.MayEmpty(L"C:\\Users\\Bob\\Local Settings\\Temp"));
  // The kept folders' identities were read once, at the start of the run.
  facts.identity_reads = 0;
  guard.MayEmpty(L"D:\\Tmp\\x");
  EXPECT_EQ(facts.identity_reads, 1);
}

}  // namespace
}  // namespace tempclean
