// Conversion between text and bytes in an 8-bit code page, for the edges
// that need bytes: settings files, the recycle-bin script, lyric files,
// media tags.
#ifndef COMMON_CODE_PAGE_H_
#define COMMON_CODE_PAGE_H_

#include <string>
#include <string_view>

namespace common {

class CodePage {
 public:
  virtual ~CodePage() = default;
  // Characters the code page cannot hold become its default character.
  virtual std::string Encode(std::wstring_view text) const = 0;
  // Byte sequences that are not valid in the code page decode to the
  // platform's replacement character; never fails.
  virtual std::wstring Decode(std::string_view bytes) const = 0;
};

}  // namespace common

#endif  // COMMON_CODE_PAGE_H_
