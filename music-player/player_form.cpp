#include "music-player/player_form.h"

#include "common/text_rules.h"
#include "music-player/media_paths.h"

namespace player {

int OpacityFromText9(const std::wstring& text9) {
  return common::OpacityLevel(text9).value_or(PlayerForm::kDefaultAlpha);
}

PlayerForm::PlayerForm(PlayerFormView& view,
                       CommandBoxLink& box,
                       MediaPlayer& w1,
                       LyricFiles& files,
                       const common::CodePage& ansi)
    : view_(view), box_(box), w1_(w1), files_(files), ansi_(ansi) {
  w1_.on_play_state_change = [this](int state) { PlayStateChange(state); };
}

void PlayerForm::Load() {
  box_.SetText10(L"1");
  ApplyTransparency();
}

void PlayerForm::ApplyTransparency() {
  view_.SetAlpha(OpacityFromText9(box_.Text9()));
}

void PlayerForm::LoadLyrics(const std::wstring& stem) {
  ClearLyricList();
  box_.SetLyricLine(L"");
  const std::wstring file = stem + L".lrc";
  std::string bytes;
  // A file that is there but cannot be read counts as absent.
  if (files_.Exists(file) && files_.Read(file, &bytes)) {
    box_.SetInputRowTop(kRowWithLyrics);
    list1_ = SplitLines(DecodeLyricBytes(bytes, ansi_));
    lyrics_ = Lyrics(list1_);
    view_.EnableSyncTimer(true);
  } else {
    box_.SetInputRowTop(kRowWithoutLyrics);
    view_.EnableSyncTimer(false);
  }
}

void PlayerForm::SyncTick() {
  if (const auto text = lyrics_.At(w1_.CurrentPositionString()))
    box_.SetLyricLine(*text);
}

void PlayerForm::Refresh() {
  const std::wstring position = w1_.CurrentPositionString();
  view_.SetPositionLine(position.empty() ? L"" : position + L"/" + w1_.DurationString());
  // With nothing opened there is no current item to describe: the window
  // keeps showing its name.
  if (w1_.URL().empty())
    return;
  const std::wstring author = w1_.GetItemInfo(L"Author");
  const std::wstring title = w1_.GetItemInfo(L"title");
  const std::wstring playing = author.empty() ? title : author + L" - " + title;
  view_.SetNowPlaying(playing, L"正在播放：" + playing);
  text3_ = common::LeftChars(w1_.GetItemInfo(L"sourceURL"), 2);
  const std::wstring now = w1_.CurrentPositionString();
  // At the start of an item (a repeat, the next item of a playlist) its
  // lyrics are read again.
  if (IsDrivePrefix(text3_) && (now == L"00:00" || now == L"00:03")) {
    text2_ = MediaStem(w1_.GetItemInfo(L"sourceURL"));
    LoadLyrics(text2_);
  }
}

void PlayerForm::DeferredRefresh() {
  ApplyTransparency();
  if (!w1_.URL().empty())
    ReloadLocalLyrics();
  view_.EnableDeferredTimer(false);
}

void PlayerForm::ReloadLocalLyrics() {
  text3_ = common::LeftChars(w1_.GetItemInfo(L"sourceURL"), 2);
  if (IsDrivePrefix(text3_)) {
    text2_ = MediaStem(w1_.GetItemInfo(L"sourceURL"));
    LoadLyrics(text2_);
  }
}

void PlayerForm::Drop(const std::vector<std::wstring>& files) {
  if (files.empty())
    return;
  text1_ = MediaStem(files.front());
  LoadLyrics(text1_);
  w1_.SetURL(files.front());
}

void PlayerForm::PlayStateChange(int new_state) {
  // Endless repeat: an item that stops starts again.
  if (new_state == kStateStopped)
    w1_.Play();
}

void PlayerForm::Close() {
  box_.SetInputRowTop(kRowWithoutLyrics);
  box_.SetLyricLine(L"");
  view_.DestroyWindow();
}

void PlayerForm::Unloaded() {
  box_.SetText10(L"0");
}

}  // namespace player
