#include "common/text_rules.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <iterator>

namespace common {
namespace {

// Ranges of code points that code page 936 writes with two bytes (GBK plus
// the part of the private use area that the Windows code page maps).
// Dumped from WideCharToMultiByte(936) without best-fit mapping; a Windows
// test compares this table with the platform for the whole basic plane.
struct Range {
  char32_t first, last;
};
constexpr Range kGbkDoubleByte[] = {
    {0x00A4, 0x00A4}, {0x00A7, 0x00A8}, {0x00B0, 0x00B1}, {0x00B7, 0x00B7}, {0x00D7, 0x00D7},
    {0x00E0, 0x00E1}, {0x00E8, 0x00EA}, {0x00EC, 0x00ED}, {0x00F2, 0x00F3}, {0x00F7, 0x00F7},
    {0x00F9, 0x00FA}, {0x00FC, 0x00FC}, {0x0101, 0x0101}, {0x0113, 0x0113}, {0x011B, 0x011B},
    {0x012B, 0x012B}, {0x0144, 0x0144}, {0x0148, 0x0148}, {0x014D, 0x014D}, {0x016B, 0x016B},
    {0x01CE, 0x01CE}, {0x01D0, 0x01D0}, {0x01D2, 0x01D2}, {0x01D4, 0x01D4}, {0x01D6, 0x01D6},
    {0x01D8, 0x01D8}, {0x01DA, 0x01DA}, {0x01DC, 0x01DC}, {0x0251, 0x0251}, {0x0261, 0x0261},
    {0x02C7, 0x02C7}, {0x02C9, 0x02CB}, {0x02D9, 0x02D9}, {0x0391, 0x03A1}, {0x03A3, 0x03A9},
    {0x03B1, 0x03C1}, {0x03C3, 0x03C9}, {0x0401, 0x0401}, {0x0410, 0x044F}, {0x0451, 0x0451},
    {0x2010, 0x2010}, {0x2013, 0x2016}, {0x2018, 0x2019}, {0x201C, 0x201D}, {0x2025, 0x2026},
    {0x2030, 0x2030}, {0x2032, 0x2033}, {0x2035, 0x2035}, {0x203B, 0x203B}, {0x2103, 0x2103},
    {0x2105, 0x2105}, {0x2109, 0x2109}, {0x2116, 0x2116}, {0x2121, 0x2121}, {0x2160, 0x216B},
    {0x2170, 0x2179}, {0x2190, 0x2193}, {0x2196, 0x2199}, {0x2208, 0x2208}, {0x220F, 0x220F},
    {0x2211, 0x2211}, {0x2215, 0x2215}, {0x221A, 0x221A}, {0x221D, 0x2220}, {0x2223, 0x2223},
    {0x2225, 0x2225}, {0x2227, 0x222B}, {0x222E, 0x222E}, {0x2234, 0x2237}, {0x223D, 0x223D},
    {0x2248, 0x2248}, {0x224C, 0x224C}, {0x2252, 0x2252}, {0x2260, 0x2261}, {0x2264, 0x2267},
    {0x226E, 0x226F}, {0x2295, 0x2295}, {0x2299, 0x2299}, {0x22A5, 0x22A5}, {0x22BF, 0x22BF},
    {0x2312, 0x2312}, {0x2460, 0x2469}, {0x2474, 0x249B}, {0x2500, 0x254B}, {0x2550, 0x2573},
    {0x2581, 0x258F}, {0x2593, 0x2595}, {0x25A0, 0x25A1}, {0x25B2, 0x25B3}, {0x25BC, 0x25BD},
    {0x25C6, 0x25C7}, {0x25CB, 0x25CB}, {0x25CE, 0x25CF}, {0x25E2, 0x25E5}, {0x2605, 0x2606},
    {0x2609, 0x2609}, {0x2640, 0x2640}, {0x2642, 0x2642}, {0x3000, 0x3003}, {0x3005, 0x3017},
    {0x301D, 0x301E}, {0x3021, 0x3029}, {0x3041, 0x3093}, {0x309B, 0x309E}, {0x30A1, 0x30F6},
    {0x30FC, 0x30FE}, {0x3105, 0x3129}, {0x3220, 0x3229}, {0x3231, 0x3231}, {0x32A3, 0x32A3},
    {0x338E, 0x338F}, {0x339C, 0x339E}, {0x33A1, 0x33A1}, {0x33C4, 0x33C4}, {0x33CE, 0x33CE},
    {0x33D1, 0x33D2}, {0x33D5, 0x33D5}, {0x4E00, 0x9FA5}, {0xE000, 0xE864}, {0xF92C, 0xF92C},
    {0xF979, 0xF979}, {0xF995, 0xF995}, {0xF9E7, 0xF9E7}, {0xF9F1, 0xF9F1}, {0xFA0C, 0xFA0F},
    {0xFA11, 0xFA11}, {0xFA13, 0xFA14}, {0xFA18, 0xFA18}, {0xFA1F, 0xFA21}, {0xFA23, 0xFA24},
    {0xFA27, 0xFA29}, {0xFE30, 0xFE31}, {0xFE33, 0xFE44}, {0xFE49, 0xFE52}, {0xFE54, 0xFE57},
    {0xFE59, 0xFE66}, {0xFE68, 0xFE6B}, {0xFF01, 0xFF5E}, {0xFFE0, 0xFFE5},
};

// Checks the syntax and returns the bare number text (blanks removed), or
// nothing when the text is not a number.
std::optional<std::string> NumberSyntax(std::wstring_view text) {
  size_t i = 0, n = text.size();
  while (i < n && IsBlank(text[i]))
    ++i;
  while (n > i && IsBlank(text[n - 1]))
    --n;
  std::string bare;
  if (i < n && (text[i] == L'+' || text[i] == L'-'))
    bare += static_cast<char>(text[i++]);
  size_t int_digits = 0, frac_digits = 0;
  while (i < n && IsDigit(text[i])) {
    bare += static_cast<char>(text[i++]);
    ++int_digits;
  }
  if (i < n && text[i] == L'.') {
    bare += '.';
    ++i;
    while (i < n && IsDigit(text[i])) {
      bare += static_cast<char>(text[i++]);
      ++frac_digits;
    }
  }
  if (int_digits + frac_digits == 0)
    return std::nullopt;
  if (i < n && (text[i] == L'e' || text[i] == L'E')) {
    bare += 'e';
    ++i;
    if (i < n && (text[i] == L'+' || text[i] == L'-'))
      bare += static_cast<char>(text[i++]);
    size_t exp_digits = 0;
    while (i < n && IsDigit(text[i])) {
      bare += static_cast<char>(text[i++]);
      ++exp_digits;
    }
    if (exp_digits == 0)
      return std::nullopt;
  }
  if (i != n)
    return std::nullopt;
  return bare;
}

}  // namespace

std::optional<double> ParseNumber(std::wstring_view text) {
  const std::optional<std::string> bare = NumberSyntax(text);
  if (!bare)
    return std::nullopt;
  errno = 0;
  char* end = nullptr;
  const double value = std::strtod(bare->c_str(), &end);
  if (end != bare->c_str() + bare->size())
    return std::nullopt;
  // Overflow is not a number; underflow to zero is.
  if (!std::isfinite(value))
    return std::nullopt;
  if (errno == ERANGE && std::fabs(value) > 1.0)
    return std::nullopt;
  return value;
}

bool IsNumeric(std::wstring_view text) {
  return ParseNumber(text).has_value();
}

long long RoundHalfEven(double value) {
  if (!std::isfinite(value))
    return 0;
  constexpr double kLimit = 9.0e18;
  if (value > kLimit)
    return static_cast<long long>(kLimit);
  if (value < -kLimit)
    return -static_cast<long long>(kLimit);
  const double floor = std::floor(value);
  const double diff = value - floor;
  long long result = static_cast<long long>(floor);
  if (diff > 0.5 || (diff == 0.5 && (result % 2 != 0)))
    ++result;
  return result;
}

std::optional<int> OpacityLevel(std::wstring_view text) {
  const std::optional<double> value = ParseNumber(text);
  if (!value || !(*value < 256))
    return std::nullopt;
  const long long rounded = RoundHalfEven(*value);
  if (rounded < 0)
    return std::nullopt;
  return static_cast<int>(std::min<long long>(rounded, 255));
}

std::wstring LeftChars(std::wstring_view text, size_t count) {
  return std::wstring(text.substr(0, std::min(count, text.size())));
}

std::wstring RightChars(std::wstring_view text, size_t count) {
  if (count >= text.size())
    return std::wstring(text);
  return std::wstring(text.substr(text.size() - count));
}

std::wstring ReplaceAll(std::wstring_view text, std::wstring_view from, std::wstring_view to) {
  if (from.empty())
    return std::wstring(text);
  std::wstring out;
  size_t pos = 0;
  while (true) {
    const size_t hit = text.find(from, pos);
    if (hit == std::wstring_view::npos)
      break;
    out.append(text.substr(pos, hit - pos));
    out.append(to);
    pos = hit + from.size();
  }
  out.append(text.substr(pos));
  return out;
}

std::wstring TrimBlanks(std::wstring_view text) {
  size_t first = 0, last = text.size();
  while (first < last && text[first] == L' ')
    ++first;
  while (last > first && text[last - 1] == L' ')
    --last;
  return std::wstring(text.substr(first, last - first));
}

std::wstring CutAtNul(std::wstring_view text) {
  const size_t nul = text.find(L'\0');
  return std::wstring(nul == std::wstring_view::npos ? text : text.substr(0, nul));
}

std::wstring ToLowerAscii(std::wstring_view text) {
  std::wstring out(text);
  for (wchar_t& c : out)
    if (c >= L'A' && c <= L'Z')
      c = static_cast<wchar_t>(c - L'A' + L'a');
  return out;
}

bool IsGbkDoubleByte(char32_t code_point) {
  const auto it = std::upper_bound(std::begin(kGbkDoubleByte), std::end(kGbkDoubleByte), code_point,
                                   [](char32_t cp, const Range& r) { return cp < r.first; });
  if (it == std::begin(kGbkDoubleByte))
    return false;
  return code_point <= std::prev(it)->last;
}

bool HasDoubleByteStart(std::wstring_view text) {
  if (text.empty())
    return false;
  // A surrogate pair lies outside the code page, which writes "?" for it.
  return IsGbkDoubleByte(static_cast<char32_t>(text[0]));
}

std::wstring ToDecimal(long long value) {
  return std::to_wstring(value);
}

}  // namespace common
