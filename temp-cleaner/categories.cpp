#include "temp-cleaner/categories.h"

namespace tempclean {
namespace {

constexpr Category kCategories[kCategoryCount] = {
    {L"回收站", L"Rec"},        {L"tmpsweep", L"temp"},
    {L"Cookies", L"Cookies"},   {L"最近使用的文档", L"Recent"},
    {L"IE临时文件", L"IEtemp"}, {L"IE历史记录", L"History"},
};

}  // namespace

const Category& CategoryInfo(int index) {
  return kCategories[index];
}

bool IsNewerFamily(const std::wstring& version) {
  return version == L"6.0" || version == L"6.1";
}

std::wstring FolderList(int index, const ListInputs& in) {
  const std::wstring& w = in.windows_folder;
  const std::wstring& u = in.user_name;
  const std::wstring& r = in.system_root;
  const bool newer = IsNewerFamily(in.version);
  const std::wstring profile = newer ? r + L"users\\" + u : r + L"Documents and Settings\\" + u;
  switch (index) {
    case 0:
      return L";C:\\Recycled;D:\\Recycled;E:\\Recycled;C:\\Recycler;D:\\Recycler;E:\\Recycler";
    case 1:
      return L";" + w + L"\\Prefetch" + L";" + profile +
             (newer ? L"\\AppData\\Local\\Temp;" : L"\\Local Settings\\Temp;") + w + L"\\Temp";
    case 2:
      return L";" + profile +
             (newer ? L"\\AppData\\Roaming\\Microsoft\\Windows\\Cookies" : L"\\Cookies");
    case 3:
      return L";" + profile +
             (newer ? L"\\AppData\\Roaming\\Microsoft\\Windows\\Recent" : L"\\Recent");
    case 4:
      return L";" + profile +
             (newer ? L"\\AppData\\Local\\Microsoft\\Windows\\Temporary Internet Files"
                    : L"\\Local Settings\\Temporary Internet Files");
    case 5:
      return L";" + profile +
             (newer ? L"\\AppData\\Local\\Microsoft\\Windows\\History"
                    : L"\\Local Settings\\History");
    default:
      return std::wstring();
  }
}

std::wstring JoinTarget(const std::wstring lists[kCategoryCount]) {
  std::wstring joined;
  for (int i = 0; i < kCategoryCount; ++i)
    joined += lists[i];
  return joined.empty() ? joined : joined.substr(1);
}

}  // namespace tempclean
