#include "music-player/lyrics.h"

#include "common/unicode.h"

namespace player {

std::wstring DecodeLyricBytes(std::string_view bytes, const common::CodePage& ansi) {
  if (bytes.size() > kMaxLyricBytes)
    bytes = bytes.substr(0, kMaxLyricBytes);
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
    return common::DecodeUtf8(bytes.substr(3));
  if (bytes.substr(0, 2) == "\xFF\xFE")
    return common::DecodeUtf16(bytes.substr(2), false);
  if (bytes.substr(0, 2) == "\xFE\xFF")
    return common::DecodeUtf16(bytes.substr(2), true);
  bool ascii = true;
  for (char c : bytes)
    ascii &= static_cast<unsigned char>(c) < 0x80;
  if (!ascii && common::IsValidUtf8(bytes))
    return common::DecodeUtf8(bytes);
  return ansi.Decode(bytes);
}

std::vector<std::wstring> SplitLines(std::wstring_view text) {
  std::vector<std::wstring> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'\r' && text[i] != L'\n')
      continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')
      ++i;
    start = i + 1;
  }
  if (start < text.size())
    lines.emplace_back(text.substr(start));
  return lines;
}

std::wstring LyricText(const std::wstring& entry) {
  const size_t bracket = entry.rfind(L']');
  return bracket == std::wstring::npos ? entry : entry.substr(bracket + 1);
}

std::optional<std::wstring> SyncLyrics(const std::vector<std::wstring>& entries,
                                       const std::wstring& position) {
  std::optional<std::wstring> shown;
  const size_t count = entries.size();
  for (size_t i = 0; i < count; ++i)
    if (entries[i].find(position) != std::wstring::npos)
      shown = LyricText(entries[i]);
  return shown;
}

}  // namespace player
