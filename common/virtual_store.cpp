#include "common/virtual_store.h"

#include "common/program_path.h"

namespace common {
namespace {

bool IsDriveLetter(wchar_t c) {
  return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

std::wstring ParentFolder(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

}  // namespace

std::wstring VirtualStorePath(std::wstring_view local_app_data, std::wstring_view path) {
  if (local_app_data.empty())
    return std::wstring();
  // Only files on a drive are virtualised: "C:\Windows\lnk.ini" has its
  // copy at VirtualStore\Windows\lnk.ini. Network paths ("\\server\...")
  // and paths without a drive have none.
  if (path.size() < 4 || !IsDriveLetter(path[0]) || path[1] != L':' || path[2] != L'\\')
    return std::wstring();
  std::wstring_view rest = path.substr(3);
  while (!rest.empty() && rest.front() == L'\\')
    rest.remove_prefix(1);
  if (rest.empty())
    return std::wstring();
  return JoinPath(JoinPath(local_app_data, L"VirtualStore"), rest);
}

VirtualStoreProfile::VirtualStoreProfile(ProfilePort& files, VirtualStorePort& system)
    : files_(files), system_(system) {}

std::wstring VirtualStoreProfile::FullPath(const std::wstring& file) {
  if (file.find_first_of(L"\\/") != std::wstring::npos)
    return file;
  const std::wstring windows = system_.WindowsFolder();
  return windows.empty() ? file : JoinPath(windows, file);
}

std::wstring VirtualStoreProfile::CopyOf(const std::wstring& file) {
  return VirtualStorePath(system_.LocalAppData(), FullPath(file));
}

std::wstring VirtualStoreProfile::GetString(const std::wstring& file,
                                            const std::wstring& section,
                                            const std::wstring& key,
                                            size_t buffer_chars) {
  const std::wstring copy = CopyOf(file);
  if (!copy.empty() && system_.FileExists(copy))
    return files_.GetString(copy, section, key, buffer_chars);
  return files_.GetString(file, section, key, buffer_chars);
}

bool VirtualStoreProfile::WriteString(const std::wstring& file,
                                      const std::wstring& section,
                                      const std::wstring& key,
                                      const std::wstring& value) {
  const std::wstring copy = CopyOf(file);
  if (!copy.empty() && system_.FileExists(copy))
    return files_.WriteString(copy, section, key, value);
  // The file itself is given to the platform as it came (a bare name
  // included), so that where the Windows folder can be written, nothing
  // changes.
  if (files_.WriteString(file, section, key, value))
    return true;
  if (copy.empty())
    return false;
  system_.MakeFolders(ParentFolder(copy));
  // The copy starts as the Windows folder's file, so that the keys stored
  // there (by an administrator, or before) are still read.
  // A copy that cannot be made is not started empty: it would hide them.
  const std::wstring original = FullPath(file);
  if (system_.FileExists(original) && !system_.CopyToNewFile(original, copy))
    return false;
  return files_.WriteString(copy, section, key, value);
}

}  // namespace common
