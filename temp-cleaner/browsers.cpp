#include "temp-cleaner/browsers.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <span>

#include "common/program_path.h"
#include "common/text_rules.h"
#include "common/unicode.h"
#include "temp-cleaner/folder_guard.h"

namespace tempclean {
namespace {

enum class Base { kLocal, kRoaming };
enum class BrowserKind { kChromium, kFirefox };
// Which folders of a Chromium root are profiles: the root itself (it holds
// "Preferences"), its sub-folders that do ("Default", "Profile 1", ...), or
// both.
enum class ProfileRule { kRoot, kSubFolders, kBoth };

struct Root {
  Base base;
  const wchar_t* path;
  // As the browser names itself in this channel.
  const wchar_t* name;
  // Where the caches of a roaming root's profiles are, below the local
  // application data; nullptr: the root's own path there (Opera, Firefox).
  const wchar_t* local_twin = nullptr;
};

using Names = std::span<const wchar_t* const>;

// One browser's names where they are another's with some of its own.
template <size_t N, size_t M>
constexpr std::array<const wchar_t*, N + M> Joined(const wchar_t* const (&first)[N],
                                                   const wchar_t* const (&more)[M]) {
  std::array<const wchar_t*, N + M> all = {};
  for (size_t i = 0; i < N; ++i)
    all[i] = first[i];
  for (size_t i = 0; i < M; ++i)
    all[N + i] = more[i];
  return all;
}

// What a Chromium profile and user-data folder hold, as Chrome, Edge and
// the browsers built on them name it. The HTTP cache is "Cache" (with
// Cache_Data and No_Vary_Search today; up to Chrome 49, the one of XP, its
// files lay in "Cache" itself), then compiled scripts, the graphics
// caches, the pages' own caches (Service Worker\CacheStorage: never the
// service workers' scripts or their database beside it) and the media and
// application caches of old kernels.
constexpr const wchar_t* kChromiumCaches[] = {L"Cache",
                                              L"Code Cache",
                                              L"GPUCache",
                                              L"DawnCache",
                                              L"DawnGraphiteCache",
                                              L"DawnWebGPUCache",
                                              L"Service Worker\\CacheStorage",
                                              L"Media Cache",
                                              L"Application Cache"};
constexpr const wchar_t* kChromiumRootCaches[] = {L"ShaderCache",          L"GrShaderCache",
                                                  L"GraphiteDawnCache",    L"GPUPersistentCache",
                                                  L"extensions_crx_cache", L"component_crx_cache"};
// The cookie databases: in the profile up to Chrome 95, in "Network" from
// 96 on (the rest of that folder stays), the extensions' own, and the
// sessions bound to the device.
constexpr const wchar_t* kChromiumCookies[] = {
    L"Cookies", L"Network\\Cookies", L"Extension Cookies", L"Network\\Device Bound Sessions"};
// History with everything keyed by its ids or rebuilt from it: a History
// without its Visited Links is rebuilt by the browser, HistoryEmbeddings
// holds passages of the visited pages by History's ids. Chrome 156 makes
// no Visited Links or History Provider Cache any more, older versions do;
// "History Index 2013-05" is of Chrome up to 37.
constexpr const wchar_t* kChromiumHistory[] = {L"History",
                                               L"Visited Links",
                                               L"Top Sites",
                                               L"Shortcuts",
                                               L"Network Action Predictor",
                                               L"History Provider Cache",
                                               L"Archived History",
                                               L"HistoryEmbeddings",
                                               L"History Index ####-##"};
// The icons of the jump list's most visited and recently closed pages.
constexpr const wchar_t* kChromiumHistoryFolders[] = {L"JumpListIconsMostVisited",
                                                      L"JumpListIconsRecentClosed",
                                                      L"JumpListIcons", L"JumpListIconsOld"};

// 360安全浏览器 keeps history of its own beside History, and a copy of it
// for every day in HisDailyBackup; 2345's cookie database is "CookiesV3".
constexpr const wchar_t* k360OwnHistory[] = {L"360History*"};
constexpr const wchar_t* k360OwnHistoryFolders[] = {L"HisDailyBackup"};
constexpr auto k360History = Joined(kChromiumHistory, k360OwnHistory);
constexpr auto k360HistoryFolders = Joined(kChromiumHistoryFolders, k360OwnHistoryFolders);
constexpr const wchar_t* k2345OwnCookies[] = {L"CookiesV3"};
constexpr auto k2345Cookies = Joined(kChromiumCookies, k2345OwnCookies);
constexpr const wchar_t* kOperaGroups[] = {L"_side_profiles"};
constexpr const wchar_t* kFirefoxCaches[] = {L"cache2"};
constexpr const wchar_t* kFirefoxCookies[] = {L"cookies.sqlite"};
constexpr const wchar_t* kFirefoxHistoryFolders[] = {L"thumbnails", L"jumpListCache"};

// The roots of each browser.
constexpr Root kChrome[] = {
    {Base::kLocal, L"Google\\Chrome\\User Data", L"Google Chrome"},
    {Base::kLocal, L"Google\\Chrome Beta\\User Data", L"Google Chrome Beta"},
    {Base::kLocal, L"Google\\Chrome Dev\\User Data", L"Google Chrome Dev"},
    {Base::kLocal, L"Google\\Chrome SxS\\User Data", L"Google Chrome Canary"}};
constexpr Root kEdge[] = {
    {Base::kLocal, L"Microsoft\\Edge\\User Data", L"Microsoft Edge"},
    {Base::kLocal, L"Microsoft\\Edge Beta\\User Data", L"Microsoft Edge Beta"},
    {Base::kLocal, L"Microsoft\\Edge Dev\\User Data", L"Microsoft Edge Dev"},
    {Base::kLocal, L"Microsoft\\Edge SxS\\User Data", L"Microsoft Edge Canary"}};
constexpr Root kChromium[] = {{Base::kLocal, L"Chromium\\User Data", L"Chromium"}};
constexpr Root kBrave[] = {
    {Base::kLocal, L"BraveSoftware\\Brave-Browser\\User Data", L"Brave"},
    {Base::kLocal, L"BraveSoftware\\Brave-Browser-Beta\\User Data", L"Brave Beta"},
    {Base::kLocal, L"BraveSoftware\\Brave-Browser-Nightly\\User Data", L"Brave Nightly"}};
constexpr Root kVivaldi[] = {{Base::kLocal, L"Vivaldi\\User Data", L"Vivaldi"}};
constexpr Root kOpera[] = {{Base::kRoaming, L"Opera Software\\Opera Stable", L"Opera"},
                           {Base::kRoaming, L"Opera Software\\Opera GX Stable", L"Opera GX"},
                           {Base::kRoaming, L"Opera Software\\Opera Next", L"Opera Beta"},
                           {Base::kRoaming, L"Opera Software\\Opera Developer", L"Opera Developer"},
                           {Base::kRoaming, L"Opera Software\\Opera Air Stable", L"Opera Air"}};
constexpr Root k360se[] = {{Base::kRoaming, L"360se6\\User Data", L"360安全浏览器"}};
constexpr Root k360Chrome[] = {{Base::kLocal, L"360Chrome\\Chrome\\User Data", L"360极速浏览器"},
                               {Base::kLocal, L"360ChromeX\\Chrome\\User Data", L"360极速浏览器"}};
constexpr Root kQQ[] = {{Base::kLocal, L"Tencent\\QQBrowser\\User Data", L"QQ浏览器"}};
constexpr Root kSogou[] = {{Base::kLocal, L"Sogou\\SogouExplorer\\User Data", L"搜狗浏览器"},
                           {Base::kRoaming, L"SogouExplorer\\Webkit", L"搜狗浏览器"}};
constexpr Root k2345[] = {{Base::kLocal, L"2345Explorer\\User Data", L"2345浏览器"}};
constexpr Root kCent[] = {{Base::kLocal, L"CentBrowser\\User Data", L"百分浏览器"}};
constexpr Root kMaxthon[] = {{Base::kLocal, L"Maxthon\\Application\\User Data", L"傲游浏览器"}};
constexpr Root kUC[] = {{Base::kLocal, L"UCBrowser\\User Data", L"UC浏览器"},
                        {Base::kLocal, L"UCBrowser\\User Data_i18n", L"UC浏览器"}};
// The Store's Firefox keeps its folders in its package.
constexpr Root kFirefox[] = {
    {Base::kRoaming, L"Mozilla\\Firefox", L"Firefox"},
    {Base::kLocal,
     L"Packages\\Mozilla.Firefox_n80bbvh6b1yt2\\LocalCache\\Roaming\\Mozilla\\Firefox", L"Firefox",
     L"Packages\\Mozilla.Firefox_n80bbvh6b1yt2\\LocalCache\\Local\\Mozilla\\Firefox"}};

// One browser: where it keeps its data and what each box takes there. A
// name of a set is a database that goes with its "-journal", "-wal" and
// "-shm"; "#" in a name stands for a digit, "?" for any character and "*"
// for any characters, as the browsers' own names are patterns.
struct BrowserRow {
  BrowserKind kind = BrowserKind::kChromium;
  std::span<const Root> roots;
  ProfileRule profiles = ProfileRule::kSubFolders;
  // Folders of a root whose sub-folders are profiles too.
  Names profile_groups = {};
  // Below a profile (and its local twin): folders the cache box empties.
  Names caches = kChromiumCaches;
  // Below the root: folders the cache box empties.
  Names root_caches = kChromiumRootCaches;
  Names cookies = kChromiumCookies;
  Names history = kChromiumHistory;
  // Below a profile (and its local twin): folders the history box empties.
  Names history_folders = kChromiumHistoryFolders;
  // Held by the running browser: below the root (Chromium) or the profile
  // (Firefox).
  const wchar_t* lock = L"lockfile";
};

// Where each browser keeps its user data on every Windows from XP on; the
// order is the one the browsers are named in. Firefox's root is the folder
// of its profiles.ini.
constexpr BrowserRow kTable[] = {
    {.roots = kChrome},
    {.roots = kEdge},
    {.roots = kChromium},
    {.roots = kBrave},
    {.roots = kVivaldi},
    // Opera's folder was its profile; from version 126 the profile is
    // "Default" below it, and a root "Preferences" an upgrade left stays.
    // Opera GX keeps the profiles of its sidebar apps in _side_profiles.
    {.roots = kOpera, .profiles = ProfileRule::kBoth, .profile_groups = kOperaGroups},
    {.roots = k360se, .history = k360History, .history_folders = k360HistoryFolders},
    {.roots = k360Chrome},
    {.roots = kQQ},
    {.roots = kSogou},
    {.roots = k2345, .cookies = k2345Cookies},
    {.roots = kCent},
    {.roots = kMaxthon},
    {.roots = kUC},
    // Below the local folder (or inside a profile given by its full path):
    // the cache, the pages' thumbnails and the jump list's icons; never
    // places.sqlite.
    {.kind = BrowserKind::kFirefox,
     .roots = kFirefox,
     .caches = kFirefoxCaches,
     .root_caches = {},
     .cookies = kFirefoxCookies,
     .history = {},
     .history_folders = kFirefoxHistoryFolders,
     .lock = L"parent.lock"},
};

constexpr size_t kProfilesIniBytes = 64 * 1024;

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

const engine::DirEntry* Entry(const std::vector<engine::DirEntry>& entries, const wchar_t* name) {
  for (const engine::DirEntry& e : entries)
    if (SameName(e.name, name))
      return &e;
  return nullptr;
}

bool HasPlainFile(const std::vector<engine::DirEntry>& entries, const wchar_t* name) {
  const engine::DirEntry* e = Entry(entries, name);
  return e && !e->IsDirectory() && !e->IsLink();
}

// SQLite's files beside a database: a set takes them with it.
constexpr const wchar_t* kCompanions[] = {L"-journal", L"-wal", L"-shm"};

wchar_t LowerAscii(wchar_t c) {
  return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// A name (up to `end`) against a name of the table: "#" a digit, "?" any
// character, "*" any characters; letters without regard to case.
bool NameMatches(const wchar_t* name, const wchar_t* end, const wchar_t* pattern) {
  for (;; ++name, ++pattern) {
    if (*pattern == L'*') {
      for (const wchar_t* at = name;; ++at) {
        if (NameMatches(at, end, pattern + 1))
          return true;
        if (at == end)
          return false;
      }
    }
    if (*pattern == 0 || name == end)
      return *pattern == 0 && name == end;
    const bool same = *pattern == L'?'   ? true
                      : *pattern == L'#' ? (*name >= L'0' && *name <= L'9')
                                         : LowerAscii(*name) == LowerAscii(*pattern);
    if (!same)
      return false;
  }
}

// Whether an entry is the database `pattern` names or one of its companions.
bool InSet(const std::wstring& name, const wchar_t* pattern) {
  const wchar_t* begin = name.c_str();
  const wchar_t* end = begin + name.size();
  if (NameMatches(begin, end, pattern))
    return true;
  for (const wchar_t* companion : kCompanions) {
    const size_t length = std::char_traits<wchar_t>::length(companion);
    if (name.size() > length && NameMatches(end - length, end, companion) &&
        NameMatches(begin, end - length, pattern))
      return true;
  }
  return false;
}

// "Network\Cookies" as "Network" and "Cookies"; "" for a name of the folder
// itself.
std::pair<std::wstring_view, const wchar_t*> SplitName(const wchar_t* name) {
  const std::wstring_view text = name;
  const size_t slash = text.find(L'\\');
  if (slash == std::wstring_view::npos)
    return {std::wstring_view(), name};
  return {text.substr(0, slash), name + slash + 1};
}

// The folder `name` (one level, or "Service Worker\CacheStorage") of
// `folder`, whose entries are given, when it and every folder on the way
// are plain folders.
std::optional<std::wstring> PlainFolderAt(engine::FileSystem& files,
                                          const std::wstring& folder,
                                          const std::vector<engine::DirEntry>& entries,
                                          const wchar_t* name) {
  const auto [sub, last] = SplitName(name);
  if (sub.empty()) {
    const engine::DirEntry* e = Entry(entries, last);
    if (!e || !e->IsDirectory() || e->IsLink())
      return std::nullopt;
    return common::JoinPath(folder, e->name);
  }
  const engine::DirEntry* e = Entry(entries, std::wstring(sub).c_str());
  if (!e || !e->IsDirectory() || e->IsLink())
    return std::nullopt;
  const std::wstring inner = common::JoinPath(folder, e->name);
  const auto inside = List(files, inner);
  if (!inside)
    return std::nullopt;
  return PlainFolderAt(files, inner, *inside, last);
}

// Adds to `set` every file of `folder` (whose entries are given) and of
// its sub-folders named in `names` that is one of the databases named or a
// companion of one. A name that is there as a folder or a link spoils the
// whole set: a journal must never go without its database.
bool AddToSet(engine::FileSystem& files,
              const std::wstring& folder,
              const std::vector<engine::DirEntry>& entries,
              const Names& names,
              std::vector<std::wstring>* set) {
  std::vector<std::wstring_view> subs = {std::wstring_view()};
  for (const wchar_t* name : names) {
    const std::wstring_view sub = SplitName(name).first;
    if (std::find(subs.begin(), subs.end(), sub) == subs.end())
      subs.push_back(sub);
  }
  for (const std::wstring_view sub : subs) {
    const std::vector<engine::DirEntry>* list = &entries;
    std::optional<std::vector<engine::DirEntry>> inside;
    std::wstring where = folder;
    if (!sub.empty()) {
      const engine::DirEntry* e = Entry(entries, std::wstring(sub).c_str());
      if (!e)
        continue;
      if (!e->IsDirectory() || e->IsLink())
        return false;
      where = common::JoinPath(folder, e->name);
      inside = List(files, where);
      if (!inside)
        continue;
      list = &*inside;
    }
    for (const engine::DirEntry& e : *list) {
      const bool wanted = std::any_of(names.begin(), names.end(), [&](const wchar_t* name) {
        const auto [name_sub, last] = SplitName(name);
        return name_sub == sub && InSet(e.name, last);
      });
      if (!wanted)
        continue;
      if (e.IsDirectory() || e.IsLink())
        return false;
      set->push_back(common::JoinPath(where, e.name));
    }
  }
  return true;
}

void AddSet(std::vector<std::wstring> set, std::vector<std::vector<std::wstring>>* sets) {
  if (!set.empty())
    sets->push_back(std::move(set));
}

// The folders of `names` in a profile and in its local twin.
void AddFolders(engine::FileSystem& files,
                const Names& names,
                const std::wstring& profile,
                const std::vector<engine::DirEntry>& entries,
                const std::wstring& twin,
                const std::optional<std::vector<engine::DirEntry>>& twin_entries,
                std::vector<std::wstring>* folders) {
  for (const wchar_t* name : names)
    if (const auto folder = PlainFolderAt(files, profile, entries, name))
      folders->push_back(*folder);
  if (twin_entries)
    for (const wchar_t* name : names)
      if (const auto folder = PlainFolderAt(files, twin, *twin_entries, name))
        folders->push_back(*folder);
}

// One Chromium profile: its caches, its cookie set and its history set.
// A profile kept in the roaming folder has its caches in the same place
// below the local one (Opera); only what is there is taken.
void AddChromiumProfile(engine::FileSystem& files,
                        const BrowserRow& row,
                        const std::wstring& profile,
                        const std::vector<engine::DirEntry>& entries,
                        const std::wstring& local_twin,
                        BrowserData* data) {
  std::optional<std::vector<engine::DirEntry>> twin;
  if (!local_twin.empty())
    twin = List(files, local_twin);
  AddFolders(files, row.caches, profile, entries, local_twin, twin, &data->cache_folders);
  AddFolders(files, row.history_folders, profile, entries, local_twin, twin,
             &data->history_folders);
  std::vector<std::wstring> cookies;
  if (AddToSet(files, profile, entries, row.cookies, &cookies))
    AddSet(std::move(cookies), &data->cookie_sets);
  std::vector<std::wstring> history;
  if (AddToSet(files, profile, entries, row.history, &history))
    AddSet(std::move(history), &data->history_sets);
}

// Where a browser's data folder is found from: the folder, or where a link
// at it leads when that is a plain folder on a fixed drive. Records the
// browser's name when a link leads anywhere else.
struct DataFolders {
  engine::FileSystem& files;
  BrowserSystem& system;
  std::vector<std::wstring>* not_followed;

  std::optional<std::vector<engine::DirEntry>> Open(std::wstring* folder, const wchar_t* name) {
    if (auto entries = List(files, *folder))
      return entries;
    uint32_t attributes = 0;
    if (!files.Attributes(*folder, &attributes) || !(attributes & engine::kAttributeReparsePoint))
      return std::nullopt;
    const std::optional<std::wstring> target = system.LinkTarget(*folder);
    if (target && OnFixedDrive(*target)) {
      if (auto entries = List(files, *target)) {
        *folder = *target;
        return entries;
      }
    }
    if (not_followed &&
        std::find(not_followed->begin(), not_followed->end(), name) == not_followed->end())
      not_followed->push_back(name);
    return std::nullopt;
  }

  bool OnFixedDrive(const std::wstring& path) {
    const bool drive =
        path.size() >= 3 && path[1] == L':' && path[2] == L'\\' &&
        ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'));
    return drive && system.DriveType(path.substr(0, 3)) == engine::kDriveFixed;
  }
};

bool IsProfile(const std::vector<engine::DirEntry>& entries) {
  return HasPlainFile(entries, L"Preferences");
}

void AddChromiumRoot(engine::FileSystem& files,
                     DataFolders& folders,
                     const BrowserRow& row,
                     const wchar_t* name,
                     std::wstring root,
                     const std::wstring& local_twin,
                     std::vector<BrowserData>* found) {
  const auto entries = folders.Open(&root, name);
  if (!entries)
    return;
  BrowserData data;
  data.name = name;
  data.lock = common::JoinPath(root, row.lock);
  int profiles = 0;
  auto twin_of = [&](const std::wstring& below) {
    return local_twin.empty() ? std::wstring() : common::JoinPath(local_twin, below);
  };
  if (row.profiles != ProfileRule::kSubFolders && IsProfile(*entries)) {
    AddChromiumProfile(files, row, root, *entries, local_twin, &data);
    ++profiles;
  }
  if (row.profiles != ProfileRule::kRoot) {
    for (const engine::DirEntry& e : *entries) {
      if (!e.IsDirectory() || e.IsLink())
        continue;
      const std::wstring folder = common::JoinPath(root, e.name);
      const auto inside = List(files, folder);
      if (!inside)
        continue;
      const bool group = std::any_of(row.profile_groups.begin(), row.profile_groups.end(),
                                     [&](const wchar_t* g) { return SameName(e.name, g); });
      if (!group) {
        if (IsProfile(*inside)) {
          AddChromiumProfile(files, row, folder, *inside, twin_of(e.name), &data);
          ++profiles;
        }
        continue;
      }
      for (const engine::DirEntry& g : *inside) {
        if (!g.IsDirectory() || g.IsLink())
          continue;
        const std::wstring profile = common::JoinPath(folder, g.name);
        const auto in_profile = List(files, profile);
        if (!in_profile || !IsProfile(*in_profile))
          continue;
        AddChromiumProfile(files, row, profile, *in_profile, twin_of(common::JoinPath(e.name, g.name)), &data);
        ++profiles;
      }
    }
  }
  // A folder of that name without a profile is no browser's.
  if (profiles == 0)
    return;
  for (const wchar_t* cache : row.root_caches)
    if (const auto folder = PlainFolderAt(files, root, *entries, cache))
      data.cache_folders.push_back(*folder);
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
  return relative ? common::JoinPath(base, path) : path;
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

// A profile that Firefox made below "Profiles\" holds its prefs.js, or
// before its first end its times.json.
bool IsFirefoxProfile(const std::vector<engine::DirEntry>& entries) {
  return HasPlainFile(entries, L"prefs.js") || HasPlainFile(entries, L"times.json");
}

// The profiles of profiles.ini, joined with those of "Profiles\" that it
// does not list (the new profile manager lists one profile of a group and
// keeps the rest there as usual), each once.
void AddFirefox(engine::FileSystem& files,
                BrowserSystem& system,
                DataFolders& folders,
                const BrowserRow& row,
                const wchar_t* name,
                std::wstring root,
                const std::wstring& local_root,
                std::vector<BrowserData>* found) {
  if (!folders.Open(&root, name))
    return;
  struct Place {
    std::wstring profile;
    std::optional<std::wstring> local;
  };
  std::vector<Place> places;
  if (const std::optional<std::string> ini =
          system.ReadSmallFile(common::JoinPath(root, L"profiles.ini"), kProfilesIniBytes)) {
    for (const FirefoxProfile& p : ParseProfilesIni(*ini)) {
      const auto profile = ProfileFolder(root, p.path, p.relative);
      if (!profile)
        continue;
      // With a relative path the cache lies below the local application
      // data; a profile given by its full path keeps its cache inside.
      std::optional<std::wstring> local = *profile;
      if (p.relative)
        local = local_root.empty() ? std::nullopt : ProfileFolder(local_root, p.path, true);
      places.push_back({*profile, local});
    }
  }
  const std::wstring profiles = common::JoinPath(root, L"Profiles");
  if (const auto listed = List(files, profiles)) {
    for (const engine::DirEntry& e : *listed) {
      if (!e.IsDirectory() || e.IsLink())
        continue;
      const auto inside = List(files, common::JoinPath(profiles, e.name));
      if (!inside || !IsFirefoxProfile(*inside))
        continue;
      places.push_back({common::JoinPath(profiles, e.name), local_root.empty()
                                                    ? std::nullopt
                                                    : std::optional<std::wstring>(common::JoinPath(
                                                          common::JoinPath(local_root, L"Profiles"), e.name))});
    }
  }
  std::vector<std::wstring> seen;
  for (const Place& place : places) {
    const std::wstring key = FolderKey(place.profile);
    if (std::find(seen.begin(), seen.end(), key) != seen.end())
      continue;
    seen.push_back(key);
    std::wstring profile = place.profile;
    const auto entries = folders.Open(&profile, name);
    if (!entries)
      continue;
    BrowserData data;
    data.name = name;
    data.lock = common::JoinPath(profile, row.lock);
    if (place.local) {
      const auto local_entries =
          SameFolderText(*place.local, place.profile) ? entries : List(files, *place.local);
      const std::wstring& local =
          SameFolderText(*place.local, place.profile) ? profile : *place.local;
      if (local_entries) {
        for (const wchar_t* cache : row.caches)
          if (const auto folder = PlainFolderAt(files, local, *local_entries, cache))
            data.cache_folders.push_back(*folder);
        for (const wchar_t* history : row.history_folders)
          if (const auto folder = PlainFolderAt(files, local, *local_entries, history))
            data.history_folders.push_back(*folder);
      }
    }
    std::vector<std::wstring> cookies;
    if (AddToSet(files, profile, *entries, row.cookies, &cookies))
      AddSet(std::move(cookies), &data.cookie_sets);
    found->push_back(std::move(data));
  }
}

}  // namespace

std::vector<BrowserData> FindBrowserData(engine::FileSystem& files,
                                         BrowserSystem& system,
                                         const std::wstring& local_app_data,
                                         const std::wstring& app_data,
                                         std::vector<std::wstring>* not_followed) {
  std::vector<BrowserData> found;
  DataFolders folders{files, system, not_followed};
  std::vector<std::wstring> roots_seen;
  for (const BrowserRow& row : kTable) {
    for (const Root& root : row.roots) {
      const std::wstring& base = root.base == Base::kLocal ? local_app_data : app_data;
      if (base.empty())
        continue;
      const std::wstring folder = common::JoinPath(base, root.path);
      const std::wstring key = FolderKey(folder);
      if (std::find(roots_seen.begin(), roots_seen.end(), key) != roots_seen.end())
        continue;
      roots_seen.push_back(key);
      std::wstring twin;
      if (local_app_data.empty()) {
      } else if (root.local_twin) {
        twin = common::JoinPath(local_app_data, root.local_twin);
      } else if (row.kind == BrowserKind::kFirefox) {
        twin = common::JoinPath(local_app_data, root.path);
      } else if (root.base == Base::kRoaming && !SameFolderText(local_app_data, app_data)) {
        twin = common::JoinPath(local_app_data, root.path);
      }
      if (row.kind == BrowserKind::kFirefox)
        AddFirefox(files, system, folders, row, root.name, folder, twin, &found);
      else
        AddChromiumRoot(files, folders, row, root.name, folder, twin, &found);
    }
  }
  return found;
}

std::vector<std::wstring> BrowserNames(const std::vector<BrowserData>& found) {
  std::vector<std::wstring> names;
  for (const BrowserData& data : found)
    if (std::find(names.begin(), names.end(), data.name) == names.end())
      names.push_back(data.name);
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

std::wstring NotFollowedNote(const std::vector<std::wstring>& names) {
  if (names.empty())
    return std::wstring();
  return L"以下浏览器的数据文件夹是链接，指向的不是本机硬盘上的普通文件夹，未清理：" +
         JoinNames(names, L"、") + L"。";
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
