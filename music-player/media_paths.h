// Texts about media paths that the command box and the player share.
#ifndef MUSIC_PLAYER_MEDIA_PATHS_H_
#define MUSIC_PLAYER_MEDIA_PATHS_H_

#include <string>

namespace player {

// The 18 local drive prefixes: "c:" to "k:" in lower and upper case, and
// nothing else.
bool IsDrivePrefix(const std::wstring& first_two);

// A media path or address without its last four characters, whatever they
// are; the lyric file is the stem + ".lrc".
std::wstring MediaStem(const std::wstring& media);

}  // namespace player

#endif  // MUSIC_PLAYER_MEDIA_PATHS_H_
