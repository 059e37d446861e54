// Lyric files: their text, their lines, and which line belongs to a
// position of the playback.
#ifndef MUSIC_PLAYER_LYRICS_H_
#define MUSIC_PLAYER_LYRICS_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/code_page.h"

namespace player {

// Files are read up to this size; a lyric file is a few kilobytes.
constexpr size_t kMaxLyricBytes = 4 * 1024 * 1024;

// The text of a lyric file. A byte-order mark (UTF-8, UTF-16 in either
// order) decides; without one, well-formed UTF-8 is UTF-8; anything else is
// in the system's ANSI code page, as older lyric files are.
std::wstring DecodeLyricBytes(std::string_view bytes, const common::CodePage& ansi);

// The lines of a text. A line ends at CR, CR LF or LF; the terminator is
// not part of the line; a last line without terminator counts, an empty
// text has no lines.
std::vector<std::wstring> SplitLines(std::wstring_view text);

// The text shown for an entry: everything after its last "]", the whole
// entry when it has none.
std::wstring LyricText(const std::wstring& entry);

// One sync tick: the entries are matched against "*" + position + "*" (an
// entry matches when it contains the position text; an empty position text
// matches every entry), and the text of the last match in file order is
// what the lyric line shows. Nothing when none matches: the line keeps what
// it showed.
std::optional<std::wstring> SyncLyrics(const std::vector<std::wstring>& entries,
                                       const std::wstring& position);

}  // namespace player

#endif  // MUSIC_PLAYER_LYRICS_H_
