#include "temp-cleaner/browsers.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "common/text_rules.h"
#include "testing/fake_engine_ports.h"
#include "testing/list_text.h"

namespace tempclean {
namespace {

using testing_support::FakeFileSystem;

// Paths are written short: L the local and A the roaming application data,
// C Chrome's and B Chrome Beta's user data, F and FL Firefox's profiles in
// the roaming and the local folder, P the Store Firefox's LocalCache, O and
// OL Opera's roaming and local folders, S 360's user data.
const std::vector<std::pair<std::wstring, std::wstring>> kShort = {
    {L"C\\", L"C:\\Users\\Bob\\AppData\\Local\\Google\\Chrome\\User Data\\"},
    {L"B\\", L"C:\\Users\\Bob\\AppData\\Local\\Google\\Chrome Beta\\User Data\\"},
    {L"P\\",
     L"C:\\Users\\Bob\\AppData\\Local\\Packages\\Mozilla.Firefox_n80bbvh6b1yt2\\LocalCache\\"},
    {L"FL\\", L"C:\\Users\\Bob\\AppData\\Local\\Mozilla\\Firefox\\Profiles\\"},
    {L"F\\", L"C:\\Users\\Bob\\AppData\\Roaming\\Mozilla\\Firefox\\Profiles\\"},
    {L"OL\\", L"C:\\Users\\Bob\\AppData\\Local\\Opera Software\\"},
    {L"O\\", L"C:\\Users\\Bob\\AppData\\Roaming\\Opera Software\\"},
    {L"S\\", L"C:\\Users\\Bob\\AppData\\Roaming\\360se6\\User Data\\"},
    {L"L\\", L"C:\\Users\\Bob\\AppData\\Local\\"},
    {L"A\\", L"C:\\Users\\Bob\\AppData\\Roaming\\"}};

std::wstring Long(const std::wstring& path) {
  for (const auto& [short_form, long_form] : kShort)
    if (path.rfind(short_form, 0) == 0)
      return long_form + path.substr(short_form.size());
  return path;
}

std::wstring Short(std::wstring path) {
  for (const auto& [short_form, long_form] : kShort)
    path = common::ReplaceAll(path, long_form, short_form);
  return path;
}

using testing_support::Split;

class FakeBrowserSystem : public BrowserSystem {
 public:
  std::optional<std::string> ReadSmallFile(const std::wstring& path, size_t max_bytes) override {
    if (path != Long(L"A\\Mozilla\\Firefox\\profiles.ini") || ini.empty())
      return std::nullopt;
    return ini.substr(0, max_bytes);
  }
  bool LockHeld(const std::wstring&) override { return false; }
  std::optional<std::wstring> LinkTarget(const std::wstring& path) override {
    const auto it = links.find(path);
    return it == links.end() ? std::nullopt : std::optional<std::wstring>(it->second);
  }
  unsigned DriveType(const std::wstring& root) override {
    return root == L"F:\\" ? engine::kDriveRemote : engine::kDriveFixed;
  }
  std::string ini;
  std::map<std::wstring, std::wstring> links;  // link: where it leads
};

// One line a lock, and one a cache folder or a set.
std::vector<std::wstring> Describe(const std::vector<BrowserData>& found) {
  std::vector<std::wstring> lines;
  auto add_sets = [&](const wchar_t* kind, const std::vector<std::vector<std::wstring>>& sets) {
    for (const auto& set : sets) {
      std::wstring line = kind;
      for (const std::wstring& f : set)
        line += (line == kind ? L" " : L" + ") + Short(f);
      lines.push_back(line);
    }
  };
  for (const BrowserData& d : found) {
    lines.push_back(d.name + L" " + Short(d.lock));
    for (const std::wstring& f : d.cache_folders)
      lines.push_back(L"cache " + Short(f));
    add_sets(L"cookies", d.cookie_sets);
    add_sets(L"history", d.history_sets);
    for (const std::wstring& f : d.history_folders)
      lines.push_back(L"history folder " + Short(f));
  }
  return lines;
}

const std::string kProfilesIni =
    "\xEF\xBB\xBF[General]\r\nStartWithLastProfile=1\r\n\r\n"
    "[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/ab12.default\r\nDefault=1\r\n\r\n"
    "[Profile1]\r\nName=work\r\nIsRelative=0\r\nPath=D:\\Firefox\\work\r\n\r\n"
    "[Profile2]\r\nName=escape\r\nIsRelative=1\r\nPath=Profiles/../../../Local\r\n\r\n"
    "[Profile3]\r\nName=again\r\nIsRelative=0\r\nPath=D:/Firefox/work/\r\n\r\n"
    "[Profile4]\r\nName=no-flag\r\nPath=Profiles/zz.old\r\n\r\n"
    "[Install308046B0AF4A39CB]\r\nDefault=Profiles/ab12.default\r\n";

// Each layout is laid on an empty disk; the lines are what is found.
TEST(BrowsersTest, FindsEveryProfileAndOnlyWhatTheBoxesTake) {
  const struct {
    const char* what;
    // Paths and lines, each list one text with "|" between them.
    const wchar_t* files;
    const wchar_t* links;
    bool local_named;  // the shell names the local application data
    const wchar_t* expected;
  } cases[] = {
      {"chrome: profiles with gaps and links, old and new places; what stays is not named",
       L"C\\Local State|C\\Default\\Preferences|C\\Default\\Cache\\Cache_Data\\f_01|"
       L"C\\Default\\Code Cache\\js\\x|C\\Default\\DawnWebGPUCache\\data_0|"
       L"C\\Default\\Network\\Cookies|C\\Default\\Network\\Cookies-journal|"
       L"C\\Default\\Network\\TransportSecurity|C\\Default\\History|C\\Default\\History-journal|"
       L"C\\Default\\Top Sites|C\\Default\\Login Data|C\\Default\\Bookmarks|C\\Default\\Favicons|"
       L"C\\Default\\Web Data|C\\Profile 3\\Preferences|C\\Profile 3\\Cookies|"
       L"C\\Profile 3\\Visited Links|C\\Profile 3\\History Index 2013-05|"
       L"C\\Profile 3\\History Index 2013-05-journal|C\\Profile 3\\History Index 13-05|"
       L"C\\Crashpad\\settings.dat|C\\Profile 2\\Preferences|C\\ShaderCache\\index|"
       L"C\\GPUPersistentCache\\a\\b",
       L"C\\Profile 2", true,
       L"Google Chrome C\\lockfile|cache C\\Default\\Cache|cache C\\Default\\Code Cache|"
       L"cache C\\Default\\DawnWebGPUCache|cache C\\ShaderCache|cache C\\GPUPersistentCache|"
       L"cookies C\\Default\\Network\\Cookies + C\\Default\\Network\\Cookies-journal|"
       L"cookies C\\Profile 3\\Cookies|"
       L"history C\\Default\\History + C\\Default\\History-journal + C\\Default\\Top Sites|"
       L"history C\\Profile 3\\History Index 2013-05 + "
       L"C\\Profile 3\\History Index 2013-05-journal + C\\Profile 3\\Visited Links"},
      {"the places of 2026: Opera 126's Default beside a stale root, a GX sidebar profile, "
       "the pages' caches but not their scripts, 360's own history, the history's passages, "
       "the extensions' cookies, a channel by its name",
       L"O\\Opera Stable\\Preferences|O\\Opera Stable\\Default\\Preferences|"
       L"O\\Opera Stable\\Default\\History|O\\Opera Stable\\Default\\Bookmarks|"
       L"OL\\Opera Stable\\Default\\Cache\\Cache_Data\\index|"
       L"O\\Opera GX Stable\\Default\\Preferences|"
       L"O\\Opera GX Stable\\_side_profiles\\12AB\\Preferences|"
       L"O\\Opera GX Stable\\_side_profiles\\12AB\\Network\\Cookies|"
       L"OL\\Opera GX Stable\\_side_profiles\\12AB\\Cache\\f|S\\Default\\Preferences|"
       L"S\\Default\\360History.dat|S\\Default\\360History.dat-journal|"
       L"S\\Default\\HisDailyBackup\\20261210|S\\Default\\360Bookmarks|B\\Default\\Preferences|"
       L"B\\Default\\Service Worker\\CacheStorage\\a\\index|"
       L"B\\Default\\Service Worker\\ScriptCache\\index|"
       L"B\\Default\\Service Worker\\Database\\CURRENT|B\\Default\\History|"
       L"B\\Default\\HistoryEmbeddings|B\\Default\\HistoryEmbeddings-wal|"
       L"B\\Default\\HistoryEmbeddings-shm|B\\Default\\Extension Cookies|"
       L"B\\Default\\Network\\Device Bound Sessions|B\\Default\\JumpListIconsMostVisited\\a.ico|"
       L"B\\extensions_crx_cache\\x.crx",
       L"", true,
       L"Google Chrome Beta B\\lockfile|cache B\\Default\\Service Worker\\CacheStorage|"
       L"cache B\\extensions_crx_cache|"
       L"cookies B\\Default\\Extension Cookies + B\\Default\\Network\\Device Bound Sessions|"
       L"history B\\Default\\History + B\\Default\\HistoryEmbeddings + "
       L"B\\Default\\HistoryEmbeddings-shm + B\\Default\\HistoryEmbeddings-wal|"
       L"history folder B\\Default\\JumpListIconsMostVisited|Opera O\\Opera Stable\\lockfile|"
       L"cache OL\\Opera Stable\\Default\\Cache|history O\\Opera Stable\\Default\\History|"
       L"Opera GX O\\Opera GX Stable\\lockfile|"
       L"cache OL\\Opera GX Stable\\_side_profiles\\12AB\\Cache|"
       L"cookies O\\Opera GX Stable\\_side_profiles\\12AB\\Network\\Cookies|360安全浏览器 "
       L"S\\lockfile|"
       L"history S\\Default\\360History.dat + S\\Default\\360History.dat-journal|"
       L"history folder S\\Default\\HisDailyBackup"},
      {"firefox: a profile outside profiles.ini, one not yet ended once, the Store's",
       L"F\\ab12.default\\cookies.sqlite|F\\cd34.group\\prefs.js|F\\cd34.group\\cookies.sqlite|"
       L"F\\cd34.group\\cookies.sqlite-shm|FL\\cd34.group\\cache2\\index|"
       L"FL\\cd34.group\\thumbnails\\a.png|FL\\cd34.group\\jumpListCache\\b.ico|"
       L"F\\ef56.new\\times.json|F\\not-a-profile\\notes.txt|"
       L"P\\Roaming\\Mozilla\\Firefox\\Profiles\\st1.default\\prefs.js|"
       L"P\\Roaming\\Mozilla\\Firefox\\Profiles\\st1.default\\cookies.sqlite|"
       L"P\\Local\\Mozilla\\Firefox\\Profiles\\st1.default\\cache2\\index",
       L"", true,
       L"Firefox F\\ab12.default\\parent.lock|cookies F\\ab12.default\\cookies.sqlite|"
       L"Firefox F\\cd34.group\\parent.lock|cache FL\\cd34.group\\cache2|"
       L"cookies F\\cd34.group\\cookies.sqlite + F\\cd34.group\\cookies.sqlite-shm|"
       L"history folder FL\\cd34.group\\thumbnails|history folder FL\\cd34.group\\jumpListCache|"
       L"Firefox F\\ef56.new\\parent.lock|"
       L"Firefox P\\Roaming\\Mozilla\\Firefox\\Profiles\\st1.default\\parent.lock|"
       L"cache P\\Local\\Mozilla\\Firefox\\Profiles\\st1.default\\cache2|"
       L"cookies P\\Roaming\\Mozilla\\Firefox\\Profiles\\st1.default\\cookies.sqlite"},
      {"opera is its own profile, its cache below the local folder; 2345's CookiesV3",
       L"O\\Opera Stable\\Preferences|O\\Opera Stable\\GPUCache\\data_1|"
       L"OL\\Opera Stable\\Cache\\Cache_Data\\index|"
       L"L\\2345Explorer\\User Data\\Default\\Preferences|"
       L"L\\2345Explorer\\User Data\\Default\\CookiesV3|"
       L"L\\2345Explorer\\User Data\\Default\\CookiesV3-journal",
       L"", true,
       L"Opera O\\Opera Stable\\lockfile|cache O\\Opera Stable\\GPUCache|"
       L"cache OL\\Opera Stable\\Cache|2345浏览器 L\\2345Explorer\\User Data\\lockfile|"
       L"cookies L\\2345Explorer\\User Data\\Default\\CookiesV3 + "
       L"L\\2345Explorer\\User Data\\Default\\CookiesV3-journal"},
      {"firefox: relative and absolute profiles, nothing that leads elsewhere, no history",
       // The last file: where the escaping path would lead, as the system reads it.
       L"F\\ab12.default\\cookies.sqlite|F\\ab12.default\\cookies.sqlite-wal|"
       L"F\\ab12.default\\places.sqlite|FL\\ab12.default\\cache2\\entries\\0A1B|"
       L"D:\\Firefox\\work\\cookies.sqlite|D:\\Firefox\\work\\cache2\\index|"
       L"F\\zz.old\\cookies.sqlite|F\\..\\..\\..\\Local\\cookies.sqlite",
       L"", true,
       L"Firefox F\\ab12.default\\parent.lock|cache FL\\ab12.default\\cache2|"
       L"cookies F\\ab12.default\\cookies.sqlite + F\\ab12.default\\cookies.sqlite-wal|"
       L"Firefox D:\\Firefox\\work\\parent.lock|cache D:\\Firefox\\work\\cache2|"
       L"cookies D:\\Firefox\\work\\cookies.sqlite"},
      {"a root that is a link, a journal that is a folder, a local folder the shell cannot name",
       L"L\\Microsoft\\Edge\\User Data\\Default\\Preferences|S\\Default\\Preferences|"
       L"S\\Default\\History|S\\Default\\History-journal\\x|S\\Default\\Cookies|"
       L"S\\Default\\360Bookmarks|A\\Vivaldi\\User Data\\Default\\Preferences|"
       L"A\\SogouExplorer\\Webkit\\Default\\Preferences|"
       L"A\\SogouExplorer\\Webkit\\Default\\Cache\\a",
       L"A\\SogouExplorer\\Webkit", false,
       L"360安全浏览器 S\\lockfile|cookies S\\Default\\Cookies"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FakeFileSystem fs;
    FakeBrowserSystem system;
    for (const std::wstring& f : Split(c.files))
      fs.AddFile(Long(f), 100);
    for (const std::wstring& link : Split(c.links))
      fs.Find(Long(link))->attributes |= engine::kAttributeReparsePoint;
    system.ini = kProfilesIni;
    const std::wstring local = L"C:\\Users\\Bob\\AppData\\Local";
    EXPECT_EQ(Describe(FindBrowserData(fs, system, c.local_named ? local : L"",
                                       L"C:\\Users\\Bob\\AppData\\Roaming")),
              Split(c.expected));
    EXPECT_EQ(fs.open_holds, 0);
    EXPECT_TRUE(fs.removed.empty());
  }
}

// A data folder that is a link is followed once, to a plain folder on a
// fixed drive; a link that leads elsewhere names the browser and cleans
// nothing of it; a link inside the target is not followed.
TEST(BrowsersTest, DataFolderLinksAreFollowedOnceToAFixedDrive) {
  const std::wstring chrome = Long(L"L\\Google\\Chrome\\User Data");
  const std::wstring edge = Long(L"L\\Microsoft\\Edge\\User Data");
  const std::wstring ff = Long(L"A\\Mozilla\\Firefox");
  const struct {
    const char* what;
    std::wstring link, target;
    const wchar_t* expected;  // lines with "|" between them
    const wchar_t* named;
    std::string ini = "";
  } cases[] = {
      {"to a fixed drive", chrome, L"D:\\Chrome\\User Data",
       L"Google Chrome D:\\Chrome\\User Data\\lockfile|cache D:\\Chrome\\User Data\\Default\\Cache|"
       L"cookies D:\\Chrome\\User Data\\Default\\Network\\Cookies",
       L""},
      {"a Firefox root to a fixed drive", ff, L"D:\\Firefox",
       L"Firefox D:\\Firefox\\Profiles\\ab12.default\\parent.lock|"
       L"cookies D:\\Firefox\\Profiles\\ab12.default\\cookies.sqlite",
       L""},
      {"a Firefox profile of profiles.ini to a fixed drive", ff + L"\\Profiles\\ab12.default",
       L"D:\\Firefox\\Profiles\\ab12.default",
       L"Firefox D:\\Firefox\\Profiles\\ab12.default\\parent.lock|"
       L"cookies D:\\Firefox\\Profiles\\ab12.default\\cookies.sqlite",
       L"", "[Profile0]\r\nIsRelative=1\r\nPath=Profiles/ab12.default\r\n"},
      {"to a network drive", chrome, L"F:\\Chrome\\User Data", L"", L"Google Chrome"},
      {"to a link", edge, L"D:\\Link", L"", L"Microsoft Edge"},
      {"unreadable", chrome, L"", L"", L"Google Chrome"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FakeFileSystem fs;
    FakeBrowserSystem system;
    for (const wchar_t* f : {L"D:\\Chrome\\User Data\\Default\\Preferences",
                             L"D:\\Chrome\\User Data\\Default\\Cache\\x",
                             L"D:\\Chrome\\User Data\\Default\\Network\\Cookies",
                             L"D:\\Chrome\\User Data\\Profile 1\\Preferences",
                             L"F:\\Chrome\\User Data\\Default\\Preferences",
                             L"D:\\Firefox\\Profiles\\ab12.default\\prefs.js",
                             L"D:\\Firefox\\Profiles\\ab12.default\\cookies.sqlite",
                             L"D:\\Link\\Default\\Preferences"})
      fs.AddFile(f, 100);
    // A profile inside the target that is itself a link stays out.
    fs.Find(L"D:\\Chrome\\User Data\\Profile 1")->attributes |= engine::kAttributeReparsePoint;
    fs.Find(L"D:\\Link")->attributes |= engine::kAttributeReparsePoint;
    system.links[L"D:\\Link"] = L"D:\\Chrome\\User Data";
    fs.AddFolder(c.link, engine::kAttributeReparsePoint);
    if (!c.target.empty())
      system.links[c.link] = c.target;
    system.ini = c.ini;
    std::vector<std::wstring> named;
    EXPECT_EQ(Describe(FindBrowserData(fs, system, L"C:\\Users\\Bob\\AppData\\Local",
                                       L"C:\\Users\\Bob\\AppData\\Roaming", &named)),
              Split(c.expected));
    EXPECT_EQ(named, Split(c.named));
    EXPECT_TRUE(fs.removed.empty());
  }
  EXPECT_EQ(NotFollowedNote({L"Google Chrome", L"Firefox"}),
            L"以下浏览器的数据文件夹是链接，指向的不是本机硬盘上的普通文件夹，未清理：Google "
            L"Chrome、Firefox。");
}

}  // namespace
}  // namespace tempclean
