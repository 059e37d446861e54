#include "temp-cleaner/categories.h"

#include "temp-cleaner/folder_guard.h"

namespace tempclean {
namespace {

constexpr Category kCategories[kCategoryCount] = {
    {L"回收站", L"Rec"},        {L"tmpsweep", L"temp"},
    {L"Cookies", L"Cookies"},   {L"最近使用的文档", L"Recent"},
    {L"IE临时文件", L"IEtemp"}, {L"IE历史记录", L"History"},
};

std::wstring OlderFamilyList(int index, const ListInputs& in) {
  const std::wstring& w = in.windows_folder;
  const std::wstring profile = in.system_root + L"Documents and Settings\\" + in.user_name;
  switch (index) {
    case 0:
      return L";C:\\Recycled;D:\\Recycled;E:\\Recycled;C:\\Recycler;D:\\Recycler;E:\\Recycler";
    case 1:
      return L";" + w + L"\\Prefetch" + L";" + profile + L"\\Local Settings\\Temp;" + w + L"\\Temp";
    case 2:
      return L";" + profile + L"\\Cookies";
    case 3:
      return L";" + profile + L"\\Recent";
    case 4:
      return L";" + profile + L"\\Local Settings\\Temporary Internet Files";
    case 5:
      return L";" + profile + L"\\Local Settings\\History";
    default:
      return std::wstring();
  }
}

// The shell's folder, in the spelling of the older Vista and 7 text when it
// is that folder; "" when the shell could not tell.
std::wstring Spelled(const std::wstring& folder, const std::wstring& older_text) {
  if (folder.empty())
    return std::wstring();
  return SameFolderText(folder, older_text) ? older_text : folder;
}

void Append(std::wstring* list, const std::wstring& folder) {
  if (!folder.empty())
    *list += L";" + folder;
}

std::wstring NewerFamilyList(int index, const ListInputs& in) {
  const std::wstring& w = in.windows_folder;
  const UserFolders& f = in.folders;
  const std::wstring profile = in.system_root + L"users\\" + in.user_name;
  std::wstring list;
  switch (index) {
    case 0:
      for (const std::wstring& bin : in.recycle_bins)
        Append(&list, bin);
      break;
    case 1: {
      const std::wstring prefetch = w + L"\\Prefetch";
      const std::wstring windows_temp = w + L"\\Temp";
      const std::wstring user_temp =
          f.local_app_data.empty()
              ? std::wstring()
              : Spelled(f.local_app_data + L"\\Temp", profile + L"\\AppData\\Local\\Temp");
      Append(&list, prefetch);
      Append(&list, user_temp);
      // The TEMP the user's programs get, when the user moved it elsewhere;
      // not when it is one of the others or lies inside one, whose walk
      // reaches it (each file is listed once), nor when it lies inside the
      // Windows folder or a folder of installed programs: whatever a
      // variable says, no temporary files of a user's belong there.
      bool covered = f.temp.empty();
      for (const std::wstring* other : {&prefetch, &user_temp, &windows_temp})
        covered = covered || (!other->empty() && FolderTextWithin(f.temp, *other));
      bool system_place = !w.empty() && FolderTextWithin(f.temp, w);
      for (const std::wstring& programs : f.program_files)
        system_place = system_place || (!programs.empty() && FolderTextWithin(f.temp, programs));
      if (!covered && !system_place)
        Append(&list, f.temp);
      Append(&list, windows_temp);
      break;
    }
    case 2:
      Append(&list,
             Spelled(f.cookies, profile + L"\\AppData\\Roaming\\Microsoft\\Windows\\Cookies"));
      break;
    case 3:
      Append(&list, Spelled(f.recent, profile + L"\\AppData\\Roaming\\Microsoft\\Windows\\Recent"));
      break;
    case 4:
      Append(&list,
             Spelled(f.internet_cache,
                     profile + L"\\AppData\\Local\\Microsoft\\Windows\\Temporary Internet Files"));
      break;
    case 5:
      Append(&list, Spelled(f.history, profile + L"\\AppData\\Local\\Microsoft\\Windows\\History"));
      break;
    default:
      break;
  }
  return list;
}

}  // namespace

const Category& CategoryInfo(int index) {
  return kCategories[index];
}

bool IsNewerFamily(const std::wstring& version) {
  // "major.minor": digits, a point, digits.
  const size_t point = version.find(L'.');
  if (point == 0 || point == std::wstring::npos || point + 1 == version.size() || point > 4)
    return false;
  unsigned major = 0;
  for (size_t i = 0; i < version.size(); ++i) {
    if (i == point)
      continue;
    if (version[i] < L'0' || version[i] > L'9')
      return false;
    if (i < point)
      major = major * 10 + (version[i] - L'0');
  }
  return major >= 6;
}

std::wstring FolderList(int index, const ListInputs& inputs) {
  return IsNewerFamily(inputs.version) ? NewerFamilyList(index, inputs)
                                       : OlderFamilyList(index, inputs);
}

std::wstring JoinTarget(const std::wstring lists[kCategoryCount]) {
  std::wstring joined;
  for (int i = 0; i < kCategoryCount; ++i)
    joined += lists[i];
  return joined.empty() ? joined : joined.substr(1);
}

}  // namespace tempclean
