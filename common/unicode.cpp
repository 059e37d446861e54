#include "common/unicode.h"

namespace common {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

}  // namespace

size_t DecodeUtf8Sequence(std::string_view bytes, size_t at, char32_t* out) {
  const auto b = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
  const unsigned char lead = b(at);
  size_t length;
  char32_t cp;
  if (lead < 0x80) {
    *out = lead;
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    cp = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    cp = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    cp = lead & 0x07;
  } else {
    return 0;
  }
  if (at + length > bytes.size())
    return 0;
  for (size_t i = 1; i < length; ++i) {
    if ((b(at + i) & 0xC0) != 0x80)
      return 0;
    cp = (cp << 6) | (b(at + i) & 0x3F);
  }
  // Overlong forms, surrogates and code points beyond U+10FFFF.
  if ((length == 3 && cp < 0x800) || (length == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
      (cp >= 0xD800 && cp <= 0xDFFF)) {
    return 0;
  }
  *out = cp;
  return length;
}

void AppendCodePoint(std::wstring& out, char32_t cp) {
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
    cp = kReplacement;
  if constexpr (sizeof(wchar_t) == 2) {
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<wchar_t>(0xD800 + (cp >> 10));
      out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
      return;
    }
  }
  out += static_cast<wchar_t>(cp);
}

bool IsValidUtf8(std::string_view bytes) {
  size_t at = 0;
  while (at < bytes.size()) {
    char32_t cp;
    const size_t n = DecodeUtf8Sequence(bytes, at, &cp);
    if (n == 0)
      return false;
    at += n;
  }
  return true;
}

std::wstring DecodeUtf8(std::string_view bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  size_t at = 0;
  while (at < bytes.size()) {
    char32_t cp;
    const size_t n = DecodeUtf8Sequence(bytes, at, &cp);
    if (n == 0) {
      AppendCodePoint(out, kReplacement);
      ++at;
    } else {
      AppendCodePoint(out, cp);
      at += n;
    }
  }
  return out;
}

std::wstring DecodeUtf16(std::string_view bytes, bool big_endian) {
  std::wstring out;
  out.reserve(bytes.size() / 2);
  const auto unit = [&](size_t i) -> char16_t {
    const auto lo = static_cast<unsigned char>(bytes[i + (big_endian ? 1 : 0)]);
    const auto hi = static_cast<unsigned char>(bytes[i + (big_endian ? 0 : 1)]);
    return static_cast<char16_t>(lo | (hi << 8));
  };
  const size_t count = bytes.size() / 2;
  for (size_t i = 0; i < count; ++i) {
    const char16_t u = unit(i * 2);
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < count) {
      const char16_t v = unit((i + 1) * 2);
      if (v >= 0xDC00 && v <= 0xDFFF) {
        AppendCodePoint(out, 0x10000 + ((u - 0xD800) << 10) + (v - 0xDC00));
        ++i;
        continue;
      }
    }
    AppendCodePoint(out, (u >= 0xD800 && u <= 0xDFFF) ? kReplacement : u);
  }
  return out;
}

}  // namespace common
