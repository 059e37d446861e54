// The six cleaning categories of tmpsweep: which folders each names on
// Windows XP (the older family) and on Windows Vista and later (the newer
// family), and their settings keys.
#ifndef TEMP_CLEANER_CATEGORIES_H_
#define TEMP_CLEANER_CATEGORIES_H_

#include <string>
#include <vector>

namespace tempclean {

constexpr int kCategoryCount = 6;

struct Category {
  const wchar_t* caption;
  const wchar_t* settings_key;
};
// Check1 .. Check6, index 0 .. 5.
const Category& CategoryInfo(int index);

// The logged-on user's folders as the shell names them: long names,
// without a trailing "\", "" where the shell cannot tell.
struct UserFolders {
  std::wstring profile;
  std::wstring local_app_data;
  std::wstring app_data;  // the roaming one
  std::wstring documents;
  std::wstring cookies;
  std::wstring recent;
  std::wstring internet_cache;
  std::wstring history;
  std::wstring temp;  // the TEMP the programs of the user get
  // Only kept from a run: the user's desktop, the programs' common data,
  // and every folder of installed programs (64-bit Windows has two).
  std::wstring desktop;
  std::wstring program_data;
  std::vector<std::wstring> program_files;
};

// What the lists are built from, read afresh at every change of a box.
struct ListInputs {
  std::wstring windows_folder;  // W: "windir"
  std::wstring user_name;       // U
  std::wstring system_root;     // R: first three characters of the system folder
  std::wstring version;         // the running Windows, "major.minor"
  // The newer family's lists come from these.
  UserFolders folders;
  // X:\$Recycle.Bin\<the user's SID> of every fixed drive.
  std::vector<std::wstring> recycle_bins;
};

// Windows Vista (6.0) and every later version, whatever number it reports
// (8.1 says 6.3, 10 and 11 say 10.0). Any text that is no such version,
// the field's initial "版本号" included, means Windows XP and older.
bool IsNewerFamily(const std::wstring& version);

// The folder list of a category: each folder preceded by ";", none ending
// in "\".
//
// Windows XP keeps the user's things in fixed places below
// "Documents and Settings\<user name>", and the lists name them so. From
// Vista on those places are compatibility junctions (which a walk does not
// enter), the profile need not be named after the user, and from 8.1 on the
// browser's cache and cookies live in other folders; so there each list
// names the folders the shell gives for the user, spelled as the older
// lists of Vista and 7 spell them ("C:\users\Bob\AppData\...") wherever
// they are those very folders.
std::wstring FolderList(int index, const ListInputs& inputs);

// The run target from the six list fields: joined, without the leading
// ";". Empty when no category is on.
std::wstring JoinTarget(const std::wstring lists[kCategoryCount]);

}  // namespace tempclean

#endif  // TEMP_CLEANER_CATEGORIES_H_
