// The web browsers whose cookies, cache and history tmpsweep's browser
// boxes clean besides Internet Explorer's folders: where each keeps its
// profiles, what in a profile each box takes, and what it never touches.
//
// Everything here is read from what is on disk: a browser counts when its
// folders are there, a profile when it holds the files that make one.
// Nothing else of a profile is ever named: the bookmarks, saved passwords,
// the key that protects them ("Local State"), settings, extensions and the
// open tabs are never part of a list, and Firefox's history database is
// left alone because its file, places.sqlite, holds the bookmarks too (its
// page thumbnails and jump-list icons are not).
#ifndef TEMP_CLEANER_BROWSERS_H_
#define TEMP_CLEANER_BROWSERS_H_

#include <optional>
#include <string>
#include <vector>

#include "cleaner-engine/engine_ports.h"

namespace tempclean {

// What finding the browsers needs of the system beside the file system.
class BrowserSystem {
 public:
  virtual ~BrowserSystem() = default;
  // The bytes of a small file, at most `max_bytes` of them; nothing when it
  // cannot be read.
  virtual std::optional<std::string> ReadSmallFile(const std::wstring& path, size_t max_bytes) = 0;
  // True when a running program holds the lock file `path` as a running
  // browser holds its own: it exists, and it cannot be opened for writing
  // with every kind of sharing. False when it is missing, or when it opens
  // (a lock a browser left behind when it ended).
  virtual bool LockHeld(const std::wstring& path) = 0;
  // Where the link `path` (a junction, or a folder link) leads, as a full
  // path with a drive letter ("D:\\Chrome\\User Data"); nothing when it is
  // no link, leads to a mounted volume or cannot be read.
  virtual std::optional<std::wstring> LinkTarget(const std::wstring& path) = 0;
  // The platform's type of a drive ("D:\\"), engine::kDriveFixed and the rest.
  virtual unsigned DriveType(const std::wstring& root) = 0;
};

// What one lock of a browser covers, with what the boxes would clean there:
// a Chromium user-data folder with all its profiles (the browser holds
// "lockfile" in it while it runs), or one Firefox profile ("parent.lock").
// Every path names something that was there when it was found.
struct BrowserData {
  // The browser as it names itself ("Google Chrome Beta", "Opera GX").
  std::wstring name;
  std::wstring lock;
  // The folders whose files the cache box deletes.
  std::vector<std::wstring> cache_folders;
  // The folders whose files the history box deletes.
  std::vector<std::wstring> history_folders;
  // Files that go together, all or none: a database with its journal. One
  // set a profile for each box.
  std::vector<std::vector<std::wstring>> cookie_sets;
  std::vector<std::vector<std::wstring>> history_sets;
};

// The browsers' data of the logged-on user, found below the local and the
// roaming application data folders (a browser below a folder the shell
// could not name, "", is left out). A browser's data folder (a Chromium
// user-data folder, a Firefox root or profile) that is a link is followed
// once, to a plain folder on a fixed drive of this machine (people move a
// browser to another drive with a junction); inside it, and everywhere
// else, no link is followed. A link that leads anywhere else puts the
// browser's name into `not_followed` (when given), each name once; a
// folder that cannot be listed is passed over.
std::vector<BrowserData> FindBrowserData(engine::FileSystem& files,
                                         BrowserSystem& system,
                                         const std::wstring& local_app_data,
                                         const std::wstring& app_data,
                                         std::vector<std::wstring>* not_followed = nullptr);

// The browsers found, by name, in the order they were found, each once.
std::vector<std::wstring> BrowserNames(const std::vector<BrowserData>& found);

// The second line of the summary when browsers were skipped because they
// were running; "" when none was.
std::wstring RunningBrowsersNote(const std::vector<std::wstring>& names);

// The line of the summary for browsers whose data folder is a link that
// was not followed; "" when there is none.
std::wstring NotFollowedNote(const std::vector<std::wstring>& names);

// The tips of the Cookies and the cache box: what they clean here.
std::wstring CookiesTip(const std::vector<std::wstring>& browsers);
std::wstring CacheTip(const std::vector<std::wstring>& browsers);

}  // namespace tempclean

#endif  // TEMP_CLEANER_BROWSERS_H_
