#include "music-player/playlist.h"

#include <cwctype>

#include "common/program_path.h"
#include "common/text_rules.h"
#include "common/unicode.h"

namespace player {
namespace {

std::wstring DecodeEntities(std::wstring_view text) {
  std::wstring out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'&') {
      out += text[i];
      continue;
    }
    const size_t semi = text.find(L';', i);
    if (semi == std::wstring_view::npos || semi - i > 10) {
      out += text[i];
      continue;
    }
    const std::wstring_view name = text.substr(i + 1, semi - i - 1);
    char32_t cp = 0;
    if (name == L"amp")
      cp = L'&';
    else if (name == L"lt")
      cp = L'<';
    else if (name == L"gt")
      cp = L'>';
    else if (name == L"quot")
      cp = L'"';
    else if (name == L"apos")
      cp = L'\'';
    else if (name.size() > 1 && name[0] == L'#') {
      const bool hex = name[1] == L'x' || name[1] == L'X';
      for (size_t k = hex ? 2 : 1; k < name.size(); ++k) {
        const wchar_t c = name[k];
        int digit = -1;
        if (c >= L'0' && c <= L'9')
          digit = c - L'0';
        else if (hex && c >= L'a' && c <= L'f')
          digit = c - L'a' + 10;
        else if (hex && c >= L'A' && c <= L'F')
          digit = c - L'A' + 10;
        if (digit < 0 || cp > 0x10FFFF) {
          cp = 0xFFFD;
          break;
        }
        cp = cp * (hex ? 16 : 10) + static_cast<char32_t>(digit);
      }
    }
    if (cp == 0) {
      out += text[i];
      continue;
    }
    common::AppendCodePoint(out, cp);
    i = semi;
  }
  return out;
}

bool IsFullPath(const std::wstring& path) {
  if (path.size() >= 2 && path[1] == L':')
    return true;  // "C:..."
  if (path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\')
    return true;                                   // network
  return path.find(L"://") != std::wstring::npos;  // an address
}

}  // namespace

bool IsPlaylist(const std::wstring& address) {
  return common::ToLowerAscii(common::RightChars(address, 4)) == L".wpl";
}

std::vector<std::wstring> ParsePlaylist(std::wstring_view text, const std::wstring& folder) {
  std::vector<std::wstring> items;
  const std::wstring lower = common::ToLowerAscii(text);
  size_t at = 0;
  while (items.size() < kMaxPlaylistItems) {
    at = lower.find(L"<media", at);
    if (at == std::wstring::npos)
      break;
    const size_t end = lower.find(L'>', at);
    if (end == std::wstring::npos)
      break;
    // "src" as an attribute of this element, quoted either way.
    size_t src = lower.find(L"src", at);
    while (src != std::wstring::npos && src < end &&
           !(iswspace(lower[src - 1]) && (lower[src + 3] == L'=' || iswspace(lower[src + 3]))))
      src = lower.find(L"src", src + 3);
    if (src != std::wstring::npos && src < end) {
      size_t q = lower.find_first_of(L"\"'", src);
      if (q != std::wstring::npos && q < end) {
        const size_t close = lower.find(lower[q], q + 1);
        if (close != std::wstring::npos && close <= end) {
          std::wstring path = DecodeEntities(text.substr(q + 1, close - q - 1));
          if (!path.empty() && !IsPlaylist(path)) {
            if (!IsFullPath(path))
              path = common::JoinPath(folder, common::ReplaceAll(path, L"/", L"\\"));
            items.push_back(path);
          }
        }
      }
    }
    at = end + 1;
  }
  return items;
}

}  // namespace player
