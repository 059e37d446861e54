// tmpsweep's browser boxes on Windows XP, 7, 10 and 11, each run in a
// prefix that win_test_layout_browsers.sh lays out as that Windows with the
// profiles the browsers made (SUITE_TEST_LAYOUT names it). The check knows
// nothing of tmpsweep's table: the layout says where the browsers keep
// what the boxes are for, whatever a run leaves there is a fault, and
// everything else of every profile must stay byte for byte.
#include <gtest/gtest.h>

#include <set>

#include "common/unicode.h"
#include "testing/temp_cleaner_window_support_win.h"

namespace tempclean {
namespace {

using namespace window_test;

// A path against a pattern: "*" stands for any characters of one name,
// "**" for anything; letters without regard to case.
bool Matches(const wchar_t* path, const wchar_t* pattern) {
  if (*pattern == 0)
    return *path == 0;
  if (pattern[0] == L'*') {
    const bool any = pattern[1] == L'*';
    for (const wchar_t* at = path;; ++at) {
      if (Matches(at, pattern + (any ? 2 : 1)))
        return true;
      if (*at == 0 || (!any && *at == L'\\'))
        return false;
    }
  }
  return towlower(*path) == towlower(*pattern) && Matches(path + 1, pattern + 1);
}

bool MatchesAny(const std::wstring& path, const std::vector<std::wstring>& patterns) {
  for (const std::wstring& pattern : patterns)
    if (Matches(path.c_str(), pattern.c_str()))
      return true;
  return false;
}

// The places of C:\browser-places.txt that the layout wrote: where the
// browsers keep what the boxes are for, by box.
struct Place {
  std::wstring box, pattern;
};
std::vector<Place> ReadPlaces(const std::wstring& local, const std::wstring& roaming) {
  std::string bytes;
  EXPECT_TRUE(testing_support::ReadFileBytes(L"C:\\browser-places.txt", &bytes));
  std::vector<Place> places;
  size_t at = 0;
  while (at < bytes.size()) {
    size_t end = bytes.find('\n', at);
    if (end == std::string::npos)
      end = bytes.size();
    const std::wstring line = common::DecodeUtf8(bytes.substr(at, end - at));
    at = end + 1;
    const size_t blank = line.find(L' ');
    if (blank == std::wstring::npos)
      continue;
    std::wstring pattern = line.substr(blank + 1);
    pattern = common::ReplaceAll(pattern, L"%L%", local);
    pattern = common::ReplaceAll(pattern, L"%A%", roaming);
    places.push_back({line.substr(0, blank), pattern});
  }
  return places;
}

class BrowserLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const UserFolders shell = Win32TempCleanerSystem().ShellFolders();
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    ASSERT_TRUE(::GetVersionExW(&info));
    const std::wstring layout = common::GetEnvironmentText(L"SUITE_TEST_LAYOUT");
    xp_ = layout == L"winxp-browsers";
    ASSERT_EQ(info.dwMajorVersion < 6, xp_) << info.dwMajorVersion;
    if (layout == L"win11-browsers")
      EXPECT_GE(info.dwBuildNumber, 22000u);
    const std::wstring& l = local_ = shell.local_app_data;
    const std::wstring& a = roaming_ = shell.app_data;
    ASSERT_TRUE(xp_ == Matches(l.c_str(), L"C:\\Documents and Settings\\*\\**")) << l;
    chrome_ = l + L"\\Google\\Chrome\\User Data";
    WIN32_FIND_DATAW data;
    HANDLE find =
        ::FindFirstFileW((a + L"\\Mozilla\\Firefox\\Profiles\\*.default-esr").c_str(), &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    ::FindClose(find);
    firefox_ = a + L"\\Mozilla\\Firefox\\Profiles\\" + data.cFileName;
    const std::wstring firefox_local = l + L"\\Mozilla\\Firefox\\Profiles\\" + data.cFileName;

    if (xp_) {
      held_profile_ = a + L"\\360se6\\User Data\\Default";
      browsers_ = {L"Google Chrome", L"360安全浏览器", L"Firefox"};
    } else {
      held_profile_ = l + L"\\Microsoft\\Edge\\User Data\\Default";
      // Brave through its junction to D:; Vivaldi's leads to a floppy.
      browsers_ = {L"Google Chrome", L"Microsoft Edge", L"Brave",    L"Opera",
                   L"Opera GX",      L"360安全浏览器",  L"QQ浏览器", L"Firefox"};
    }
    for (const Place& place : ReadPlaces(l, a)) {
      targets_.push_back(place.pattern);
      // The history box's sets, which go whole or not at all; its folders
      // ("\**") are emptied file by file.
      if (place.box == L"history" && common::RightChars(place.pattern, 3) != L"\\**")
        held_set_.push_back(place.pattern);
    }
    ASSERT_GT(targets_.size(), 50u);
    running_ = {chrome_ + L"\\**", firefox_ + L"\\**", firefox_local + L"\\**"};
    // Internet Explorer's folders.
    for (const std::wstring& file : {shell.cookies + L"\\bob@example[1].txt",
                                     shell.internet_cache + L"\\Content.IE5\\K3J8ZQ2P\\logo[1].png",
                                     shell.history + L"\\History.IE5\\visited.url"}) {
      Plant(file, 2);
      targets_.push_back(file);
    }
  }

  bool Takes(const std::wstring& path) const {
    const std::wstring ending = common::RightChars(path, 4);
    return MatchesAny(path, targets_) && ending != L".dat" && ending != L".log" &&
           ending != L".ini";
  }

  // Starts file_locker holding `path` the way `mode` says.
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

  bool xp_ = false;
  std::wstring local_, roaming_, chrome_, firefox_, held_profile_;
  std::vector<std::wstring> targets_, running_, held_set_, browsers_;
};

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
  // The profile (two folders above the local application data, on XP as
  // from Vista on), with Internet Explorer's folders, and drive D:.
  const std::wstring profile = local_.substr(0, local_.rfind(L'\\', local_.rfind(L'\\') - 1));
  std::vector<std::wstring> roots = {profile, L"D:\\Firefox"};
  if (!xp_)
    roots.insert(roots.end(), {L"D:\\Brave", L"E:\\Vivaldi"});
  for (const std::wstring& root : roots)
    Collect(root, &before);
  std::set<std::wstring> targets;
  for (const auto& [path, bytes] : before)
    if (Takes(path))
      targets.insert(path);
  // What no box may take is there to be checked.
  std::vector<std::wstring> kept = {chrome_ + L"\\Local State",
                                    chrome_ + L"\\Default\\Login Data",
                                    chrome_ + L"\\Default\\Bookmarks",
                                    chrome_ + L"\\Default\\Web Data",
                                    chrome_ + L"\\Default\\Preferences",
                                    chrome_ + L"\\Default\\Favicons",
                                    chrome_ + L"\\Default\\Service Worker\\ScriptCache\\index",
                                    firefox_ + L"\\places.sqlite",
                                    firefox_ + L"\\key4.db",
                                    firefox_ + L"\\logins.db",
                                    firefox_ + L"\\prefs.js",
                                    firefox_ + L"\\sessionstore.jsonlz4",
                                    std::wstring(L"D:\\Firefox\\work") + L"\\places.sqlite",
                                    roaming_ + L"\\360se6\\User Data\\Default\\360Bookmarks"};
  if (!xp_) {
    const std::wstring opera = roaming_ + L"\\Opera Software\\";
    kept.insert(
        kept.end(),
        {opera + L"Opera Stable\\Default\\Bookmarks", opera + L"Opera Stable\\Default\\Login Data",
         opera + L"Opera GX Stable\\_side_profiles\\4F2A9C\\Login Data",
         roaming_ + L"\\Mozilla\\Firefox\\Profiles\\g7h8.group\\places.sqlite",
         L"D:\\Brave\\User Data\\Default\\Bookmarks", L"E:\\Vivaldi\\User Data\\Default\\History"});
  }
  for (const std::wstring& path : kept) {
    ASSERT_EQ(before.count(path), 1u) << path;
    EXPECT_EQ(targets.count(path), 0u) << path;
  }
  ASSERT_GT(targets.size(), 40u);

  for (const wchar_t* key : {L"Cookies", L"IEtemp", L"History", L"auto"})
    ::WritePrivateProfileStringW(L"Option", key, L"1", L"qz64temp.ini");
  HANDLE chrome = Hold(chrome_ + L"\\lockfile", L"chromium");
  HANDLE firefox = Hold(firefox_ + L"\\parent.lock", L"firefox");
  HANDLE history = Hold(held_profile_ + L"\\History", L"");

  Win32TempCleanerSystem system;
  MessageBoxAnswerer answerer;
  auto window = OpenWindow(system);

  // The tips name Internet Explorer and the browsers found.
  std::wstring names = L"Internet Explorer";
  for (const std::wstring& browser : browsers_)
    names += L"、" + browser;
  EXPECT_EQ(TipText(*window, window->check(3)), L"清除 " + names + L" 的 Cookies");
  EXPECT_EQ(TipText(*window, window->check(5)), L"清除 " + names + L" 的网页缓存");

  ASSERT_TRUE(PumpUntil([&] { return !answerer.boxes().empty(); }, 30000));
  std::map<std::wstring, std::wstring> expected;
  for (const std::wstring& path : targets) {
    if (MatchesAny(path, held_set_) && Matches(path.c_str(), (held_profile_ + L"\\**").c_str()))
      expected[path] = L"清除失败";
    else if (!MatchesAny(path, running_))
      expected[path] = L"清除成功";
  }
  EXPECT_EQ(Rows(*window), expected);
  const std::wstring linked =
      xp_ ? L""
          : L"\n以下浏览器的数据文件夹是链接，指向的不是本机硬盘上的普通文件夹，未清理：Vivaldi。";
  EXPECT_EQ(answerer.boxes()[0].text,
            L"此次搜索操作中发现垃圾：" + std::to_wstring(expected.size()) +
                L"项\n以下浏览器正在运行，未清理：Google Chrome、Firefox。关闭后再清理一次即可。" +
                linked);
  for (const auto& [path, bytes] : before) {
    // A lock held with no sharing cannot be read; it is compared after
    // the second run.
    if (path == firefox_ + L"\\parent.lock")
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
  ASSERT_FALSE(FileExists(chrome_ + L"\\lockfile"));
  Click(window->cmdSearch());
  ASSERT_EQ(answerer.boxes().size(), 2u);
  std::map<std::wstring, std::wstring> second;
  for (const std::wstring& path : targets)
    if (expected.count(path) == 0 || expected[path] != L"清除成功")
      second[path] = L"清除成功";
  EXPECT_EQ(Rows(*window), second);
  EXPECT_EQ(answerer.boxes()[1].text, L"此次搜索操作中发现垃圾：" + std::to_wstring(second.size()) +
                                          L"项" + (xp_ ? L"" : linked));
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
