// tmpsweep's browser boxes on Windows XP, 7, 10 and 11, each run in a
// prefix that win_test_layout_browsers.sh lays out as that Windows with the
// profiles the browsers made (SUITE_TEST_LAYOUT names it). What the boxes
// take is worked out here from the browsers' own file names, apart from the
// code under test; everything else of every profile must stay byte for byte.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "common/platform_win.h"
#include "common/text_rules.h"
#include "temp-cleaner/temp_cleaner_window_win.h"
#include "testing/win_test_support_win.h"

namespace tempclean {
namespace {

using testing_support::FileExists;
using testing_support::MessageBoxAnswerer;
using testing_support::PumpUntil;

using Files = std::map<std::wstring, std::string>;  // path: bytes

// Every file below `folder`; links are not followed.
void Collect(const std::wstring& folder, Files* files) {
  WIN32_FIND_DATAW data;
  HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE)
    return;
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..")
      continue;
    const std::wstring path = folder + L"\\" + name;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
      continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      Collect(path, files);
    } else {
      testing_support::ReadFileBytes(path, &(*files)[path]);
    }
  } while (::FindNextFileW(find, &data));
  ::FindClose(find);
}

bool StartsWith(const std::wstring& text, const std::wstring& prefix) {
  return common::ToLowerAscii(text).rfind(common::ToLowerAscii(prefix), 0) == 0;
}

bool Kept(const std::wstring& path) {
  const std::wstring ending = common::RightChars(path, 4);
  return ending == L".dat" || ending == L".log" || ending == L".ini";
}

// The part of a Chromium profile that the three boxes take, by the path
// inside the profile.
bool ProfileTakes(const std::wstring& inside) {
  for (const wchar_t* cache : {L"Cache\\", L"Code Cache\\", L"GPUCache\\", L"DawnCache\\",
                               L"DawnGraphiteCache\\", L"DawnWebGPUCache\\"})
    if (StartsWith(inside, cache))
      return !Kept(inside);
  static const std::set<std::wstring> sets = {L"cookies",
                                              L"cookies-journal",
                                              L"network\\cookies",
                                              L"network\\cookies-journal",
                                              L"history",
                                              L"history-journal",
                                              L"visited links",
                                              L"top sites",
                                              L"top sites-journal",
                                              L"shortcuts",
                                              L"shortcuts-journal",
                                              L"network action predictor",
                                              L"network action predictor-journal",
                                              L"history provider cache"};
  return sets.count(common::ToLowerAscii(inside)) != 0;
}

struct Layout {
  std::wstring local, roaming;
  bool xp = false;
  std::wstring chrome, firefox_profile, firefox_local, firefox_d;
  std::vector<std::wstring> chromium_roots;  // each holding profiles
  std::wstring opera, opera_local;           // "" on XP
  std::wstring held_history_profile;         // its History held, no lock
  std::vector<std::wstring> ie_files;
  std::vector<std::wstring> browsers;  // as the tips name them
};

class BrowserLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const UserFolders shell = Win32TempCleanerSystem().ShellFolders();
    ASSERT_FALSE(shell.local_app_data.empty());
    ASSERT_FALSE(shell.app_data.empty());
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    ASSERT_TRUE(::GetVersionExW(&info));
    const std::wstring name = common::GetEnvironmentText(L"SUITE_TEST_LAYOUT");
    l_.xp = name == L"winxp-browsers";
    ASSERT_EQ(info.dwMajorVersion < 6, l_.xp) << info.dwMajorVersion;
    if (name == L"win11-browsers")
      EXPECT_GE(info.dwBuildNumber, 22000u);
    l_.local = shell.local_app_data;
    l_.roaming = shell.app_data;
    if (l_.xp)
      EXPECT_TRUE(StartsWith(l_.local, L"C:\\Documents and Settings\\")) << l_.local;
    l_.chrome = l_.local + L"\\Google\\Chrome\\User Data";
    l_.chromium_roots = {l_.chrome, l_.roaming + L"\\360se6\\User Data"};
    if (!l_.xp) {
      l_.chromium_roots.push_back(l_.local + L"\\Microsoft\\Edge\\User Data");
      l_.chromium_roots.push_back(l_.local + L"\\Tencent\\QQBrowser\\User Data");
      l_.opera = l_.roaming + L"\\Opera Software\\Opera Stable";
      l_.opera_local = l_.local + L"\\Opera Software\\Opera Stable";
      l_.held_history_profile = l_.local + L"\\Microsoft\\Edge\\User Data\\Default";
      l_.browsers = {L"Google Chrome", L"Microsoft Edge", L"Opera",
                     L"360安全浏览器", L"QQ浏览器",       L"Firefox"};
    } else {
      l_.held_history_profile = l_.roaming + L"\\360se6\\User Data\\Default";
      l_.browsers = {L"Google Chrome", L"360安全浏览器", L"Firefox"};
    }
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW(
        (l_.roaming + L"\\Mozilla\\Firefox\\Profiles\\*.default-esr").c_str(), &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    ::FindClose(find);
    l_.firefox_profile = l_.roaming + L"\\Mozilla\\Firefox\\Profiles\\" + data.cFileName;
    l_.firefox_local = l_.local + L"\\Mozilla\\Firefox\\Profiles\\" + data.cFileName;
    l_.firefox_d = L"D:\\Firefox\\work";
    // Internet Explorer's folders, as before.
    for (const std::wstring& file : {shell.cookies + L"\\bob@example[1].txt",
                                     shell.internet_cache + L"\\Content.IE5\\K3J8ZQ2P\\logo[1].png",
                                     shell.history + L"\\History.IE5\\visited.url"}) {
      testing_support::MakeFolders(file.substr(0, file.rfind(L'\\')));
      ASSERT_TRUE(testing_support::WriteFileBytes(file, "ie")) << file;
      l_.ie_files.push_back(file);
    }
  }

  bool Takes(const std::wstring& path) const {
    for (const std::wstring& file : l_.ie_files)
      if (common::ToLowerAscii(file) == common::ToLowerAscii(path))
        return true;
    for (const std::wstring& root : l_.chromium_roots) {
      if (!StartsWith(path, root + L"\\"))
        continue;
      const std::wstring rel = path.substr(root.size() + 1);
      const size_t slash = rel.find(L'\\');
      if (slash == std::wstring::npos)
        return false;  // Local State and the other files of the root
      for (const wchar_t* cache :
           {L"ShaderCache\\", L"GrShaderCache\\", L"GraphiteDawnCache\\", L"GPUPersistentCache\\"})
        if (StartsWith(rel, cache))
          return !Kept(rel);
      return ProfileTakes(rel.substr(slash + 1));
    }
    if (!l_.opera.empty() && StartsWith(path, l_.opera + L"\\"))
      return ProfileTakes(path.substr(l_.opera.size() + 1));
    if (!l_.opera_local.empty() && StartsWith(path, l_.opera_local + L"\\Cache\\"))
      return !Kept(path);
    for (const std::wstring& profile : {l_.firefox_profile, l_.firefox_d}) {
      const std::wstring inside = StartsWith(path, profile + L"\\")
                                      ? common::ToLowerAscii(path.substr(profile.size() + 1))
                                      : L"";
      if (inside == L"cookies.sqlite" || inside == L"cookies.sqlite-wal" ||
          inside == L"cookies.sqlite-shm")
        return true;
    }
    for (const std::wstring& local : {l_.firefox_local, l_.firefox_d})
      if (StartsWith(path, local + L"\\cache2\\"))
        return !Kept(path);
    return false;
  }

  // What a running Chrome (its lockfile) and a running Firefox (the
  // relative profile's parent.lock) cover.
  bool UnderRunningBrowser(const std::wstring& path) const {
    return StartsWith(path, l_.chrome + L"\\") || StartsWith(path, l_.firefox_profile + L"\\") ||
           StartsWith(path, l_.firefox_local + L"\\");
  }
  // The history set of the profile whose History is held.
  bool InHeldSet(const std::wstring& path) const {
    if (!StartsWith(path, l_.held_history_profile + L"\\"))
      return false;
    const std::wstring inside =
        common::ToLowerAscii(path.substr(l_.held_history_profile.size() + 1));
    return inside.find(L'\\') == std::wstring::npos && inside.find(L"cookies") != 0 &&
           ProfileTakes(inside);
  }

  HANDLE Hold(const std::wstring& path, const wchar_t* mode) {
    const std::wstring marker = path + L".held";
    HANDLE process = nullptr;
    EXPECT_TRUE(common::StartCommandLine(testing_support::TestProgramFolder() +
                                             L"\\file_locker.exe \"" + path + L"\" \"" + marker +
                                             L"\" " + mode,
                                         common::StartWindow::kHidden, &process));
    EXPECT_TRUE(PumpUntil([&] { return FileExists(marker); }, 10000)) << path;
    ::DeleteFileW(marker.c_str());
    return process;
  }

  Layout l_;
};

std::map<std::wstring, std::wstring> Rows(TempCleanerWindow& window) {
  std::map<std::wstring, std::wstring> rows;
  for (int r = 0; r < window.results().RowCount(); ++r) {
    const std::wstring item = window.results().CellText(r, 0);
    EXPECT_EQ(rows.count(item), 0u) << "listed twice: " << item;
    rows[item] = window.results().CellText(r, 2);
  }
  return rows;
}

// Every box ticked and the automatic run on while Chrome and Firefox run
// (their locks held as they hold them) and another browser's History is
// held open without its lock: the running browsers keep every file and
// are named on the summary's second line, the held History keeps its whole
// set, everything else the boxes take is deleted and listed once. Once the
// browsers have ended, a second run takes the rest. After both, every file
// the boxes do not take (bookmarks, saved passwords, the key of Local
// State, places.sqlite ...) is byte for byte as it was, and nothing behind
// the link in Chrome's cache was reached.
TEST_F(BrowserLayoutTest, EachBoxCleansEveryBrowserButARunningOne) {
  Files before;
  for (const std::wstring& root : {l_.local, l_.roaming, std::wstring(L"D:\\Firefox")})
    Collect(root, &before);
  for (const std::wstring& file : l_.ie_files)
    testing_support::ReadFileBytes(file, &before[file]);
  std::set<std::wstring> targets;
  for (const auto& [path, bytes] : before)
    if (Takes(path))
      targets.insert(path);
  // What no box may take is there to be checked.
  for (const std::wstring& kept :
       {l_.chrome + L"\\Local State", l_.chrome + L"\\Default\\Login Data",
        l_.chrome + L"\\Default\\Bookmarks", l_.chrome + L"\\Default\\Web Data",
        l_.chrome + L"\\Default\\Preferences", l_.chrome + L"\\Default\\Favicons",
        l_.firefox_profile + L"\\places.sqlite", l_.firefox_profile + L"\\key4.db",
        l_.firefox_profile + L"\\logins.db", l_.firefox_profile + L"\\prefs.js",
        l_.firefox_d + L"\\places.sqlite",
        l_.roaming + L"\\360se6\\User Data\\Default\\360Bookmarks"}) {
    ASSERT_EQ(before.count(kept), 1u) << kept;
    EXPECT_EQ(targets.count(kept), 0u) << kept;
  }
  ASSERT_GT(targets.size(), 40u);

  for (const wchar_t* key : {L"Cookies", L"IEtemp", L"History", L"auto"})
    ::WritePrivateProfileStringW(L"Option", key, L"1", L"qz64temp.ini");
  HANDLE chrome = Hold(l_.chrome + L"\\lockfile", L"chromium");
  HANDLE firefox = Hold(l_.firefox_profile + L"\\parent.lock", L"firefox");
  HANDLE history = Hold(l_.held_history_profile + L"\\History", L"");

  Win32TempCleanerSystem system;
  MessageBoxAnswerer answerer;
  TempCleanerWindow window(system);
  window.exit_action = [] {};
  window.quit_on_destroy = false;
  ASSERT_TRUE(window.Open());

  // The tips name Internet Explorer and the browsers found.
  for (int box : {3, 5}) {
    wchar_t tip[512] = {};
    TOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V1_SIZE;
    tool.hwnd = window.hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(window.check(box));
    tool.lpszText = tip;
    ::SendMessageW(window.tooltip(), TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&tool));
    std::wstring names = L"Internet Explorer";
    for (const std::wstring& browser : l_.browsers)
      names += L"、" + browser;
    EXPECT_EQ(std::wstring(tip), L"清除 " + names + (box == 3 ? L" 的 Cookies" : L" 的网页缓存"));
  }

  ASSERT_TRUE(PumpUntil([&] { return !answerer.boxes().empty(); }, 30000));
  std::map<std::wstring, std::wstring> expected;
  for (const std::wstring& path : targets) {
    if (InHeldSet(path))
      expected[path] = L"清除失败";
    else if (!UnderRunningBrowser(path))
      expected[path] = L"清除成功";
  }
  EXPECT_EQ(Rows(window), expected);
  EXPECT_EQ(answerer.boxes()[0].text,
            L"此次搜索操作中发现垃圾：" + std::to_wstring(expected.size()) +
                L"项\n以下浏览器正在运行，未清理：Google Chrome、Firefox。关闭后再清理一次即可。");
  for (const auto& [path, bytes] : before) {
    // A lock held with no sharing cannot be read; it is compared after
    // the second run.
    if (path == l_.firefox_profile + L"\\parent.lock")
      continue;
    const bool gone = expected.count(path) && expected[path] == L"清除成功";
    std::string now;
    EXPECT_EQ(testing_support::ReadFileBytes(path, &now), !gone) << path;
    if (!gone)
      EXPECT_EQ(now, bytes) << path;
  }

  // The browsers end; the second run takes what they kept.
  for (HANDLE process : {chrome, firefox, history}) {
    ::TerminateProcess(process, 0);
    ::WaitForSingleObject(process, 5000);
    ::CloseHandle(process);
  }
  ASSERT_FALSE(FileExists(l_.chrome + L"\\lockfile"));
  ::SendMessageW(window.cmdSearch(), BM_CLICK, 0, 0);
  ASSERT_EQ(answerer.boxes().size(), 2u);
  std::map<std::wstring, std::wstring> second;
  for (const std::wstring& path : targets)
    if (expected.count(path) == 0 || expected[path] != L"清除成功")
      second[path] = L"清除成功";
  EXPECT_EQ(Rows(window), second);
  EXPECT_EQ(answerer.boxes()[1].text,
            L"此次搜索操作中发现垃圾：" + std::to_wstring(second.size()) + L"项");
  for (const auto& [path, bytes] : before) {
    std::string now;
    EXPECT_EQ(testing_support::ReadFileBytes(path, &now), targets.count(path) == 0) << path;
    if (!targets.count(path))
      EXPECT_EQ(now, bytes) << path;
  }
  std::string canary;
  EXPECT_TRUE(testing_support::ReadFileBytes(L"C:\\browser-canary\\keep.txt", &canary));
  EXPECT_EQ(canary, "kept\n");
}

}  // namespace
}  // namespace tempclean
