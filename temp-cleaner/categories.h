// The six cleaning categories of tmpsweep: which folders each names on
// the older (XP) and newer (Vista, 7) Windows family, and their settings
// keys.
#ifndef TEMP_CLEANER_CATEGORIES_H_
#define TEMP_CLEANER_CATEGORIES_H_

#include <string>

namespace tempclean {

constexpr int kCategoryCount = 6;

struct Category {
  const wchar_t* caption;
  const wchar_t* settings_key;
};
// Check1 .. Check6, index 0 .. 5.
const Category& CategoryInfo(int index);

// What the lists are built from, read afresh at every change of a box.
struct ListInputs {
  std::wstring windows_folder;  // W: "windir"
  std::wstring user_name;       // U
  std::wstring system_root;     // R: first three characters of the system folder
  std::wstring version;         // Text7: "major.minor"
};

// The newer family when the version is exactly "6.0" or "6.1"; every other
// text, the field's initial "版本号" included, means the older family.
bool IsNewerFamily(const std::wstring& version);

// The folder list of a category: each folder preceded by ";", none ending
// in "\".
std::wstring FolderList(int index, const ListInputs& inputs);

// The run target from the six list fields: joined, without the leading
// ";". Empty when no category is on.
std::wstring JoinTarget(const std::wstring lists[kCategoryCount]);

}  // namespace tempclean

#endif  // TEMP_CLEANER_CATEGORIES_H_
