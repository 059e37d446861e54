#include "temp-cleaner/browsers.h"

#include <algorithm>
#include <iterator>

#include "common/text_rules.h"
#include "common/unicode.h"
#include "temp-cleaner/folder_guard.h"

namespace tempclean {
namespace {

enum class Base { kLocal, kRoaming };
struct Root {
  Base base;
  const wchar_t* path;
};
struct BrowserEntry {
  BrowserInfo info;
  std::vector<Root> roots;
  // 2345's cookie database is named "CookiesV3".
  bool cookies_v3 = false;
};

// Where each browser keeps its user data on every Windows from XP on. A
// Chromium root holds profiles ("Default", "Profile 1", ...), or is one
// itself (Opera); Firefox's root is the folder of its profiles.ini.
const std::vector<BrowserEntry>& Table() {
  static const std::vector<BrowserEntry> table = {
      {{L"Google Chrome", BrowserKind::kChromium},
       {{Base::kLocal, L"Google\\Chrome\\User Data"},
        {Base::kLocal, L"Google\\Chrome Beta\\User Data"},
        {Base::kLocal, L"Google\\Chrome Dev\\User Data"},
        {Base::kLocal, L"Google\\Chrome SxS\\User Data"}}},
      {{L"Microsoft Edge", BrowserKind::kChromium},
       {{Base::kLocal, L"Microsoft\\Edge\\User Data"},
        {Base::kLocal, L"Microsoft\\Edge Beta\\User Data"},
        {Base::kLocal, L"Microsoft\\Edge Dev\\User Data"},
        {Base::kLocal, L"Microsoft\\Edge SxS\\User Data"}}},
      {{L"Chromium", BrowserKind::kChromium}, {{Base::kLocal, L"Chromium\\User Data"}}},
      {{L"Brave", BrowserKind::kChromium},
       {{Base::kLocal, L"BraveSoftware\\Brave-Browser\\User Data"}}},
      {{L"Vivaldi", BrowserKind::kChromium}, {{Base::kLocal, L"Vivaldi\\User Data"}}},
      {{L"Opera", BrowserKind::kChromium},
       {{Base::kRoaming, L"Opera Software\\Opera Stable"},
        {Base::kRoaming, L"Opera Software\\Opera GX Stable"}}},
      {{L"360安全浏览器", BrowserKind::kChromium}, {{Base::kRoaming, L"360se6\\User Data"}}},
      {{L"360极速浏览器", BrowserKind::kChromium},
       {{Base::kLocal, L"360Chrome\\Chrome\\User Data"},
        {Base::kLocal, L"360ChromeX\\Chrome\\User Data"}}},
      {{L"QQ浏览器", BrowserKind::kChromium}, {{Base::kLocal, L"Tencent\\QQBrowser\\User Data"}}},
      {{L"搜狗浏览器", BrowserKind::kChromium},
       {{Base::kLocal, L"Sogou\\SogouExplorer\\User Data"},
        {Base::kRoaming, L"SogouExplorer\\Webkit"}}},
      {{L"2345浏览器", BrowserKind::kChromium}, {{Base::kLocal, L"2345Explorer\\User Data"}}, true},
      {{L"Firefox", BrowserKind::kFirefox}, {{Base::kRoaming, L"Mozilla\\Firefox"}}},
  };
  return table;
}

// The caches of a Chromium profile and of its user-data folder: the HTTP
// cache ("Cache", with Cache_Data and No_Vary_Search today; up to Chrome
// 49, the one of XP, its files lay in "Cache" itself), compiled scripts and
// the graphics caches.
constexpr const wchar_t* kProfileCaches[] = {
    L"Cache", L"Code Cache", L"GPUCache", L"DawnCache", L"DawnGraphiteCache", L"DawnWebGPUCache"};
constexpr const wchar_t* kRootCaches[] = {L"ShaderCache", L"GrShaderCache", L"GraphiteDawnCache",
                                          L"GPUPersistentCache"};
// A History without its Visited Links is rebuilt by the browser, and every
// database goes with its journal; Chrome 156 makes no Visited Links or
// History Provider Cache any more, older versions do.
constexpr const wchar_t* kChromiumHistory[] = {L"History",
                                               L"History-journal",
                                               L"Visited Links",
                                               L"Top Sites",
                                               L"Top Sites-journal",
                                               L"Shortcuts",
                                               L"Shortcuts-journal",
                                               L"Network Action Predictor",
                                               L"Network Action Predictor-journal",
                                               L"History Provider Cache",
                                               L"Archived History",
                                               L"Archived History-journal"};
constexpr const wchar_t* kFirefoxCookies[] = {L"cookies.sqlite", L"cookies.sqlite-wal",
                                              L"cookies.sqlite-shm"};
constexpr size_t kProfilesIniBytes = 64 * 1024;

std::wstring Join(const std::wstring& folder, const std::wstring& name) {
  if (!folder.empty() && folder.back() == L'\\')
    return folder + name;
  return folder + L'\\' + name;
}

bool SameName(const std::wstring& a, const wchar_t* b) {
  return common::ToLowerAscii(a) == common::ToLowerAscii(b);
}

// The entries of a plain folder ("." and ".." left out); nothing when it is
// missing, a link, or cannot be listed.
std::optional<std::vector<engine::DirEntry>> List(engine::FileSystem& files,
                                                  const std::wstring& folder) {
  std::unique_ptr<engine::FolderHold> hold = files.HoldFolder(folder);
  if (!hold)
    return std::nullopt;
  std::unique_ptr<engine::DirectorySearch> search = hold->Search();
  if (!search)
    return std::nullopt;
  std::vector<engine::DirEntry> entries;
  engine::DirEntry entry;
  while (search->Next(&entry))
    if (entry.name != L"." && entry.name != L"..")
      entries.push_back(entry);
  return entries;
}

bool IsFolder(const engine::DirEntry& e) {
  return (e.attributes & engine::kAttributeDirectory) != 0;
}
bool IsLink(const engine::DirEntry& e) {
  return (e.attributes & engine::kAttributeReparsePoint) != 0;
}

const engine::DirEntry* Entry(const std::vector<engine::DirEntry>& entries, const wchar_t* name) {
  for (const engine::DirEntry& e : entries)
    if (SameName(e.name, name))
      return &e;
  return nullptr;
}

bool HasPlainFolder(const std::vector<engine::DirEntry>& entries, const wchar_t* name) {
  const engine::DirEntry* e = Entry(entries, name);
  return e && IsFolder(*e) && !IsLink(*e);
}

bool HasPlainFile(const std::vector<engine::DirEntry>& entries, const wchar_t* name) {
  const engine::DirEntry* e = Entry(entries, name);
  return e && !IsFolder(*e) && !IsLink(*e);
}

// "History Index 2013-05" and its journal, which Chrome kept up to
// version 37.
bool IsHistoryIndex(const std::wstring& name) {
  const std::wstring prefix = L"history index ";
  std::wstring lower = common::ToLowerAscii(name);
  if (lower.size() >= 8 && lower.compare(lower.size() - 8, 8, L"-journal") == 0)
    lower.resize(lower.size() - 8);
  if (lower.size() != prefix.size() + 7 || lower.compare(0, prefix.size(), prefix) != 0)
    return false;
  for (size_t i = prefix.size(); i < lower.size(); ++i) {
    const bool dash = i == prefix.size() + 4;
    if (dash ? lower[i] != L'-' : (lower[i] < L'0' || lower[i] > L'9'))
      return false;
  }
  return true;
}

// Adds the set of `names` found in `folder` (whose entries are given) to
// `set`. A name that is there as a folder or a link spoils the whole set:
// a journal must never go without its database.
bool AddToSet(const std::wstring& folder,
              const std::vector<engine::DirEntry>& entries,
              const std::vector<std::wstring>& names,
              std::vector<std::wstring>* set) {
  for (const std::wstring& name : names) {
    const engine::DirEntry* e = Entry(entries, name.c_str());
    if (!e)
      continue;
    if (IsFolder(*e) || IsLink(*e))
      return false;
    set->push_back(Join(folder, e->name));
  }
  return true;
}

void AddSet(std::vector<std::wstring> set, std::vector<std::vector<std::wstring>>* sets) {
  if (!set.empty())
    sets->push_back(std::move(set));
}

std::vector<std::wstring> Names(const auto& list) {
  return std::vector<std::wstring>(std::begin(list), std::end(list));
}

// One Chromium profile: its caches, its cookie set and its history set.
void AddChromiumProfile(engine::FileSystem& files,
                        const BrowserEntry& browser,
                        const std::wstring& profile,
                        const std::vector<engine::DirEntry>& entries,
                        const std::wstring& local_twin,
                        BrowserData* data) {
  for (const wchar_t* cache : kProfileCaches)
    if (HasPlainFolder(entries, cache))
      data->cache_folders.push_back(Join(profile, cache));
  // A profile kept in the roaming folder has its caches in the same place
  // below the local one (Opera); only what is there is taken.
  if (!local_twin.empty()) {
    if (const auto twin = List(files, local_twin)) {
      for (const wchar_t* cache : kProfileCaches)
        if (HasPlainFolder(*twin, cache))
          data->cache_folders.push_back(Join(local_twin, cache));
    }
  }

  std::vector<std::wstring> cookie_names = {L"Cookies", L"Cookies-journal"};
  if (browser.cookies_v3)
    cookie_names.insert(cookie_names.end(), {L"CookiesV3", L"CookiesV3-journal"});
  std::vector<std::wstring> cookies;
  bool cookies_whole = AddToSet(profile, entries, cookie_names, &cookies);
  // Chrome 96 and later keep them in "Network"; the rest of that folder
  // (TransportSecurity and others) stays.
  if (const engine::DirEntry* network = Entry(entries, L"Network")) {
    if (IsLink(*network) || !IsFolder(*network)) {
      cookies_whole = false;
    } else if (const auto inside = List(files, Join(profile, L"Network"))) {
      cookies_whole =
          AddToSet(Join(profile, L"Network"), *inside, cookie_names, &cookies) && cookies_whole;
    }
  }
  if (cookies_whole)
    AddSet(std::move(cookies), &data->cookie_sets);

  std::vector<std::wstring> history_names = Names(kChromiumHistory);
  for (const engine::DirEntry& e : entries)
    if (IsHistoryIndex(e.name))
      history_names.push_back(e.name);
  std::vector<std::wstring> history;
  if (AddToSet(profile, entries, history_names, &history))
    AddSet(std::move(history), &data->history_sets);
}

void AddChromiumRoot(engine::FileSystem& files,
                     const BrowserEntry& browser,
                     int index,
                     const std::wstring& root,
                     const std::wstring& local_twin,
                     std::vector<BrowserData>* found) {
  const auto entries = List(files, root);
  if (!entries)
    return;
  BrowserData data;
  data.browser = index;
  data.lock = Join(root, L"lockfile");
  int profiles = 0;
  if (HasPlainFile(*entries, L"Preferences")) {
    // The root is the profile.
    AddChromiumProfile(files, browser, root, *entries, local_twin, &data);
    ++profiles;
  } else {
    for (const engine::DirEntry& e : *entries) {
      if (!IsFolder(e) || IsLink(e))
        continue;
      const std::wstring profile = Join(root, e.name);
      const auto inside = List(files, profile);
      if (!inside || !HasPlainFile(*inside, L"Preferences"))
        continue;
      AddChromiumProfile(files, browser, profile, *inside,
                         local_twin.empty() ? std::wstring() : Join(local_twin, e.name), &data);
      ++profiles;
    }
  }
  // A folder of that name without a profile is no browser's.
  if (profiles == 0)
    return;
  for (const wchar_t* cache : kRootCaches)
    if (HasPlainFolder(*entries, cache))
      data.cache_folders.push_back(Join(root, cache));
  found->push_back(std::move(data));
}

// A profile's "Path=" as a folder below `base` (IsRelative=1, "/"
// separating the names) or as a full path of its own. Nothing for a text
// that could lead elsewhere: empty names, "." or "..", a relative path
// with a drive or a leading "\", an absolute one that is no full path.
std::optional<std::wstring> ProfileFolder(const std::wstring& base,
                                          std::wstring path,
                                          bool relative) {
  std::replace(path.begin(), path.end(), L'/', L'\\');
  size_t start = 0;
  if (relative) {
    if (path.empty() || path[0] == L'\\' || path.find(L':') != std::wstring::npos)
      return std::nullopt;
  } else {
    const bool drive =
        path.size() > 3 && path[1] == L':' && path[2] == L'\\' &&
        ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'));
    const bool unc = path.size() > 2 && path.compare(0, 2, L"\\\\") == 0;
    if (!drive && !unc)
      return std::nullopt;
    start = drive ? 3 : 2;
  }
  while (path.size() > start && path.back() == L'\\')
    path.pop_back();
  for (size_t at = start; at <= path.size();) {
    size_t end = path.find(L'\\', at);
    if (end == std::wstring::npos)
      end = path.size();
    const std::wstring name = path.substr(at, end - at);
    if (name.empty() || name == L"." || name == L".." ||
        (!relative && name.find(L':') != std::wstring::npos))
      return std::nullopt;
    at = end + 1;
  }
  return relative ? Join(base, path) : path;
}

struct FirefoxProfile {
  std::wstring path;
  bool relative = false;
};

// The [ProfileN] sections of profiles.ini, as Firefox reads them: a
// section without "IsRelative" is no profile.
std::vector<FirefoxProfile> ParseProfilesIni(const std::string& bytes) {
  std::string_view text(bytes);
  if (text.substr(0, 3) == "\xEF\xBB\xBF")
    text.remove_prefix(3);
  // Firefox writes the file in UTF-8; bytes that are none name no folder.
  const std::wstring wide = common::DecodeUtf8(text);
  std::vector<FirefoxProfile> profiles;
  bool in_profile = false;
  std::optional<std::wstring> path, relative;
  auto finish = [&] {
    if (in_profile && path && relative)
      profiles.push_back({*path, *relative == L"1"});
    path.reset();
    relative.reset();
  };
  size_t at = 0;
  while (at < wide.size()) {
    size_t end = wide.find_first_of(L"\r\n", at);
    if (end == std::wstring::npos)
      end = wide.size();
    const std::wstring line = common::TrimBlanks(wide.substr(at, end - at));
    at = end + 1;
    if (!line.empty() && line.front() == L'[' && line.back() == L']') {
      finish();
      const std::wstring section = line.substr(1, line.size() - 2);
      in_profile = section.size() > 7 && common::ToLowerAscii(section.substr(0, 7)) == L"profile" &&
                   std::all_of(section.begin() + 7, section.end(),
                               [](wchar_t c) { return c >= L'0' && c <= L'9'; });
      continue;
    }
    const size_t equals = line.find(L'=');
    if (!in_profile || equals == std::wstring::npos)
      continue;
    const std::wstring key = common::ToLowerAscii(line.substr(0, equals));
    const std::wstring value = line.substr(equals + 1);
    if (key == L"path")
      path = value;
    if (key == L"isrelative")
      relative = value;
  }
  finish();
  return profiles;
}

void AddFirefox(engine::FileSystem& files,
                BrowserSystem& system,
                int index,
                const std::wstring& root,
                const std::wstring& local_root,
                std::vector<BrowserData>* found) {
  const std::optional<std::string> ini =
      system.ReadSmallFile(Join(root, L"profiles.ini"), kProfilesIniBytes);
  if (!ini)
    return;
  std::vector<std::wstring> seen;
  for (const FirefoxProfile& p : ParseProfilesIni(*ini)) {
    const auto profile = ProfileFolder(root, p.path, p.relative);
    if (!profile)
      continue;
    // With a relative path the cache lies below the local application
    // data; a profile given by its full path keeps its cache inside.
    std::optional<std::wstring> local = *profile;
    if (p.relative)
      local = local_root.empty() ? std::nullopt : ProfileFolder(local_root, p.path, true);
    const std::wstring key = FolderKey(*profile);
    if (std::find(seen.begin(), seen.end(), key) != seen.end())
      continue;
    seen.push_back(key);
    const auto entries = List(files, *profile);
    if (!entries)
      continue;
    BrowserData data;
    data.browser = index;
    data.lock = Join(*profile, L"parent.lock");
    if (local) {
      const auto local_entries = SameFolderText(*local, *profile) ? entries : List(files, *local);
      if (local_entries && HasPlainFolder(*local_entries, L"cache2"))
        data.cache_folders.push_back(Join(*local, L"cache2"));
    }
    std::vector<std::wstring> cookies;
    if (AddToSet(*profile, *entries, Names(kFirefoxCookies), &cookies))
      AddSet(std::move(cookies), &data.cookie_sets);
    found->push_back(std::move(data));
  }
}

}  // namespace

const std::vector<BrowserInfo>& Browsers() {
  static const std::vector<BrowserInfo> browsers = [] {
    std::vector<BrowserInfo> infos;
    for (const BrowserEntry& entry : Table())
      infos.push_back(entry.info);
    return infos;
  }();
  return browsers;
}

std::vector<BrowserData> FindBrowserData(engine::FileSystem& files,
                                         BrowserSystem& system,
                                         const std::wstring& local_app_data,
                                         const std::wstring& app_data) {
  std::vector<BrowserData> found;
  std::vector<std::wstring> roots_seen;
  for (size_t i = 0; i < Table().size(); ++i) {
    const BrowserEntry& browser = Table()[i];
    for (const Root& root : browser.roots) {
      const std::wstring& base = root.base == Base::kLocal ? local_app_data : app_data;
      if (base.empty())
        continue;
      const std::wstring folder = Join(base, root.path);
      const std::wstring key = FolderKey(folder);
      if (std::find(roots_seen.begin(), roots_seen.end(), key) != roots_seen.end())
        continue;
      roots_seen.push_back(key);
      if (browser.info.kind == BrowserKind::kFirefox) {
        AddFirefox(files, system, static_cast<int>(i), folder,
                   local_app_data.empty() ? std::wstring() : Join(local_app_data, root.path),
                   &found);
        continue;
      }
      std::wstring twin;
      if (root.base == Base::kRoaming && !local_app_data.empty() &&
          !SameFolderText(local_app_data, app_data))
        twin = Join(local_app_data, root.path);
      AddChromiumRoot(files, browser, static_cast<int>(i), folder, twin, &found);
    }
  }
  return found;
}

std::vector<std::wstring> BrowserNames(const std::vector<BrowserData>& found) {
  std::vector<std::wstring> names;
  for (size_t i = 0; i < Browsers().size(); ++i)
    for (const BrowserData& data : found)
      if (data.browser == static_cast<int>(i)) {
        names.push_back(Browsers()[i].name);
        break;
      }
  return names;
}

namespace {

std::wstring JoinNames(const std::vector<std::wstring>& names, const wchar_t* separator) {
  std::wstring text;
  for (const std::wstring& name : names)
    text += (text.empty() ? L"" : separator) + name;
  return text;
}

}  // namespace

std::wstring RunningBrowsersNote(const std::vector<std::wstring>& names) {
  if (names.empty())
    return std::wstring();
  std::wstring note =
      L"以下浏览器正在运行，未清理：" + JoinNames(names, L"、") + L"。关闭后再清理一次即可。";
  // Edge's startup boost keeps it running in the background after its last
  // window has closed.
  if (std::find(names.begin(), names.end(), L"Microsoft Edge") != names.end())
    note += L"Microsoft Edge 开启了“启动增强”时，关闭窗口后仍在后台运行。";
  return note;
}

std::wstring CookiesTip(const std::vector<std::wstring>& browsers) {
  std::vector<std::wstring> names = {L"Internet Explorer"};
  names.insert(names.end(), browsers.begin(), browsers.end());
  return L"清除 " + JoinNames(names, L"、") + L" 的 Cookies";
}

std::wstring CacheTip(const std::vector<std::wstring>& browsers) {
  std::vector<std::wstring> names = {L"Internet Explorer"};
  names.insert(names.end(), browsers.begin(), browsers.end());
  return L"清除 " + JoinNames(names, L"、") + L" 的网页缓存";
}

}  // namespace tempclean
