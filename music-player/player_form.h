// The music player window's logic (Form2): loading, the lyric list and
// LoadLyrics, the lyric sync tick, the now-playing refresh and the
// deferred refresh, drops, repeat, transparency and the close steps. The
// Win32 window is a humble view of this.
#ifndef MUSIC_PLAYER_PLAYER_FORM_H_
#define MUSIC_PLAYER_PLAYER_FORM_H_

#include <string>
#include <vector>

#include "common/code_page.h"
#include "music-player/lyrics.h"
#include "music-player/media_player.h"

namespace player {

// What the player window shows and switches.
class PlayerFormView {
 public:
  virtual ~PlayerFormView() = default;
  // Label1 and its tooltip.
  virtual void SetNowPlaying(const std::wstring& text, const std::wstring& tooltip) = 0;
  // Label5: position / duration.
  virtual void SetPositionLine(const std::wstring& text) = 0;
  // Timer1 (lyric sync) and Timer3 (deferred refresh), 500 ms each.
  virtual void EnableSyncTimer(bool enabled) = 0;
  virtual void EnableDeferredTimer(bool enabled) = 0;
  // Layered style on, then the opacity.
  virtual void SetAlpha(int alpha) = 0;
  virtual void Minimise() = 0;
  // Destroys the window and the component with it.
  virtual void DestroyWindow() = 0;
};

// The fields of the command box window that the player reads and writes.
class CommandBoxLink {
 public:
  virtual ~CommandBoxLink() = default;
  virtual std::wstring Text9() = 0;
  virtual void SetText10(const std::wstring& value) = 0;
  // Label5 of the command box: the lyric line.
  virtual void SetLyricLine(const std::wstring& text) = 0;
  // The top of Text1 and Command1, in twips.
  virtual void SetInputRowTop(int twips) = 0;
};

// Lyric files as the player finds them.
class LyricFiles {
 public:
  virtual ~LyricFiles() = default;
  // True when a listing of exactly this name finds a file that is neither
  // hidden nor a system file.
  virtual bool Exists(const std::wstring& path) = 0;
  // The file's bytes (up to kMaxLyricBytes); false when it cannot be read.
  virtual bool Read(const std::wstring& path, std::string* bytes) = 0;
};

class PlayerForm {
 public:
  static constexpr int kRowWithLyrics = 960;  // twips
  static constexpr int kRowWithoutLyrics = 840;
  static constexpr int kDefaultAlpha = 200;

  PlayerForm(PlayerFormView& view,
             CommandBoxLink& box,
             MediaPlayer& w1,
             LyricFiles& files,
             const common::CodePage& ansi);

  // Creation: the presence flag, then the opacity.
  void Load();
  void LoadLyrics(const std::wstring& stem);
  // Timer1: the lyric line follows the position.
  void SyncTick();
  // Timer2, twice a second while the window exists.
  void Refresh();
  // Timer3's first tick; it switches itself off.
  void DeferredRefresh();
  void EnableDeferredRefresh() { view_.EnableDeferredTimer(true); }
  // Files dropped on Label1 or Picture1: the first one plays.
  void Drop(const std::vector<std::wstring>& files);
  void PlayStateChange(int new_state);
  // close1: the input row back, the lyric line empty, the window gone.
  void Close();
  // When the window is gone, however that happened.
  void Unloaded();
  void ClearLyricList() {
    list1_.clear();
    lyrics_ = Lyrics();
  }
  void ApplyTransparency();

  // The lyric list List1, and the hidden fields.
  const std::vector<std::wstring>& List1() const { return list1_; }
  const std::wstring& Text1() const { return text1_; }
  const std::wstring& Text2() const { return text2_; }
  const std::wstring& Text3() const { return text3_; }
  MediaPlayer& w1() { return w1_; }

 private:
  // The first two characters of the current item's source address, and the
  // stem's lyrics when they are those of a local drive.
  void ReloadLocalLyrics();

  PlayerFormView& view_;
  CommandBoxLink& box_;
  MediaPlayer& w1_;
  LyricFiles& files_;
  const common::CodePage& ansi_;
  std::vector<std::wstring> list1_;
  Lyrics lyrics_;                  // List1 read once for the sync tick
  std::wstring text1_;             // stem of the file last dropped
  std::wstring text2_ = L"Text2";  // stem of the current item
  std::wstring text3_ = L"Text3";  // first two characters of its address
};

// The opacity from the command box's Text9: the opacity of that level
// (common::OpacityLevel), the same the command box itself shows; 200 when
// it is empty or gives none.
int OpacityFromText9(const std::wstring& text9);

}  // namespace player

#endif  // MUSIC_PLAYER_PLAYER_FORM_H_
