// The media player component over DirectShow: one filter graph per item,
// the end of an item reported through IMediaEventEx to a window, video
// windows kept from showing on their own, no error dialogs. Playlists
// (".wpl") are read here and played item after item.
#ifndef MUSIC_PLAYER_DSHOW_PLAYER_WIN_H_
#define MUSIC_PLAYER_DSHOW_PLAYER_WIN_H_

#include <string>
#include <vector>

#include "common/owned_win.h"
#include "common/win32_win.h"
#include "music-player/media_player.h"
#include "music-player/tag_reader.h"

struct IGraphBuilder;
struct IMediaControl;
struct IMediaSeeking;
struct IMediaEventEx;
struct IBasicAudio;
struct IVideoWindow;

namespace player {

// A file as a ByteSource.
class FileSource : public ByteSource {
 public:
  explicit FileSource(const std::wstring& path);
  ~FileSource() override;
  bool ok() const { return static_cast<bool>(file_); }
  uint64_t Size() override;
  std::string Read(uint64_t offset, size_t length) override;

 private:
  common::OwnedHandle file_;
};

class DirectShowPlayer : public MediaPlayer {
 public:
  // Graph events are announced to `window` with `message`; the window
  // calls HandleGraphEvents for each.
  DirectShowPlayer(HWND window, UINT message);
  ~DirectShowPlayer() override;

  std::wstring URL() override { return url_; }
  void SetURL(const std::wstring& url) override;
  void Play() override;
  std::wstring CurrentPositionString() override;
  std::wstring DurationString() override;
  std::wstring GetItemInfo(const std::wstring& name) override;

  // The control bar.
  void Pause();
  void Stop();
  int state() const { return state_; }
  bool HasGraph() const { return graph_ != nullptr; }
  double PositionSeconds();
  double DurationSeconds();
  void Seek(double seconds);
  // 0 .. 100; 50 at the start, not muted.
  void SetVolume(int volume);
  int volume() const { return volume_; }

  void HandleGraphEvents();

 private:
  void OpenItem(size_t index);
  void ReleaseGraph();
  void Raise(int state);

  HWND window_;
  UINT message_;
  std::wstring url_;                 // as last opened
  std::vector<std::wstring> items_;  // the playlist's items, or the address
  size_t item_ = 0;
  MediaTags tags_;
  int state_ = 0;
  int volume_ = 50;
  IGraphBuilder* graph_ = nullptr;
  IMediaControl* control_ = nullptr;
  IMediaSeeking* seeking_ = nullptr;
  IMediaEventEx* events_ = nullptr;
  IBasicAudio* audio_ = nullptr;
  IVideoWindow* video_ = nullptr;
};

}  // namespace player

#endif  // MUSIC_PLAYER_DSHOW_PLAYER_WIN_H_
