#include "temp-cleaner/browsers.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "common/text_rules.h"
#include "testing/fake_engine_ports.h"

namespace tempclean {
namespace {

using testing_support::FakeFileSystem;

constexpr wchar_t kLocal[] = L"C:\\Users\\Bob\\AppData\\Local";
constexpr wchar_t kRoaming[] = L"C:\\Users\\Bob\\AppData\\Roaming";

class FakeBrowserSystem : public BrowserSystem {
 public:
  std::optional<std::string> ReadSmallFile(const std::wstring& path, size_t max_bytes) override {
    const auto it = files.find(path);
    if (it == files.end())
      return std::nullopt;
    return it->second.substr(0, max_bytes);
  }
  bool LockHeld(const std::wstring&) override { return false; }
  std::map<std::wstring, std::string> files;
};

// What was found, one line a lock and one a folder or set, with the local
// and roaming folders written L and A.
std::vector<std::wstring> Describe(const std::vector<BrowserData>& found) {
  auto shorten = [](std::wstring path) {
    path = common::ReplaceAll(path, kLocal, L"L");
    return common::ReplaceAll(path, kRoaming, L"A");
  };
  auto set_text = [&](const std::vector<std::wstring>& set) {
    std::wstring text;
    for (const std::wstring& f : set)
      text += (text.empty() ? L"" : L" + ") + shorten(f);
    return text;
  };
  std::vector<std::wstring> lines;
  for (const BrowserData& d : found) {
    lines.push_back(std::wstring(Browsers()[d.browser].name) + L" " + shorten(d.lock));
    for (const std::wstring& f : d.cache_folders)
      lines.push_back(L"cache " + shorten(f));
    for (const auto& set : d.cookie_sets)
      lines.push_back(L"cookies " + set_text(set));
    for (const auto& set : d.history_sets)
      lines.push_back(L"history " + set_text(set));
  }
  return lines;
}

const std::string kProfilesIni =
    "\xEF\xBB\xBF[General]\r\nStartWithLastProfile=1\r\n\r\n"
    "[Profile0]\r\nName=default-release\r\nIsRelative=1\r\nPath=Profiles/"
    "ab12cd34.default-release\r\n"
    "Default=1\r\n\r\n"
    "[Profile1]\r\nName=work\r\nIsRelative=0\r\nPath=D:\\Firefox\\work\r\n\r\n"
    "[Profile2]\r\nName=escape\r\nIsRelative=1\r\nPath=Profiles/../../../Local\r\n\r\n"
    "[Profile3]\r\nName=again\r\nIsRelative=0\r\nPath=D:/Firefox/work/\r\n\r\n"
    "[Profile4]\r\nName=no-flag\r\nPath=Profiles/zz.old\r\n\r\n"
    "[Install308046B0AF4A39CB]\r\nDefault=Profiles/ab12cd34.default-release\r\n";

// Each layout is laid on an empty disk; the lines are what is found.
TEST(BrowsersTest, FindsEveryProfileAndOnlyWhatTheBoxesTake) {
  const std::wstring chrome = std::wstring(kLocal) + L"\\Google\\Chrome\\User Data";
  const std::wstring firefox = std::wstring(kRoaming) + L"\\Mozilla\\Firefox";
  const std::wstring ff_profile = firefox + L"\\Profiles\\ab12cd34.default-release";
  const struct {
    const char* what;
    std::vector<std::wstring> files;
    std::function<void(FakeFileSystem&, FakeBrowserSystem&)> change;
    std::wstring local, roaming;
    std::vector<std::wstring> expected;
  } cases[] = {
      {"chrome: profiles with gaps, old and new places, what is kept is not named",
       {chrome + L"\\Local State",
        chrome + L"\\Default\\Preferences",
        chrome + L"\\Default\\Cache\\Cache_Data\\f_000001",
        chrome + L"\\Default\\Code Cache\\js\\x",
        chrome + L"\\Default\\DawnWebGPUCache\\data_0",
        chrome + L"\\Default\\Network\\Cookies",
        chrome + L"\\Default\\Network\\Cookies-journal",
        chrome + L"\\Default\\Network\\TransportSecurity",
        chrome + L"\\Default\\History",
        chrome + L"\\Default\\History-journal",
        chrome + L"\\Default\\Top Sites",
        chrome + L"\\Default\\Login Data",
        chrome + L"\\Default\\Bookmarks",
        chrome + L"\\Default\\Favicons",
        chrome + L"\\Default\\Web Data",
        chrome + L"\\Profile 3\\Preferences",
        chrome + L"\\Profile 3\\Cookies",
        chrome + L"\\Profile 3\\Visited Links",
        chrome + L"\\Profile 3\\History Index 2013-05",
        chrome + L"\\Profile 3\\History Index 2013-05-journal",
        chrome + L"\\Profile 3\\History Index 13-05",
        chrome + L"\\Crashpad\\settings.dat",
        chrome + L"\\Profile 2\\Preferences",
        chrome + L"\\ShaderCache\\index",
        chrome + L"\\GPUPersistentCache\\GPUCache\\index"},
       [&](FakeFileSystem& fs, FakeBrowserSystem&) {
         // A link where a profile was: passed over.
         fs.Find(chrome + L"\\Profile 2")->attributes |= engine::kAttributeReparsePoint;
       },
       kLocal,
       kRoaming,
       {L"Google Chrome L\\Google\\Chrome\\User Data\\lockfile",
        L"cache L\\Google\\Chrome\\User Data\\Default\\Cache",
        L"cache L\\Google\\Chrome\\User Data\\Default\\Code Cache",
        L"cache L\\Google\\Chrome\\User Data\\Default\\DawnWebGPUCache",
        L"cache L\\Google\\Chrome\\User Data\\ShaderCache",
        L"cache L\\Google\\Chrome\\User Data\\GPUPersistentCache",
        L"cookies L\\Google\\Chrome\\User Data\\Default\\Network\\Cookies + "
        L"L\\Google\\Chrome\\User Data\\Default\\Network\\Cookies-journal",
        L"cookies L\\Google\\Chrome\\User Data\\Profile 3\\Cookies",
        L"history L\\Google\\Chrome\\User Data\\Default\\History + "
        L"L\\Google\\Chrome\\User Data\\Default\\History-journal + "
        L"L\\Google\\Chrome\\User Data\\Default\\Top Sites",
        L"history L\\Google\\Chrome\\User Data\\Profile 3\\Visited Links + "
        L"L\\Google\\Chrome\\User Data\\Profile 3\\History Index 2013-05 + "
        L"L\\Google\\Chrome\\User Data\\Profile 3\\History Index 2013-05-journal"}},
      {"opera is its own profile, its cache below the local folder; 2345's CookiesV3",
       {std::wstring(kRoaming) + L"\\Opera Software\\Opera Stable\\Preferences",
        std::wstring(kRoaming) + L"\\Opera Software\\Opera Stable\\GPUCache\\data_1",
        std::wstring(kLocal) + L"\\Opera Software\\Opera Stable\\Cache\\Cache_Data\\index",
        std::wstring(kLocal) + L"\\2345Explorer\\User Data\\Default\\Preferences",
        std::wstring(kLocal) + L"\\2345Explorer\\User Data\\Default\\CookiesV3",
        std::wstring(kLocal) + L"\\2345Explorer\\User Data\\Default\\CookiesV3-journal"},
       nullptr,
       kLocal,
       kRoaming,
       {L"Opera A\\Opera Software\\Opera Stable\\lockfile",
        L"cache A\\Opera Software\\Opera Stable\\GPUCache",
        L"cache L\\Opera Software\\Opera Stable\\Cache",
        L"2345浏览器 L\\2345Explorer\\User Data\\lockfile",
        L"cookies L\\2345Explorer\\User Data\\Default\\CookiesV3 + "
        L"L\\2345Explorer\\User Data\\Default\\CookiesV3-journal"}},
      {"firefox: relative and absolute profiles, nothing that leads elsewhere, no history",
       {ff_profile + L"\\cookies.sqlite", ff_profile + L"\\cookies.sqlite-wal",
        ff_profile + L"\\places.sqlite", ff_profile + L"\\logins.json",
        std::wstring(kLocal) + L"\\Mozilla\\Firefox\\Profiles\\ab12cd34.default-release\\cache2\\"
                               L"entries\\0A1B",
        L"D:\\Firefox\\work\\cookies.sqlite", L"D:\\Firefox\\work\\cache2\\index",
        firefox + L"\\Profiles\\zz.old\\cookies.sqlite",
        // Where the escaping path would lead, as the system reads it.
        firefox + L"\\Profiles\\..\\..\\..\\Local\\cookies.sqlite"},
       [](FakeFileSystem&, FakeBrowserSystem& system) {
         system.files[std::wstring(kRoaming) + L"\\Mozilla\\Firefox\\profiles.ini"] = kProfilesIni;
       },
       kLocal,
       kRoaming,
       {L"Firefox A\\Mozilla\\Firefox\\Profiles\\ab12cd34.default-release\\parent.lock",
        L"cache L\\Mozilla\\Firefox\\Profiles\\ab12cd34.default-release\\cache2",
        L"cookies A\\Mozilla\\Firefox\\Profiles\\ab12cd34.default-release\\cookies.sqlite + "
        L"A\\Mozilla\\Firefox\\Profiles\\ab12cd34.default-release\\cookies.sqlite-wal",
        L"Firefox D:\\Firefox\\work\\parent.lock", L"cache D:\\Firefox\\work\\cache2",
        L"cookies D:\\Firefox\\work\\cookies.sqlite"}},
      {"a root that is a link, a journal that is a folder, a local folder the shell cannot name",
       {std::wstring(kLocal) + L"\\Microsoft\\Edge\\User Data\\Default\\Preferences",
        std::wstring(kRoaming) + L"\\360se6\\User Data\\Default\\Preferences",
        std::wstring(kRoaming) + L"\\360se6\\User Data\\Default\\History",
        std::wstring(kRoaming) + L"\\360se6\\User Data\\Default\\History-journal\\x",
        std::wstring(kRoaming) + L"\\360se6\\User Data\\Default\\Cookies",
        std::wstring(kRoaming) + L"\\360se6\\User Data\\Default\\360Bookmarks",
        std::wstring(kRoaming) + L"\\Vivaldi\\User Data\\Default\\Preferences",
        std::wstring(kRoaming) + L"\\SogouExplorer\\Webkit\\Default\\Preferences",
        std::wstring(kRoaming) + L"\\SogouExplorer\\Webkit\\Default\\Cache\\a"},
       [](FakeFileSystem& fs, FakeBrowserSystem&) {
         fs.Find(std::wstring(kRoaming) + L"\\SogouExplorer\\Webkit")->attributes |=
             engine::kAttributeReparsePoint;
       },
       L"",
       kRoaming,
       {L"360安全浏览器 A\\360se6\\User Data\\lockfile",
        L"cookies A\\360se6\\User Data\\Default\\Cookies"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FakeFileSystem fs;
    FakeBrowserSystem system;
    for (const std::wstring& f : c.files)
      fs.AddFile(f, 100);
    if (c.change)
      c.change(fs, system);
    EXPECT_EQ(Describe(FindBrowserData(fs, system, c.local, c.roaming)), c.expected);
    EXPECT_EQ(fs.open_holds, 0);
    EXPECT_TRUE(fs.removed.empty());
  }
}

}  // namespace
}  // namespace tempclean
