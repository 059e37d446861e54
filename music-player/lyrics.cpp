#include "music-player/lyrics.h"

#include <algorithm>

#include "common/text_rules.h"
#include "common/unicode.h"

namespace player {
namespace {

using common::IsBlank;
using common::IsDigit;

// A file is UTF-8 despite bytes that are not when it has at least this
// many characters of three or more bytes (Chinese text) for each of those
// bytes. GBK text that happens to hold such sequences has far fewer: in
// random GBK lyric files, at most 3 per stray byte in files of one line, 1
// in files of two or three, and fewer than 1 from five lines on.
constexpr size_t kWideCharactersPerStrayByte = 8;

// Minutes of a stamp or a position: more digits than any song needs, few
// enough that the milliseconds stay far inside 64 bits.
constexpr size_t kMaxMinuteDigits = 9;

// The number of digits from `at`, at most `most`.
size_t Digits(std::wstring_view text, size_t at, size_t most) {
  size_t n = 0;
  while (at + n < text.size() && n < most && IsDigit(text[at + n]))
    ++n;
  return n;
}

int64_t Number(std::wstring_view text, size_t at, size_t digits) {
  int64_t value = 0;
  for (size_t i = 0; i < digits; ++i)
    value = value * 10 + (text[at + i] - L'0');
  return value;
}

// The length of a stamp at `at` between `open` and `close` ("[mm:ss.xx]",
// "<mm:ss.xx>": minutes of any width, two digits of seconds, then tenths,
// hundredths or thousandths after "." or ":"), its time in `*ms`; 0 when
// none starts there.
size_t StampLength(std::wstring_view text, size_t at, wchar_t open, wchar_t close, int64_t* ms) {
  size_t i = at;
  if (i >= text.size() || text[i++] != open)
    return 0;
  const size_t minutes = Digits(text, i, kMaxMinuteDigits);
  if (minutes == 0 || i + minutes >= text.size() || text[i + minutes] != L':')
    return 0;
  const int64_t minute_value = Number(text, i, minutes);
  i += minutes + 1;
  if (Digits(text, i, 2) != 2)
    return 0;
  int64_t value = (minute_value * 60 + Number(text, i, 2)) * 1000;
  i += 2;
  if (i < text.size() && (text[i] == L'.' || text[i] == L':')) {
    const size_t fraction = Digits(text, i + 1, 3);
    if (fraction == 0)
      return 0;
    value += Number(text, i + 1, fraction) * (fraction == 1 ? 100 : fraction == 2 ? 10 : 1);
    i += 1 + fraction;
  }
  if (i >= text.size() || text[i] != close)
    return 0;
  *ms = value;
  return i + 1 - at;
}

// A word stamp of either form at `at`: its length, 0 when none.
size_t WordStampLength(std::wstring_view text, size_t at) {
  int64_t ignored;
  const size_t inline_stamp = StampLength(text, at, L'[', L']', &ignored);
  return inline_stamp != 0 ? inline_stamp : StampLength(text, at, L'<', L'>', &ignored);
}

// The shown text of what follows the leading stamps: word stamps out, the
// blanks on either side of each one made a single blank (none where the
// stamp stood between two characters), no blanks at the ends.
std::wstring ShownText(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    const size_t stamp = WordStampLength(text, at);
    if (stamp == 0) {
      out += text[at++];
      continue;
    }
    bool blank = false;
    while (!out.empty() && IsBlank(out.back())) {
      out.pop_back();
      blank = true;
    }
    for (at += stamp; at < text.size() && IsBlank(text[at]); ++at)
      blank = true;
    if (blank && !out.empty())
      out += L' ';
  }
  const size_t first = out.find_first_not_of(L" \t");
  if (first == std::wstring::npos)
    return std::wstring();
  return out.substr(first, out.find_last_not_of(L" \t") + 1 - first);
}

// The count of bytes that a GBK reading cannot place: 0xFF, and a lead
// byte without a trail byte it pairs with (0x40 to 0xFE, not 0x7F). 0x80 is
// the euro sign of the Windows code page.
size_t GbkFaults(std::string_view bytes) {
  size_t faults = 0;
  for (size_t at = 0; at < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    if (lead <= 0x80) {
      ++at;
      continue;
    }
    if (lead != 0xFF && at + 1 < bytes.size()) {
      const auto trail = static_cast<unsigned char>(bytes[at + 1]);
      if (trail >= 0x40 && trail <= 0xFE && trail != 0x7F) {
        at += 2;
        continue;
      }
    }
    ++faults;
    ++at;
  }
  return faults;
}

// UTF-16 without a byte-order mark, as some editors save "Unicode": at
// least half of the characters have a zero high byte (the stamps and tags
// are ASCII) and far fewer have a zero low byte. GBK and UTF-8 text holds
// no zero bytes at all. Nothing when the bytes are not of that shape;
// otherwise whether they are big-endian.
std::optional<bool> Utf16WithoutMark(std::string_view bytes) {
  const size_t units = bytes.size() / 2;
  size_t low_zero = 0, high_zero = 0;  // as little-endian units
  for (size_t i = 0; i < units; ++i) {
    low_zero += bytes[2 * i] == '\0';
    high_zero += bytes[2 * i + 1] == '\0';
  }
  if (units == 0)
    return std::nullopt;
  if (high_zero * 2 >= units && high_zero > 2 * low_zero)
    return false;
  if (low_zero * 2 >= units && low_zero > 2 * high_zero)
    return true;
  return std::nullopt;
}

// The seconds of a position text: "mm:ss" (minutes of any width) or
// "h:mm:ss".
std::optional<int64_t> PositionSeconds(std::wstring_view position) {
  int64_t seconds = 0;
  size_t at = 0, parts = 0;
  while (true) {
    const size_t digits = Digits(position, at, parts == 0 ? kMaxMinuteDigits : 2);
    if (digits == 0 || (parts > 0 && digits != 2))
      return std::nullopt;
    seconds = seconds * 60 + Number(position, at, digits);
    at += digits;
    ++parts;
    if (at == position.size())
      break;
    if (position[at++] != L':' || parts == 3)
      return std::nullopt;
  }
  if (parts < 2)
    return std::nullopt;
  return seconds;
}

int64_t FloorDiv(int64_t a, int64_t b) {
  return a / b - (a % b != 0 && (a < 0) != (b < 0));
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
  if (const auto big_endian = Utf16WithoutMark(bytes))
    return common::DecodeUtf16(bytes, *big_endian);
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
  // Valid in neither: the reading with fewer faults is the better guess (a
  // short UTF-8 file with one Western byte has too few Chinese characters
  // for the rule above, and its GBK reading breaks where that byte is). A
  // tie stays with the code page, as such files always did.
  if (stray > 0 && stray < GbkFaults(bytes))
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

LyricEntry ParseLyricEntry(std::wstring_view entry) {
  LyricEntry parsed;
  size_t text = 0;
  for (size_t at = 0;;) {
    while (at < entry.size() && IsBlank(entry[at]))
      ++at;
    int64_t ms;
    const size_t stamp = StampLength(entry, at, L'[', L']', &ms);
    if (stamp == 0)
      break;
    parsed.stamps_ms.push_back(ms);
    text = at += stamp;
  }
  if (!parsed.stamps_ms.empty())
    parsed.text = ShownText(entry.substr(text));
  return parsed;
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
    const int value = static_cast<int>(Number(entry, at, digits));
    return negative ? -value : value;
  }
  return 0;
}

Lyrics::Lyrics(const std::vector<std::wstring>& entries) : offset_ms_(LyricOffset(entries)) {
  for (const std::wstring& entry : entries) {
    LyricEntry parsed = ParseLyricEntry(entry);
    if (parsed.stamps_ms.empty())
      continue;
    for (int64_t ms : parsed.stamps_ms)
      times_.push_back({ms, texts_.size()});
    texts_.push_back(std::move(parsed.text));
  }
  if (!entries.empty()) {
    LyricEntry last = ParseLyricEntry(entries.back());
    last_text_ = std::move(last.text);
  }
  std::stable_sort(times_.begin(), times_.end(),
                   [](const Time& a, const Time& b) { return a.ms < b.ms; });
}

std::optional<std::wstring> Lyrics::At(const std::wstring& position) const {
  if (position.empty())
    return last_text_;
  const std::optional<int64_t> seconds = PositionSeconds(position);
  if (!seconds)
    return std::nullopt;
  // The position text changes at the start of each second, so that is the
  // moment it gives; the offset moves it, and the second it lands in takes
  // every stamp inside it, as the unmoved position always did.
  const int64_t second = FloorDiv(*seconds * 1000 + offset_ms_, 1000);
  const int64_t last_ms = second * 1000 + 999;
  const auto after = std::upper_bound(times_.begin(), times_.end(), last_ms,
                                      [](int64_t ms, const Time& t) { return ms < t.ms; });
  if (after == times_.begin())
    return std::wstring();
  return texts_[std::prev(after)->text];
}

}  // namespace player
