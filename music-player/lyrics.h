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
// order) decides; without one, UTF-8 is UTF-8, also when a few bytes in it
// are not (one line saved by a Western editor): those become replacement
// characters. Anything else is in the system's ANSI code page, as older
// lyric files are.
std::wstring DecodeLyricBytes(std::string_view bytes, const common::CodePage& ansi);

// The lines of a text. A line ends at CR, CR LF or LF; the terminator is
// not part of the line; a last line without terminator counts, an empty
// text has no lines.
std::vector<std::wstring> SplitLines(std::wstring_view text);

// The text shown for an entry: everything after its last "]", the whole
// entry when it has none, without the word stamps of enhanced lyric files
// ("<01:02.35>" before or after each word).
std::wstring LyricText(const std::wstring& entry);

// The "[offset:+ms]" or "[offset:-ms]" header of a lyric file, in
// milliseconds; 0 when there is none. A positive offset makes the lyrics
// appear sooner.
int LyricOffset(const std::vector<std::wstring>& entries);

// The position text a lyric file with that offset is matched against: the
// middle of the second that `position` stands for, moved by the offset.
// `position` itself when there is no offset or it is not "mm:ss"; nothing
// while the moved position lies before the start.
std::optional<std::wstring> ShiftedPosition(const std::wstring& position, int offset_ms);

// One sync tick: the entries are matched against "*" + position + "*",
// with the position shifted by the file's offset (an entry matches when it
// contains the position text outside its word stamps; an empty position
// text matches every entry), and the text of the last match in file order
// is what the lyric line shows. Nothing when none matches: the line keeps
// what it showed.
std::optional<std::wstring> SyncLyrics(const std::vector<std::wstring>& entries,
                                       const std::wstring& position,
                                       int offset_ms = 0);

}  // namespace player

#endif  // MUSIC_PLAYER_LYRICS_H_
