// UTF-8 and UTF-16 to the wide text of the platform (UTF-16 on Windows,
// UTF-32 elsewhere). Invalid sequences become U+FFFD; nothing is read past
// the input.
#ifndef COMMON_UNICODE_H_
#define COMMON_UNICODE_H_

#include <string>
#include <string_view>

namespace common {

void AppendCodePoint(std::wstring& out, char32_t code_point);

// The length of the well-formed UTF-8 sequence at `at` (its code point in
// `*code_point`); 0 when none starts there. `at` must be inside `bytes`.
size_t DecodeUtf8Sequence(std::string_view bytes, size_t at, char32_t* code_point);

// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view bytes);
std::wstring DecodeUtf8(std::string_view bytes);
// UTF-16 in little- or big-endian byte order; an odd last byte is dropped.
std::wstring DecodeUtf16(std::string_view bytes, bool big_endian);

}  // namespace common

#endif  // COMMON_UNICODE_H_
