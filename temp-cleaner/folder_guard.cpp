#include "temp-cleaner/folder_guard.h"

#include <algorithm>

#include "common/text_rules.h"

namespace tempclean {
namespace {

bool IsAsciiLetter(wchar_t c) {
  return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

// Where the root of a plain path ends: after "c:\" or after
// "\\server\share"; npos for a text without a root.
size_t RootLength(const std::wstring& key) {
  if (key.size() >= 3 && IsAsciiLetter(key[0]) && key[1] == L':' && key[2] == L'\\')
    return 3;
  if (key.rfind(L"\\\\", 0) == 0) {
    const size_t server_end = key.find(L'\\', 2);
    if (server_end == std::wstring::npos)
      return key.size();
    const size_t share_end = key.find(L'\\', server_end + 1);
    return share_end == std::wstring::npos ? key.size() : share_end;
  }
  return std::wstring::npos;
}

// The path with "\" separators, without the "\\?\" prefix, doubled or
// trailing separators (a drive root keeps its own), in its own spelling.
std::wstring PlainPath(std::wstring_view path) {
  std::wstring text(path);
  std::replace(text.begin(), text.end(), L'/', L'\\');
  if (text.rfind(L"\\\\?\\UNC\\", 0) == 0)
    text = L"\\\\" + text.substr(8);
  else if (text.rfind(L"\\\\?\\", 0) == 0)
    text = text.substr(4);
  std::wstring plain;
  plain.reserve(text.size() + 1);
  for (size_t i = 0; i < text.size(); ++i) {
    // Doubled separators count once, but for the two of "\\server".
    if (text[i] == L'\\' && i > 1 && text[i - 1] == L'\\')
      continue;
    plain += text[i];
  }
  if (plain.size() == 2 && IsAsciiLetter(plain[0]) && plain[1] == L':')
    plain += L'\\';
  while (plain.size() > 3 && plain.back() == L'\\')
    plain.pop_back();
  return plain;
}

// The folder above, in the spelling of `path`; "" at a root.
std::wstring Parent(const std::wstring& path) {
  const std::wstring plain = PlainPath(path);
  const size_t root = RootLength(plain);
  if (root == std::wstring::npos || plain.size() <= root)
    return std::wstring();
  const size_t last = plain.rfind(L'\\');
  return plain.substr(0, std::max(last, root));
}

}  // namespace

std::wstring FolderKey(std::wstring_view path) {
  return common::ToLowerAscii(PlainPath(path));
}

bool SameFolderText(std::wstring_view a, std::wstring_view b) {
  return FolderKey(a) == FolderKey(b);
}

bool FolderTextWithin(std::wstring_view inner, std::wstring_view outer) {
  const std::wstring in = FolderKey(inner);
  const std::wstring out = FolderKey(outer);
  if (out.empty() || in.size() < out.size() || in.compare(0, out.size(), out) != 0)
    return false;
  return in.size() == out.size() || out.back() == L'\\' || in[out.size()] == L'\\';
}

bool IsDriveRootText(std::wstring_view path) {
  const std::wstring key = FolderKey(path);
  const size_t root = RootLength(key);
  return root != std::wstring::npos && key.size() <= root;
}

FolderGuard::FolderGuard(FolderFacts& facts, const std::vector<std::wstring>& kept)
    : facts_(facts) {
  for (const std::wstring& folder : kept) {
    if (folder.empty())
      continue;
    std::wstring path = facts_.FullPath(folder);
    if (path.empty())
      path = folder;
    for (; !path.empty(); path = Parent(path)) {
      keys_.push_back(FolderKey(path));
      if (const auto identity = facts_.Identity(path))
        identities_.push_back(*identity);
    }
  }
}

bool FolderGuard::MayEmpty(const std::wstring& folder) {
  // A relative text ("\Temp" of an empty "windir", a TEMP of "Temp") would
  // be taken where the program happens to work.
  if (RootLength(PlainPath(folder)) == std::wstring::npos)
    return false;
  std::wstring path = facts_.FullPath(folder);
  if (path.empty())
    path = folder;
  if (IsDriveRootText(path))
    return false;
  const std::wstring key = FolderKey(path);
  if (std::find(keys_.begin(), keys_.end(), key) != keys_.end())
    return false;
  const auto identity = facts_.Identity(path);
  if (!identity)
    return true;
  if (std::find(identities_.begin(), identities_.end(), *identity) != identities_.end() ||
      std::find(emptied_.begin(), emptied_.end(), *identity) != emptied_.end())
    return false;
  emptied_.push_back(*identity);
  return true;
}

}  // namespace tempclean
