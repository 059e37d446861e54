// Code page 936 for native tests, through the C library's iconv, so that
// tests can build and read GBK bytes without Windows.
#ifndef TESTING_ICONV_CODE_PAGE_H_
#define TESTING_ICONV_CODE_PAGE_H_

#include <string>
#include <string_view>

#include "common/code_page.h"

namespace testing_support {

class IconvCodePage : public common::CodePage {
 public:
  // `charset` as iconv names it, "GBK" by default.
  explicit IconvCodePage(const char* charset = "GBK") : charset_(charset) {}
  std::string Encode(std::wstring_view text) const override;
  std::wstring Decode(std::string_view bytes) const override;

 private:
  const char* charset_;
};

// GBK bytes of a text, for building test inputs.
std::string Gbk(std::wstring_view text);

}  // namespace testing_support

#endif  // TESTING_ICONV_CODE_PAGE_H_
