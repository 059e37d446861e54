// tmpsweep on Windows Vista to 11, each run in a prefix laid out the way
// that Windows lays out a user's profile (win_test_layout.sh, named by
// SUITE_TEST_LAYOUT): with every box ticked and the automatic run on, each
// category empties the folders where that Windows keeps those things for
// the user, and nothing else.
#include <gtest/gtest.h>

#include <set>

#include "temp-cleaner/recycle_script.h"
#include "testing/temp_cleaner_window_support_win.h"

// After <windows.h>, which the headers above bring.
#include <tlhelp32.h>

namespace tempclean {
namespace {

using namespace window_test;

constexpr wchar_t kSid[] = L"S-1-5-21-0-0-0-1000";  // Wine's one user

struct Layout {
  const wchar_t* name;
  const wchar_t* version;  // as the programs read it
  bool seven;              // the browser's folders of Vista and 7
  bool renamed;            // the profile is C:\Users\bob.PC
  enum { kOwnTemp, kTempAtProfile, kTempAtRoot } temp;
};

const Layout kLayouts[] = {
    {L"win7", L"6.1", true, false, Layout::kOwnTemp},
    {L"win81", L"6.3", false, false, Layout::kOwnTemp},
    {L"win10", L"10.0", false, false, Layout::kOwnTemp},
    {L"win11", L"10.0", false, false, Layout::kOwnTemp},
    {L"win10-renamed", L"10.0", false, true, Layout::kOwnTemp},
    {L"win10-temp-profile", L"10.0", false, false, Layout::kTempAtProfile},
    {L"win11-temp-root", L"10.0", false, false, Layout::kTempAtRoot},
};

const Layout* ThisLayout() {
  const std::wstring name = common::GetEnvironmentText(L"SUITE_TEST_LAYOUT");
  for (const Layout& layout : kLayouts)
    if (name == layout.name)
      return &layout;
  return nullptr;
}

// The process ids of the desktop shell.
std::set<DWORD> ShellProcesses() {
  std::set<DWORD> ids;
  HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL more = ::Process32FirstW(snapshot, &entry); more;
       more = ::Process32NextW(snapshot, &entry))
    if (_wcsicmp(entry.szExeFile, L"explorer.exe") == 0)
      ids.insert(entry.th32ProcessID);
  ::CloseHandle(snapshot);
  return ids;
}

class LayoutTempCleanerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    layout_ = ThisLayout();
    ASSERT_NE(layout_, nullptr) << "run with temp-cleaner/win_test_layout.sh and SUITE_TEST_LAYOUT";
    user_ = UserName();
    windows_ = common::GetEnvironmentText(L"windir");
    own_profile_ = L"C:\\users\\" + user_;
    // The renamed profile is C:\Users\bob.PC to the registry; the walk
    // spells the folders as the disk does (the fixture makes it in Wine's
    // "users").
    profile_ = layout_->renamed ? L"C:\\users\\bob.PC" : own_profile_;
  }

  const Layout* layout_ = nullptr;
  std::wstring user_, windows_, own_profile_, profile_;
};

// Every box ticked, the automatic run on: the categories name that
// Windows' folders for the user, every file in them but the kinds the walk
// keeps is deleted and listed once, no junction is entered, the shell is
// told to empty its bin and goes on running, and no script is written.
TEST_F(LayoutTempCleanerTest, EveryBoxEmptiesThisWindowsFoldersOfTheUser) {
  OSVERSIONINFOW info = {};
  info.dwOSVersionInfoSize = sizeof(info);
  ASSERT_TRUE(::GetVersionExW(&info));
  if (std::wstring(layout_->name).rfind(L"win11", 0) == 0)
    EXPECT_GE(info.dwBuildNumber, 22000u);
  // Beside the user's folders, the shell names those a run keeps.
  const UserFolders shell_folders = Win32TempCleanerSystem().ShellFolders();
  EXPECT_TRUE(SameFolderText(shell_folders.desktop, profile_ + L"\\Desktop"))
      << shell_folders.desktop;
  EXPECT_FALSE(shell_folders.program_data.empty());
  EXPECT_FALSE(shell_folders.program_files.empty());

  const std::wstring local = profile_ + L"\\AppData\\Local";
  const std::wstring roaming = profile_ + L"\\AppData\\Roaming";
  const std::wstring windows_local = local + L"\\Microsoft\\Windows";
  const std::wstring cookies = layout_->seven ? roaming + L"\\Microsoft\\Windows\\Cookies"
                                              : windows_local + L"\\INetCookies";
  const std::wstring cache = layout_->seven ? windows_local + L"\\Temporary Internet Files"
                                            : windows_local + L"\\INetCache";
  const std::wstring cache_files = cache + (layout_->seven ? L"\\Content.IE5" : L"\\IE");
  const std::wstring bin = L"C:\\$Recycle.Bin\\" + std::wstring(kSid);

  // What the walk takes, and what it keeps in the same folders.
  const std::vector<std::wstring> cleaned = {
      bin + L"\\$IABC123.txt",
      bin + L"\\$RABC123.txt",
      bin + L"\\$RDIR456\\a.doc",
      bin + L"\\$RDIR456\\sub\\b.xls",
      bin + L"\\$IPRJ01K",
      L"D:\\$Recycle.Bin\\" + std::wstring(kSid) + L"\\$RXYZ789.zip",
      windows_ + L"\\Prefetch\\NOTEPAD.EXE-D8414F97.pf",
      local + L"\\Temp\\~DF1234.tmp",
      local + L"\\Temp\\setup\\x.bin",
      windows_ + L"\\Temp\\w.tmp",
      cookies + L"\\Low\\bob@example[1].txt",
      roaming + L"\\Microsoft\\Windows\\Recent\\letter.lnk",
      roaming +
          L"\\Microsoft\\Windows\\Recent\\AutomaticDestinations\\5f7b5f1e01b83767."
          L"automaticDestinations-ms",
      cache_files + L"\\K3J8ZQ2P\\logo[1].png",
      windows_local + L"\\History\\History.IE5\\visited.url",
  };
  std::vector<std::wstring> kept = {
      bin + L"\\desktop.ini",
      windows_ + L"\\Prefetch\\Layout.ini",
      local + L"\\Temp\\setup\\setup.log",
      cache_files + (layout_->seven ? L"\\index.dat" : L"\\container.dat"),
      windows_local + L"\\History\\History.IE5\\index.dat",
      windows_local + L"\\WebCache\\WebCacheV01.dat",
      windows_local + L"\\WebCache\\V01.chk",
      // Another user's bin, a removable drive's bin.
      L"C:\\$Recycle.Bin\\S-1-5-21-0-0-0-1001\\$IOTHER1.txt",
      L"E:\\$Recycle.Bin\\" + std::wstring(kSid) + L"\\$RSTICK1.bin",
      // The user's documents, also behind the recycled junction.
      own_profile_ + L"\\Documents\\thesis.doc",
      own_profile_ + L"\\Documents\\Project\\plan.doc",
      profile_ + L"\\Desktop\\todo.tmp",
      profile_ + L"\\notes.txt",
      // Wine's own TEMP folder is no folder of these Windows.
      own_profile_ + L"\\Temp\\wine.tmp",
      L"C:\\rootfile.txt",
  };
  if (layout_->renamed) {
    // The folders named after the user name belong to another account.
    for (const wchar_t* other :
         {L"\\AppData\\Local\\Temp\\not-mine.tmp",
          L"\\AppData\\Local\\Microsoft\\Windows\\INetCache\\IE\\K3J8ZQ2P\\o.png",
          L"\\AppData\\Roaming\\Microsoft\\Windows\\Recent\\other.lnk"})
      kept.push_back(own_profile_ + other);
  }
  for (const auto& file : cleaned)
    Plant(file, 2500);
  for (const auto& file : kept)
    Plant(file, 10);
  ASSERT_TRUE(::GetFileAttributesW((bin + L"\\$RPRJ01K").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT);
  ASSERT_TRUE(FileExists(L"C:\\trash-files\\old-draft.txt"));

  ::DeleteFileW((windows_ + L"\\qz64temp.ini").c_str());
  for (const wchar_t* key :
       {L"Rec", L"temp", L"Cookies", L"Recent", L"IEtemp", L"History", L"auto"})
    ::WritePrivateProfileStringW(L"Option", key, L"1", L"qz64temp.ini");
  const std::set<DWORD> shell = ShellProcesses();
  ASSERT_FALSE(shell.empty());

  Win32TempCleanerSystem system;  // the real one: a script would really run
  MessageBoxAnswerer answerer;
  auto window = OpenWindow(system);
  ASSERT_TRUE(PumpUntil([&] { return !answerer.boxes().empty(); }, 20000));
  const TempCleaner& logic = window->logic();

  // The folders each category names.
  std::wstring temp_list = L";" + windows_ + L"\\Prefetch;" + local + L"\\Temp";
  if (layout_->temp == Layout::kTempAtProfile)
    temp_list += L";" + profile_;
  if (layout_->temp == Layout::kTempAtRoot)
    temp_list += L";C:\\";
  temp_list += L";" + windows_ + L"\\Temp";
  EXPECT_EQ(logic.Text(7), layout_->version);
  EXPECT_EQ(logic.Text(1), L";" + bin + L";D:\\$Recycle.Bin\\" + kSid);
  EXPECT_EQ(logic.Text(2), temp_list);
  EXPECT_EQ(logic.Text(3), L";" + cookies);
  EXPECT_EQ(logic.Text(4), L";" + roaming + L"\\Microsoft\\Windows\\Recent");
  EXPECT_EQ(logic.Text(5), L";" + cache);
  EXPECT_EQ(logic.Text(6), L";" + windows_local + L"\\History");
  if (std::wstring(layout_->name) == L"win7") {
    // Character for character the texts of Vista and 7.
    EXPECT_EQ(logic.Text(3),
              L";C:\\users\\" + user_ + L"\\AppData\\Roaming\\Microsoft\\Windows\\Cookies");
    EXPECT_EQ(logic.Text(5), L";C:\\users\\" + user_ +
                                 L"\\AppData\\Local\\Microsoft\\Windows\\Temporary Internet Files");
  }

  // Every file deleted is listed once, as cleaned; the summary counts them.
  std::map<std::wstring, std::wstring> expected;
  for (const auto& file : cleaned) {
    EXPECT_FALSE(FileExists(file)) << file;
    expected[file] = L"清除成功";
  }
  EXPECT_EQ(Rows(*window), expected);
  ASSERT_EQ(answerer.boxes().size(), 1u);
  EXPECT_EQ(answerer.boxes()[0].text,
            L"此次搜索操作中发现垃圾：" + std::to_wstring(cleaned.size()) + L"项");
  for (const auto& file : kept)
    EXPECT_TRUE(FileExists(file)) << file;
  EXPECT_TRUE(::GetFileAttributesW((bin + L"\\$RPRJ01K").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT);

  // The shell emptied its bin (Wine's is the trash the fixture filled) and
  // went on running; no script was written.
  EXPECT_FALSE(FileExists(L"C:\\trash-files\\old-draft.txt"));
  testing_support::PumpFor(500);
  EXPECT_EQ(ShellProcesses(), shell);
  EXPECT_FALSE(FileExists(kScriptName));
  EXPECT_FALSE(FileExists(common::JoinPath(common::TempFolder(), kScriptName)));
}

}  // namespace
}  // namespace tempclean
