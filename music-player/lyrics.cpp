#include "music-player/lyrics.h"

#include <cstdint>

#include "common/text_rules.h"
#include "common/unicode.h"
#include "music-player/media_player.h"

namespace player {
namespace {

// A file is UTF-8 despite bytes that are not when it has at least this
// many characters of three or more bytes (Chinese text) for each of those
// bytes. GBK text that happens to hold such sequences has far fewer: in
// random GBK lyric files, at most 3 per stray byte in files of one line, 1
// in files of two or three, and fewer than 1 from five lines on.
constexpr size_t kWideCharactersPerStrayByte = 8;

bool IsDigit(wchar_t c) {
  return c >= L'0' && c <= L'9';
}

// The number of digits from `at`, at most `most`.
size_t Digits(std::wstring_view text, size_t at, size_t most) {
  size_t n = 0;
  while (at + n < text.size() && n < most && IsDigit(text[at + n]))
    ++n;
  return n;
}

// The length of a word stamp at `at` ("<mm:ss>", "<mm:ss.xx>" or
// "<mm:ss:xx>"), 0 when none starts there.
size_t WordStampLength(std::wstring_view text, size_t at) {
  size_t i = at;
  if (i >= text.size() || text[i++] != L'<')
    return 0;
  const size_t minutes = Digits(text, i, 3);
  if (minutes == 0 || (i += minutes) >= text.size() || text[i++] != L':')
    return 0;
  if (Digits(text, i, 2) != 2)
    return 0;
  i += 2;
  if (i < text.size() && (text[i] == L'.' || text[i] == L':')) {
    const size_t fraction = Digits(text, i + 1, 3);
    if (fraction == 0)
      return 0;
    i += 1 + fraction;
  }
  return i < text.size() && text[i] == L'>' ? i + 1 - at : 0;
}

// The text without its word stamps.
std::wstring WithoutWordStamps(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    const size_t stamp = WordStampLength(text, at);
    if (stamp == 0)
      out += text[at];
    at += stamp == 0 ? 1 : stamp;
  }
  return out;
}

// True when the entry holds `position` outside its word stamps: those of
// the form "<01:02:50>" hold "02:50", which is not when the line starts.
bool Holds(const std::wstring& entry, const std::wstring& position) {
  if (entry.find(L'<') == std::wstring::npos)
    return entry.find(position) != std::wstring::npos;
  return WithoutWordStamps(entry).find(position) != std::wstring::npos;
}

}  // namespace

std::wstring DecodeLyricBytes(std::string_view bytes, const common::CodePage& ansi) {
  if (bytes.size() > kMaxLyricBytes)
    bytes = bytes.substr(0, kMaxLyricBytes);
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
    return common::DecodeUtf8(bytes.substr(3));
  if (bytes.substr(0, 2) == "\xFF\xFE")
    return common::DecodeUtf16(bytes.substr(2), false);
  if (bytes.substr(0, 2) == "\xFE\xFF")
    return common::DecodeUtf16(bytes.substr(2), true);
  size_t multibyte = 0, wide = 0, stray = 0;
  for (size_t at = 0; at < bytes.size();) {
    char32_t c;
    const size_t length = common::DecodeUtf8Sequence(bytes, at, &c);
    multibyte += length > 1;
    wide += length > 2;
    stray += length == 0;
    at += length == 0 ? 1 : length;
  }
  if ((multibyte > 0 && stray == 0) || (stray > 0 && wide >= kWideCharactersPerStrayByte * stray))
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
  return WithoutWordStamps(bracket == std::wstring::npos
                               ? std::wstring_view(entry)
                               : std::wstring_view(entry).substr(bracket + 1));
}

int LyricOffset(const std::vector<std::wstring>& entries) {
  constexpr std::wstring_view kTag = L"[offset:";
  for (const std::wstring& entry : entries) {
    if (common::ToLowerAscii(common::LeftChars(entry, kTag.size())) != kTag)
      continue;
    size_t at = entry.find_first_not_of(L' ', kTag.size());
    const bool negative = at < entry.size() && entry[at] == L'-';
    if (at < entry.size() && (entry[at] == L'-' || entry[at] == L'+'))
      ++at;
    const size_t digits = Digits(entry, at, 9);
    const size_t close = entry.find_first_not_of(L' ', at + digits);
    if (digits == 0 || close >= entry.size() || entry[close] != L']')
      continue;
    const int value = std::stoi(entry.substr(at, digits));
    return negative ? -value : value;
  }
  return 0;
}

std::optional<std::wstring> ShiftedPosition(const std::wstring& position, int offset_ms) {
  const size_t minutes = Digits(position, 0, 9);
  if (offset_ms == 0 || minutes == 0 || position.size() != minutes + 3 ||
      position[minutes] != L':' || Digits(position, minutes + 1, 2) != 2) {
    return position;
  }
  const int64_t seconds = int64_t(std::stoi(position.substr(0, minutes))) * 60 +
                          std::stoi(position.substr(minutes + 1));
  const int64_t shifted_ms = seconds * 1000 + 500 + offset_ms;
  if (shifted_ms < 0)
    return std::nullopt;
  return PositionText(static_cast<double>(shifted_ms / 1000));
}

std::optional<std::wstring> SyncLyrics(const std::vector<std::wstring>& entries,
                                       const std::wstring& position,
                                       int offset_ms) {
  const std::optional<std::wstring> pattern = ShiftedPosition(position, offset_ms);
  if (!pattern)
    return std::nullopt;
  std::optional<std::wstring> shown;
  const size_t count = entries.size();
  for (size_t i = 0; i < count; ++i)
    if (Holds(entries[i], *pattern))
      shown = LyricText(entries[i]);
  return shown;
}

}  // namespace player
