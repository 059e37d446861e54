#include "testing/iconv_code_page.h"

#if !defined(_WIN32)
#include <iconv.h>

#include <cerrno>
#include <vector>

namespace testing_support {
namespace {

// Converts between `from` and `to`, putting `fallback` in for input that
// cannot be converted and skipping one input unit.
std::string Convert(const char* from,
                    const char* to,
                    const char* in,
                    size_t in_size,
                    size_t unit,
                    const std::string& fallback) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1))
    return std::string();
  std::string out;
  std::vector<char> buffer(4096);
  char* src = const_cast<char*>(in);
  size_t left = in_size;
  while (left > 0) {
    char* dst = buffer.data();
    size_t room = buffer.size();
    const size_t r = iconv(cd, &src, &left, &dst, &room);
    out.append(buffer.data(), dst);
    if (r == static_cast<size_t>(-1)) {
      if (errno == E2BIG)
        continue;
      // EILSEQ or EINVAL: replace one unit and go on.
      out += fallback;
      const size_t skip = left < unit ? left : unit;
      src += skip;
      left -= skip;
    }
  }
  iconv_close(cd);
  return out;
}

}  // namespace

std::string IconvCodePage::Encode(std::wstring_view text) const {
  return Convert("WCHAR_T", charset_, reinterpret_cast<const char*>(text.data()),
                 text.size() * sizeof(wchar_t), sizeof(wchar_t), "?");
}

std::wstring IconvCodePage::Decode(std::string_view bytes) const {
  const wchar_t replacement = 0xFFFD;
  const std::string fallback(reinterpret_cast<const char*>(&replacement), sizeof(wchar_t));
  const std::string wide = Convert(charset_, "WCHAR_T", bytes.data(), bytes.size(), 1, fallback);
  return std::wstring(reinterpret_cast<const wchar_t*>(wide.data()), wide.size() / sizeof(wchar_t));
}

std::string Gbk(std::wstring_view text) {
  return IconvCodePage("GBK").Encode(text);
}

}  // namespace testing_support
#endif  // !_WIN32
