// Playlist files (".wpl"): the media they list, in order.
#ifndef MUSIC_PLAYER_PLAYLIST_H_
#define MUSIC_PLAYER_PLAYLIST_H_

#include <string>
#include <string_view>
#include <vector>

namespace player {

constexpr size_t kMaxPlaylistItems = 10000;

bool IsPlaylist(const std::wstring& address);

// The "src" of every <media> element, with XML entities decoded and paths
// relative to `folder` (the playlist's own folder) made full. Entries that
// are playlists themselves are left out, so a list cannot play itself.
std::vector<std::wstring> ParsePlaylist(std::wstring_view text, const std::wstring& folder);

}  // namespace player

#endif  // MUSIC_PLAYER_PLAYLIST_H_
