#include "music-player/byte_fields.h"

#include "common/unicode.h"

namespace player {
namespace {

bool IsIdeograph(char32_t c) {
  return c >= 0x4E00 && c <= 0x9FFF;
}

bool IsTitlePunctuation(char32_t c) {
  return c == 0xB7 || (c >= 0x2014 && c <= 0x2026) || (c >= 0x3000 && c <= 0x303F) ||
         (c >= 0xFF01 && c <= 0xFF5E);
}

// True when `tail` is the start of a UTF-8 sequence that the end cut off:
// a lead byte and fewer continuation bytes than it announces.
bool IsCutSequence(std::string_view tail) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(tail[i]); };
  if (tail.empty() || byte(0) < 0xC2 || byte(0) > 0xF4)
    return false;
  const size_t length = byte(0) < 0xE0 ? 2 : byte(0) < 0xF0 ? 3 : 4;
  if (tail.size() >= length)
    return false;
  for (size_t i = 1; i < tail.size(); ++i)
    if ((byte(i) & 0xC0) != 0x80)
      return false;
  return true;
}

}  // namespace

bool IsChineseUtf8(std::string_view bytes, bool cut_at_end) {
  bool ideograph = false;
  size_t at = 0;
  while (at < bytes.size()) {
    char32_t c;
    const size_t length = common::DecodeUtf8Sequence(bytes, at, &c);
    if (length == 0)
      return ideograph && cut_at_end && IsCutSequence(bytes.substr(at));
    if (c >= 0x80) {
      if (IsIdeograph(c))
        ideograph = true;
      else if (!IsTitlePunctuation(c))
        return false;
    }
    at += length;
  }
  return ideograph;
}

std::wstring DecodeByteField(std::string_view bytes, const common::CodePage& ansi, bool cut) {
  if (IsChineseUtf8(bytes, cut)) {
    std::wstring text = common::DecodeUtf8(bytes);
    // Only a cut last sequence can have decoded to replacement characters.
    while (!text.empty() && text.back() == 0xFFFD)
      text.pop_back();
    return text;
  }
  if (cut && !bytes.empty() && static_cast<unsigned char>(bytes.back()) >= 0x80) {
    // A lead byte without its trail byte pairs with an added "A" (a trail
    // byte in every double-byte code page); a complete last character
    // leaves the "A" standing alone. This needs no table of lead bytes.
    const std::string probe = std::string(bytes) + 'A';
    if (ansi.Decode(probe) != ansi.Decode(bytes) + L'A')
      bytes.remove_suffix(1);
  }
  return ansi.Decode(bytes);
}

}  // namespace player
