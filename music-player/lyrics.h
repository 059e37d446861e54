// Lyric files: their text, their lines, and which line belongs to a
// position of the playback.
#ifndef MUSIC_PLAYER_LYRICS_H_
#define MUSIC_PLAYER_LYRICS_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/code_page.h"

namespace player {

// Files are read up to this size; a lyric file is a few kilobytes.
constexpr size_t kMaxLyricBytes = 4 * 1024 * 1024;

// The text of a lyric file. A byte-order mark (UTF-8, UTF-16 in either
// order) decides. Without one: UTF-16 when at least every second character
// has a zero byte on the same side (mostly ASCII text, as stamps are);
// UTF-8 when it is well-formed UTF-8, and also when a few bytes in it are
// not (one line saved by a Western editor: eight Chinese characters for
// each such byte, or fewer faults than a GBK reading has); those bytes
// become replacement characters. Anything else is in the system's ANSI
// code page, as older lyric files are.
std::wstring DecodeLyricBytes(std::string_view bytes, const common::CodePage& ansi);

// The lines of a text. A line ends at CR, CR LF or LF; the terminator is
// not part of the line; a last line without terminator counts, an empty
// text has no lines.
std::vector<std::wstring> SplitLines(std::wstring_view text);

// An entry of a lyric file read as a lyric line: the stamps it begins with
// ("[m:ss]", "[mm:ss.x]", "[mmm:ss.xx]", "[mm:ss.xxx]", "[mm:ss:xx]", in
// milliseconds, blanks between them allowed) and the text it shows.
struct LyricEntry {
  std::vector<int64_t> stamps_ms;
  std::wstring text;
};

// The entry's stamps and text. The text is what follows the leading stamps,
// without the word stamps inside it (inline "[01:02.35]" and enhanced
// "<01:02.35>"), the blanks each of them leaves around it made one and the
// blanks at both ends removed; brackets that are no stamp ("[x2]") stay as
// written. Tag lines ("[ti:...]", "[offset:...]") and lines without a stamp
// have no stamps.
LyricEntry ParseLyricEntry(std::wstring_view entry);

// The "[offset:+ms]" or "[offset:-ms]" header of a lyric file, in
// milliseconds; 0 when there is none. A positive offset makes the lyrics
// appear sooner.
int LyricOffset(const std::vector<std::wstring>& entries);

// A lyric list read for the sync tick: every stamp of every entry with the
// entry's text, in time order (entries of one time in file order).
class Lyrics {
 public:
  Lyrics() = default;
  explicit Lyrics(const std::vector<std::wstring>& entries);

  // The line the lyric line shows while the player's position text reads
  // `position` ("mm:ss", minutes past 99 with more digits, or "h:mm:ss").
  // The position text stands for a whole second and stamps are counted the
  // same way: the start of the position's second, moved by the offset (a
  // positive offset sooner), falls in a second, and the line shown is the
  // one with the last stamp in that second or before it; "" when no stamp
  // is that early. An empty position (nothing playing) shows the last
  // entry's text (with no position every entry matches); nothing (keep what
  // is shown) when the position cannot be read.
  std::optional<std::wstring> At(const std::wstring& position) const;

  int offset_ms() const { return offset_ms_; }
  size_t size() const { return times_.size(); }

 private:
  struct Time {
    int64_t ms;
    size_t text;  // index into texts_
  };
  std::vector<Time> times_;
  std::vector<std::wstring> texts_;
  std::wstring last_text_;
  int offset_ms_ = 0;
};

}  // namespace player

#endif  // MUSIC_PLAYER_LYRICS_H_
