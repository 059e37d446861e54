// The media player component the player window hosts (w1): the few members
// the command box, the player window and the lyric line use. Any playback
// back end that offers them with this behaviour can stand behind it.
#ifndef MUSIC_PLAYER_MEDIA_PLAYER_H_
#define MUSIC_PLAYER_MEDIA_PLAYER_H_

#include <functional>
#include <string>

namespace player {

// PlayStateChange values.
constexpr int kStateStopped = 1;
constexpr int kStatePaused = 2;
constexpr int kStatePlaying = 3;

class MediaPlayer {
 public:
  virtual ~MediaPlayer() = default;
  // URL: reading gives the address last opened ("" when none); writing
  // opens it and starts playing at once. An address that cannot be played
  // leaves the position empty; nothing is shown.
  virtual std::wstring URL() = 0;
  virtual void SetURL(const std::wstring& url) = 0;
  // controls.play(): plays the current item (again).
  virtual void Play() = 0;
  // controls.currentPositionString: "mm:ss", "00:00" during the first
  // second, "" when there is no position to show.
  virtual std::wstring CurrentPositionString() = 0;
  // currentMedia.durationString, same form.
  virtual std::wstring DurationString() = 0;
  // currentMedia.getItemInfo: "Author", "title", "sourceURL"; "" when the
  // item has none (and when there is no item).
  virtual std::wstring GetItemInfo(const std::wstring& name) = 0;
  // PlayStateChange(NewState).
  std::function<void(int new_state)> on_play_state_change;
};

// "mm:ss" of a number of seconds, whole seconds only (integer arithmetic);
// minutes take more digits past 99.
std::wstring PositionText(double seconds);

}  // namespace player

#endif  // MUSIC_PLAYER_MEDIA_PLAYER_H_
