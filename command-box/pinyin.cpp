#include <cstring>

#include "command-box/pinyin_table.h"

namespace commandbox {
namespace {

constexpr char32_t kFirst = 0x4E00, kLast = 0x9FFF;
constexpr unsigned kBlock = 64, kNone = 511, kMore = 1u << 9;

unsigned GroupAt(unsigned bit) {
  unsigned value = 0;
  for (unsigned b = 0; b < 10; ++b, ++bit)
    value |= ((pinyin_table::kReadings[bit / 8] >> (bit % 8)) & 1u) << b;
  return value;
}

std::string_view Syllable(unsigned number) {
  // The syllables are one text, each followed by a blank.
  const char* at = pinyin_table::kSyllables;
  for (unsigned i = 0; i < number; ++i)
    at = std::strchr(at, ' ') + 1;
  return std::string_view(at, std::strchr(at, ' ') - at);
}

wchar_t LowerAscii(wchar_t c) {
  return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

bool IsAsciiText(wchar_t c) {
  return c > 0x20 && c < 0x7F;
}

// One step of a match: the name from `n` on against the typed text from
// `t` on, each Chinese character by a whole syllable or by its initial.
bool MatchFrom(const std::vector<std::vector<std::string_view>>& readings,
               std::wstring_view name,
               size_t n,
               std::wstring_view typed,
               size_t t,
               bool initials) {
  while (n < name.size() && name[n] == L' ')
    ++n;
  if (n == name.size())
    return t == typed.size();
  if (t == typed.size())
    return false;
  if (readings[n].empty())
    return LowerAscii(name[n]) == LowerAscii(typed[t]) &&
           MatchFrom(readings, name, n + 1, typed, t + 1, initials);
  char tried = 0;  // readings alphabetical: same initials come together
  for (std::string_view reading : readings[n]) {
    if (initials && reading[0] == tried)
      continue;
    tried = reading[0];
    const size_t length = initials ? 1 : reading.size();
    if (t + length > typed.size())
      continue;
    bool same = true;
    for (size_t i = 0; i < length && same; ++i)
      same = LowerAscii(typed[t + i]) == static_cast<wchar_t>(reading[i]);
    if (same && MatchFrom(readings, name, n + 1, typed, t + length, initials))
      return true;
  }
  return false;
}

}  // namespace

std::vector<std::string_view> PinyinReadings(char32_t c) {
  std::vector<std::string_view> readings;
  if (c < kFirst || c > kLast)
    return readings;
  const unsigned index = c - kFirst;
  unsigned bit = pinyin_table::kBlockStarts[index / kBlock];
  // Past the characters before it in its block.
  for (unsigned skip = index % kBlock; skip > 0; bit += 10)
    if (!(GroupAt(bit) & kMore))
      --skip;
  for (unsigned group = kMore; group & kMore; bit += 10) {
    group = GroupAt(bit);
    if ((group & kNone) != kNone)
      readings.push_back(Syllable(group & kNone));
  }
  return readings;
}

bool MatchesPinyin(std::wstring_view name, std::wstring_view typed) {
  std::vector<std::vector<std::string_view>> readings(name.size());
  bool chinese = false;
  for (size_t i = 0; i < name.size(); ++i) {
    if (name[i] == L' ' || IsAsciiText(name[i]))
      continue;
    readings[i] = PinyinReadings(static_cast<char32_t>(name[i]));
    if (readings[i].empty())
      return false;
    chinese = true;
  }
  if (!chinese || typed.empty())
    return false;
  return MatchFrom(readings, name, 0, typed, 0, false) ||
         MatchFrom(readings, name, 0, typed, 0, true);
}

}  // namespace commandbox
