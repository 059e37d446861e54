// The lyric line of the player for lyric files, second by second: for
// each file named on the command line, one JSON line {"file": ..., "lines":
// [...]} with the line shown while the position text reads 00:00, 00:01,
// ... up to the number of seconds given first. Built by replay.sh against
// the lyric code of the working tree, or with OLD_LYRICS_API against that
// of an older revision (lines matched by the position text inside them).
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "music-player/lyrics.h"
#include "music-player/media_player.h"
#include "testing/iconv_code_page.h"

namespace {

std::string Json(const std::wstring& text) {
  std::string out = "\"";
  for (wchar_t c : text) {
    const auto u = static_cast<char32_t>(c);
    if (u == '"' || u == '\\') {
      out += '\\';
      out += static_cast<char>(u);
    } else if (u < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof(escaped), "\\u%04x", static_cast<unsigned>(u));
      out += escaped;
    } else if (u < 0x80) {
      out += static_cast<char>(u);
    } else if (u < 0x800) {
      out += static_cast<char>(0xC0 | (u >> 6));
      out += static_cast<char>(0x80 | (u & 0x3F));
    } else if (u < 0x10000) {
      out += static_cast<char>(0xE0 | (u >> 12));
      out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (u & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (u >> 18));
      out += static_cast<char>(0x80 | ((u >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (u & 0x3F));
    }
  }
  return out + "\"";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: lyric_replay SECONDS FILE...\n");
    return 2;
  }
  const long seconds = std::stol(argv[1]);
  const testing_support::IconvCodePage gbk;
  for (int i = 2; i < argc; ++i) {
    std::ifstream in(argv[i], std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const auto entries = player::SplitLines(player::DecodeLyricBytes(bytes, gbk));
#ifdef OLD_LYRICS_API
    const int offset = player::LyricOffset(entries);
#else
    const player::Lyrics lyrics(entries);
#endif
    std::wstring shown;  // the lyric line keeps its text when a tick gives none
    std::string line =
        "{\"file\":" +
        Json(std::wstring(argv[i], argv[i] + std::char_traits<char>::length(argv[i]))) +
        ",\"lines\":[";
    for (long s = 0; s <= seconds; ++s) {
      const std::wstring position = player::PositionText(static_cast<double>(s));
#ifdef OLD_LYRICS_API
      const auto text = player::SyncLyrics(entries, position, offset);
#else
      const auto text = lyrics.At(position);
#endif
      if (text)
        shown = *text;
      line += (s ? "," : "") + Json(shown);
    }
    std::puts((line + "]}").c_str());
  }
  return 0;
}
