// Text of the one-byte fields of media tags: ID3v1, RIFF INFO, ID3v2 frames
// marked ISO-8859-1 and APE 1.0 items. Chinese players fill them with GBK;
// a common audio converter writes its UTF-8 into them unchanged.
#ifndef MUSIC_PLAYER_BYTE_FIELDS_H_
#define MUSIC_PLAYER_BYTE_FIELDS_H_

#include <string>
#include <string_view>

#include "common/code_page.h"

namespace player {

// True when `bytes` are well-formed UTF-8 with at least one Chinese
// ideograph (U+4E00 to U+9FFF) and nothing beyond ASCII but such
// ideographs and the punctuation Chinese titles use (the middle dot, dashes,
// quotation marks and the ellipsis, the CJK symbols block, fullwidth
// forms). No GBK name of one or two GB2312 characters takes this shape, and
// longer ones very seldom do; "any well-formed UTF-8" would take 2 to 3 % of
// two-character GBK names. With `cut_at_end`, a sequence cut short at the
// very end is allowed (a field cut at its size).
bool IsChineseUtf8(std::string_view bytes, bool cut_at_end);

// A one-byte field's text: Chinese UTF-8 as UTF-8, anything else in the
// ANSI code page. `cut` says the field filled its fixed size, so that its
// writer may have cut the last character in two: an incomplete last
// character is dropped rather than shown as a replacement character.
std::wstring DecodeByteField(std::string_view bytes, const common::CodePage& ansi, bool cut);

}  // namespace player

#endif  // MUSIC_PLAYER_BYTE_FIELDS_H_
